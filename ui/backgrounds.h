#pragma once

// Backgrounds made from a colour: a solid PNG of the bar's size, saved where the owner says.

#include <filesystem>
#include <optional>
#include <string>

#include "core/valuecheck.h"
#include "platform/dialogs.h"
#include "platform/messageboxes.h"

namespace velmora {

/** Makes background images for the image boxes through the system's colour and save dialogs. */
class Backgrounds final {
public:
    /** Borrowed services must outlive it. */
    Backgrounds(MessageBoxes &boxes, Dialogs &dialogs);

    /**
     * The name proposed for a background made for the box: what it is for and the colour, as
     * "导航背景-FF6600.png".
     */
    static std::u16string fileName(int box, Rgb colour);

    /** The address an image box gets for a file on this computer: its file:/// address. */
    static std::u16string address(const std::filesystem::path &file);

    /**
     * Asks for a colour, starting at lastColour, which then holds the choice, and for a file
     * (first in the Pictures folder, then where the last one went), and writes the background
     * there. @return its address, or nothing when cancelled or, after a message, not written.
     */
    std::optional<std::u16string> make(int box, Rgb &lastColour);

private:
    MessageBoxes &m_boxes;
    Dialogs &m_dialogs;
    std::filesystem::path m_folder;  // empty: the user's Pictures folder
};

}  // namespace velmora
