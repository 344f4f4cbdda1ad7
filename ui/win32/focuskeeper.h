#pragma once

// The keyboard's place in the window, kept while it is inactive: as dialogs do, the keyboard
// goes back to the control the user left, not to the window itself, when a message box or
// another program gives the activation back.

#include <windows.h>

namespace velmora {

/** The control of one window that gets the focus back. */
class FocusKeeper final {
public:
    /** The window whose controls it keeps; set once it has been created. */
    void attach(HWND window) { m_window = window; }

    /** control got the focus (its WM_SETFOCUS): the one to go back to. */
    void focused(HWND control) { m_last = control; }

    /**
     * The window's WM_ACTIVATE: going inactive keeps the focused control, coming back (not
     * minimised) gives it the focus. @return true when the focus was given and the message is
     * handled.
     */
    bool onActivate(WPARAM wParam);

    /**
     * The window's own WM_SETFOCUS: passes the focus on to the kept control, if it still exists.
     * @return true when it did and the message is handled.
     */
    bool giveBack();

private:
    HWND m_window = nullptr;
    HWND m_last = nullptr;
};

}  // namespace velmora
