#pragma once

#include <windows.h>

#include "platform/clipboard.h"

namespace velmora {

/**
 * The Windows clipboard, as CF_UNICODETEXT. Another program may hold the clipboard open for a
 * moment, so opening it is tried a few times, a few milliseconds apart, before an operation
 * counts as failed. holds() compares only what the owner window put there: another owner's
 * text counts as not ours without being asked for, so that an owner that does not answer
 * cannot stop the window during a copy.
 */
class Win32Clipboard final : public Clipboard {
public:
    /** owner becomes the clipboard's owner when it is emptied. */
    explicit Win32Clipboard(HWND owner = nullptr) : m_owner(owner) {}

    /** Sets the window that owns what this puts on the clipboard. */
    void setOwner(HWND owner) { m_owner = owner; }

    bool clear() override;
    bool setText(const std::u16string &text) override;
    std::optional<std::u16string> text() override;
    std::optional<bool> holds(const std::u16string &text) override;

private:
    bool open();

    HWND m_owner;
};

}  // namespace velmora
