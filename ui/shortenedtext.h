#pragma once

// Values too long for a box to lay out and paint at typing speed.

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

/**
 * Values longer than this many UTF-16 code units are shown shortened: a box that lays out and
 * paints a value of megabytes costs seconds a keystroke.
 */
inline constexpr std::size_t kLargeValue = 65536;

/**
 * What a box shows for a value longer than kLargeValue, read-only: its beginning and its
 * length. The form keeps the whole value; a box showing this copies the whole value, and
 * typing, pasting or deleting there replaces it whole.
 */
std::u16string shortenedText(std::u16string_view value);

}  // namespace velmora
