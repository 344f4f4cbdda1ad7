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

}  // namespace velmora
