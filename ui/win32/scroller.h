#pragma once

// Scrolling of the window's controls, for a work area smaller than the window: the window then
// shrinks to fit and gets scroll bars, and the focused control is always brought into view.

#include <windows.h>

#include "platform/screen.h"
#include "ui/win32/placement.h"

namespace velmora {

/** Scrolls a window's child controls over its client area. */
class Scroller final {
public:
    /** Fits onto screen's work area a window with the extended style exStyle; both borrowed. */
    Scroller(const Screen &screen, DWORD exStyle) : m_screen(screen), m_exStyle(exStyle) {}

    /** The window whose controls scroll; set once it has been created. */
    void attach(HWND window) { m_window = window; }

    /**
     * Takes the window table's client area at dpi as the content, forgets any scrolling (the
     * controls are back in their places), and says how a window of style shows it on the work
     * area.
     */
    WindowFit fit(DWORD style, UINT dpi);

    /** Shows or hides the scroll bars for fit; does nothing when no bar is or was there. */
    void showBars(const WindowFit &fit);

    /** A scroll bar's request (WM_HSCROLL with SB_HORZ, WM_VSCROLL with SB_VERT). */
    void onScroll(int bar, WPARAM request);

    /** The mouse wheel turned by delta (WM_MOUSEWHEEL's). */
    void onWheel(int delta);

    /** Scrolls so that control shows whole, or its start where it is larger than the window. */
    void scrollIntoView(HWND control);

private:
    void scrollTo(int x, int y);

    const Screen &m_screen;
    DWORD m_exStyle;
    HWND m_window = nullptr;
    SIZE m_content{};  // the client area the table asks for, in pixels
    POINT m_scroll{};  // how far the controls are scrolled
};

}  // namespace velmora
