#pragma once

// Where the window and its controls go, worked out before they are made, so that each is
// created once in its place, with its font and its text: under wine every later move, font
// change or text change of a control costs a round of messages and server calls.

#include <windows.h>

#include <string_view>

#include "core/generator.h"
#include "ui/windowtable.h"

namespace velmora {

/** The control's rectangle in the window's client area, in pixels at dpi. */
RECT controlRect(const ControlDef &def, UINT dpi);

/** The outer size of a top-level window of style whose client area is the window table's. */
SIZE mainWindowSize(DWORD style, UINT dpi);

/** The size of text drawn in font, for the frame caption's own label. */
SIZE textExtent(HFONT font, std::u16string_view text);

/**
 * The text a control is created with: a slot's or an image box's value from values, or the
 * table's caption for any other control.
 */
std::u16string_view startText(const ControlDef &def, const StyleValues &values);

}  // namespace velmora
