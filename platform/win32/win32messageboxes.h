#pragma once

#include <windows.h>

#include "platform/messageboxes.h"

namespace velmora {

/** Message boxes through MessageBoxW, without an icon, modal to the owner window. */
class Win32MessageBoxes final : public MessageBoxes {
public:
    explicit Win32MessageBoxes(HWND owner = nullptr) : m_owner(owner) {}

    /** Sets the window the boxes are modal to. */
    void setOwner(HWND owner) { m_owner = owner; }

    void inform(const std::u16string &caption, const std::u16string &prompt) override;
    bool askYesNo(const std::u16string &caption, const std::u16string &prompt) override;

private:
    HWND m_owner;
};

}  // namespace velmora
