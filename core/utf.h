#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/**
 * The UTF-16 text of well-formed UTF-8 bytes, or nothing when the bytes are not well-formed
 * (overlong forms, encoded surrogates, code points past U+10FFFF, cut sequences).
 */
std::optional<std::u16string> utf16FromUtf8(std::string_view bytes);

/**
 * The UTF-8 bytes of UTF-16 text. A lone surrogate, which UTF-8 cannot hold, becomes U+FFFD;
 * text converted from UTF-8 never holds one, so that round trip is exact.
 */
std::string utf8FromUtf16(std::u16string_view text);

/** As utf8FromUtf16(text), written into out so that its memory is reused. */
void utf8FromUtf16(std::u16string_view text, std::string &out);

/** Where a character stands in a text. */
struct TextPosition {
    int line = 1;    ///< 1-based; a line ends at LF, CR LF or a lone CR
    int column = 1;  ///< 1-based, counted in characters (a surrogate pair is one)
    bool operator==(const TextPosition &) const = default;
};

/**
 * Where the first NUL character of text stands, or nothing when it holds none. No value of the
 * window holds one (a Windows box would show the value cut there), so input with one is refused.
 */
std::optional<TextPosition> findNul(std::u16string_view text);

/**
 * The text with what a terminal would act on shown as escapes, for quoting values and names in
 * messages of one line: \n, \r and \t, other C0 controls and DEL as \xNN, C1 controls as
 * \u0080 to \u009F, and each byte that is not part of well-formed UTF-8 as \xNN. A backslash
 * is kept as it is, so the result is for reading, not for reading back, and printable() of
 * printable() text changes nothing.
 */
std::string printable(std::string_view utf8);

}  // namespace velmora
