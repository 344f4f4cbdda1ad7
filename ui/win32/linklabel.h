#pragma once

// The shop link: a label that takes the focus as a button does. It shows a focus frame while it
// has the focus, the hand over it, and Space presses it; a click and Enter reach the window as
// its commands (STN_CLICKED, IDOK).

#include <windows.h>

namespace velmora {

/** What the link makes of a message sent to it, on top of the label's own handling. */
struct LinkMessage {
    bool handled = false;  ///< the label must not see the message: result is its answer
    LRESULT result = 0;
    bool pressed = false;  ///< the user pressed the link
};

/**
 * The link's handling of message to link, a subclassed label: repaints for the focus frame as the
 * focus comes and goes, draws the frame over the label's own painting (WM_PAINT, which it hands
 * to DefSubclassProc first), and takes Space, not repeated, as a press. Nothing handled for
 * every other message.
 */
LinkMessage linkMessage(HWND link, UINT message, WPARAM wParam, LPARAM lParam);

/** Shows the hand, as WM_SETCURSOR over the link asks. @return the message's result, TRUE. */
LRESULT showLinkCursor();

}  // namespace velmora
