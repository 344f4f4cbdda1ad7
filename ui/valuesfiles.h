#pragma once

// Values files: every value of the window saved to a file and loaded back.

#include <filesystem>
#include <optional>

#include "core/generator.h"
#include "platform/dialogs.h"
#include "platform/messageboxes.h"

namespace velmora {

/** Saving and opening values files through the system's dialogs, failures told in messages. */
class ValuesFiles final {
public:
    /** Borrowed services must outlive it. */
    ValuesFiles(MessageBoxes &boxes, Dialogs &dialogs);

    /** Asks for a file and saves values to it whole, or tells why not. */
    void save(const StyleValues &values);

    /** Asks for a file and loads it on top of current; nothing when cancelled or refused. */
    std::optional<StyleValues> open(const StyleValues &current);

    /**
     * The values of the file on top of current, or nothing, after a message that names the file
     * and says why (with line and column where its text is at fault).
     */
    std::optional<StyleValues> load(const std::filesystem::path &file, const StyleValues &current);

private:
    MessageBoxes &m_boxes;
    Dialogs &m_dialogs;
};

}  // namespace velmora
