#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/generator.h"

namespace velmora {

/**
 * Presets: the values of one shop as a small UTF-8 text, one "name=value" a line.
 *
 * Names are slot.1 to slot.18, menu-hover-image, submenu-image and submenu-hover-image; spaces
 * around a name are ignored. The value is everything after the first "=", spaces included. A
 * backslash starts an escape: \\ is a backslash, \n a line feed, \r a carriage return. Lines
 * that are empty, blank or start with "#" are skipped; a line ends at LF, CR LF or a lone CR; a
 * UTF-8 byte order mark at the start is skipped. Every line, comments included, must be UTF-8
 * without NUL characters.
 */

/**
 * The largest values file the window and velmora-css read: 256 MiB, thousands of times what the
 * longest values of a shop take, yet small enough to read into memory.
 */
inline constexpr std::uintmax_t kMaxValuesFileBytes = std::uintmax_t{256} << 20;

/** Where a preset text is wrong. */
struct PresetError {
    enum class Kind { NotUtf8, NoEquals, UnknownName, BadEscape, NulCharacter };
    Kind kind;
    int line;             ///< 1-based
    std::string message;  ///< says what is wrong with the line
    int column = 0;       ///< 1-based, in characters, for NulCharacter; 0 for the others
};

/**
 * Applies the assignments of a preset text to values, in order.
 * @return the first error, in which case values may hold the lines before it.
 */
std::optional<PresetError> applyPreset(std::string_view text, StyleValues &values);

/** The preset text that sets every slot and image box to values; applyPreset reads it back
 *  exactly. */
std::string presetText(const StyleValues &values);

}  // namespace velmora
