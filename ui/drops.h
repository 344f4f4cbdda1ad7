#pragma once

// What the files dropped on the window are taken for, and what the window does with them.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/generator.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/messageboxes.h"

namespace velmora {

/** What a dropped file is, by its first bytes and, failing that, its name. */
enum class DropKind {
    Picture,       ///< a PNG, JPEG or GIF image, which the shop's picture space takes
    OtherPicture,  ///< another picture type (WebP, BMP, TIFF, HEIC, AVIF, SVG, …)
    Code,          ///< navigation code (.css)
    Values,        ///< anything else: a values file, if anything
};

/** How many of a file's first bytes dropKind looks at. */
inline constexpr std::size_t kDropHeadBytes = 16;

/** What a file named name whose first bytes are head is taken for. */
DropKind dropKind(const std::filesystem::path &name, std::string_view head);

/** What dropped files came to for the window. */
struct DropOutcome {
    std::optional<std::u16string> address;  ///< for the image box they were dropped on
    std::optional<StyleValues> values;      ///< read from a values file or navigation code
    std::u16string_view what;               ///< which of the two, as the undo entry names it
};

/** Takes dropped files: images into an image box, a values file or navigation code loaded. */
class Drops final {
public:
    /** Borrowed services must outlive it. */
    Drops(Clipboard &clipboard, MessageBoxes &boxes, Dialogs &dialogs);

    /**
     * Takes what it can of files dropped on an image box (onImageBox) or elsewhere: one PNG,
     * JPEG or GIF image for an image box, judged by its first bytes (a folder, FIFO or device is
     * never an image); one values file or navigation code elsewhere. Whatever is not taken is
     * told in one message that names each file dropped, what became of it and why.
     */
    DropOutcome take(const std::vector<std::filesystem::path> &files, bool onImageBox,
                     const StyleValues &current);

private:
    Clipboard &m_clipboard;
    MessageBoxes &m_boxes;
    Dialogs &m_dialogs;
};

}  // namespace velmora
