#pragma once

#include "platform/messageboxes.h"

namespace velmora {

/** Message boxes as QMessageBox dialogs, modal to the active window. */
class QtMessageBoxes final : public MessageBoxes {
public:
    void inform(const std::u16string &caption, const std::u16string &prompt) override;
    bool askYesNo(const std::u16string &caption, const std::u16string &prompt) override;
};

}  // namespace velmora
