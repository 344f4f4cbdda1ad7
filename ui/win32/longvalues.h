#pragma once

// Values too long for an edit control: an edit lays out its whole text at every keystroke,
// which for a value of megabytes costs seconds. A box holding a value longer than kLargeValue
// shows it shortened (shortenedText) and read-only; the window then copies, replaces and
// deletes the whole value, which the form keeps, in place of the control.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/clipboard.h"

namespace velmora {

/** What the window makes of a message to a box in place of the edit control. */
struct LongValueEdit {
    bool handled = false;                 ///< the edit control must not see the message
    std::optional<std::u16string> value;  ///< the box's new value, if it changes
};

/**
 * The window's handling of message to edit, a box whose whole value is value: in a box showing
 * it shortened (read-only), copying (Ctrl+C, Ctrl+Insert, WM_COPY) copies the whole value,
 * cutting (Ctrl+X, Shift+Delete, WM_CUT) copies it and empties the box, and typing, pasting
 * (Ctrl+V, Shift+Insert, WM_PASTE) and deleting replace it whole; in any box, pasting a text
 * longer than kLargeValue inserts it without the control. Nothing handled for every other
 * message, selecting (Ctrl+A) and moving among them.
 */
LongValueEdit editLongValue(HWND edit, UINT message, WPARAM wParam, std::u16string_view value,
                            Clipboard &clipboard);

/** Whether the box shows its value shortened. */
bool showsShortened(HWND edit);

/** Shows value in edit, shortened and read-only when longer than kLargeValue. */
void showValue(HWND edit, const std::u16string &value);

}  // namespace velmora
