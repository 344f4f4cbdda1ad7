#pragma once

// Small conversions that every part of the Win32 window uses: UTF-16 texts as the API's wide
// strings, a control's text, lengths at a DPI, colours as COLORREF.

#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "core/valuecheck.h"

namespace velmora {

/** The text as the API's wide characters; valid while text is. */
inline const wchar_t *wide(std::u16string_view text) {
    return reinterpret_cast<const wchar_t *>(text.data());
}

/** A wide-character copy of text, NUL-terminated. */
inline std::wstring wideString(std::u16string_view text) { return {text.begin(), text.end()}; }

/** The whole text of a window or control. */
inline std::u16string windowText(HWND window) {
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    const int length = GetWindowTextW(window, reinterpret_cast<wchar_t *>(text.data()),
                                      static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return text;
}

/** Pixels at dpi for a length in twips. */
inline int scaled(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

/** Pixels at dpi for a length in pixels at 96 dpi. */
inline int scaledPx(int pixels, UINT dpi) { return MulDiv(pixels, static_cast<int>(dpi), 96); }

/** The colour as GDI takes it. */
inline COLORREF colourRef(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

}  // namespace velmora
