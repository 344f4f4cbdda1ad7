#pragma once

// Where the window and its controls go, worked out before they are made, so that each is
// created once in its place, with its font and its text: under wine every later move, font
// change or text change of a control costs a round of messages and server calls.

#include <windows.h>

#include <string_view>

#include "core/generator.h"
#include "platform/screen.h"
#include "ui/windowtable.h"

namespace velmora {

/** The control's rectangle in the window's client area, in pixels at dpi. */
RECT controlRect(const ControlDef &def, UINT dpi);

/** How a window fits a work area: the part of its content it shows, and its scroll bars. */
struct WindowFit {
    SIZE client{};  // the client area, without the bars
    bool horizontalBar = false;
    bool verticalBar = false;
    SIZE outer{};  // the whole window: client area, bars and frame
};

/**
 * Fits a window whose client area wants content onto the work area: where the work area is
 * smaller, the client area shrinks and gets a scroll bar, which may bring the other one. frame
 * is what the frame adds to the client size; bars the vertical bar's width (cx) and the
 * horizontal bar's height (cy). An empty work area (unknown) takes the whole content.
 */
WindowFit fitToWorkArea(SIZE content, SIZE frame, SIZE bars, const Rect &work);

/**
 * The top-left corner of a window of outer size: centred on the screen, and kept on the work
 * area (above a panel, below a top bar) wherever it fits.
 */
POINT placeOnScreen(const Rect &screen, const Rect &work, SIZE outer);

/** The size of text drawn in font, for the frame caption's own label. */
SIZE textExtent(HFONT font, std::u16string_view text);

/**
 * The text a control is created with: a slot's or an image box's value from values, or the
 * table's caption for any other control.
 */
std::u16string_view startText(const ControlDef &def, const StyleValues &values);

}  // namespace velmora
