#pragma once

// Navigation code read back into values: from the clipboard or from a .css file.

#include <filesystem>
#include <optional>
#include <string_view>

#include "core/generator.h"
#include "platform/clipboard.h"
#include "platform/messageboxes.h"

namespace velmora {

/** Reads navigation code back into values; a refusal says where the code stops matching. */
class CodeImport final {
public:
    /** Borrowed services must outlive it. */
    CodeImport(Clipboard &clipboard, MessageBoxes &boxes);

    /** The values of the code on the clipboard on top of current, or nothing after a message. */
    std::optional<StyleValues> fromClipboard(const StyleValues &current);

    /** The values of the code in the file on top of current, or nothing after a message. */
    std::optional<StyleValues> fromFile(const std::filesystem::path &file,
                                        const StyleValues &current);

private:
    std::optional<StyleValues> fromText(std::string_view utf8, std::u16string_view refusal,
                                        const StyleValues &current);

    Clipboard &m_clipboard;
    MessageBoxes &m_boxes;
};

}  // namespace velmora
