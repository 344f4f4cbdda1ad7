#pragma once

// The colours the window's controls are drawn in, as the window answers WM_CTLCOLORSTATIC and
// WM_CTLCOLOREDIT: a label in its table colour on the window's face, a box in the colours its
// painter (boxpainter.h) holds for it or else the system's.

#include <windows.h>

#include "ui/win32/boxpainter.h"
#include "ui/windowtable.h"

namespace velmora {

/**
 * Sets dc's colours for a static control (WM_CTLCOLORSTATIC) showing def's row (nullptr: none of
 * the table's) and returns its background brush. A read-only box, one showing its value
 * shortened, looks as the others do: its own colours, or the system's edit colours.
 */
HBRUSH staticColours(const ControlDef *def, HDC dc, const BoxPainter &painter);

/**
 * Sets dc's colours for an edit control (WM_CTLCOLOREDIT) showing def's row and returns its
 * background brush; nullptr, with dc left alone, where it keeps the system's colours.
 */
HBRUSH editColours(const ControlDef *def, HDC dc, const BoxPainter &painter);

}  // namespace velmora
