#pragma once

// The window's font, chosen once, before any control is made.

#include <windows.h>

namespace velmora {

/**
 * The first installed face that has the Chinese glyphs: Windows' own ("Microsoft YaHei",
 * "SimSun"), or the desktop's "Noto Sans CJK SC" under wine; "Microsoft YaHei" when none is
 * found, for the font mapper to replace.
 */
const wchar_t *chineseFace();

/** The window's text font at dpi: 9 points in chineseFace(). The caller deletes it. */
HFONT createUiFont(UINT dpi);

}  // namespace velmora
