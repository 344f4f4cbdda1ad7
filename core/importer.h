#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "generator.h"

namespace velmora {

/** Where and why a text is not navigation code that generateCss could have written. */
struct ImportError {
    int line;                 ///< 1-based, in the text as given
    int column;               ///< 1-based, counted in characters (a surrogate pair is one)
    std::u16string expected;  ///< a few characters of what should stand there; empty when the
                              ///< text should have ended there
    std::string message;      ///< a short English sentence, such as "does not match the
                              ///< navigation code here"
};

/** The values read from a text, or why there are none. */
using ImportResult = std::variant<StyleValues, ImportError>;

/**
 * Reads navigation code back into values: finds values from which generateCss writes exactly
 * text, and returns them on top of current, which supplies what the text does not determine
 * (slots 14 and 15, which never reach the code).
 *
 * Line ends: a text without any CR, or without any LF, is read as if each of its line ends were
 * CR LF (as after an editor or a mail program changed them all); a text with both is read as it
 * stands, so that values holding line breaks come back unchanged. Whitespace before the first
 * rule and after the last is ignored, as is a byte order mark (U+FEFF) at the start; line and
 * column are counted in the text after that mark.
 *
 * Where several sets of values give the same text, the values are chosen value by value in the
 * order they appear in the text, each as short as still allows a match. So values that do not
 * contain the built-in text following them come back exactly as they were typed.
 *
 * At the place of an image slot or image box the text is "url(" value ")", or a colour as the
 * generator writes one, which is the value; code from before colours were written so, holding
 * "url(" colour ")", gives the colour as well.
 *
 * When no values give the text, the result is an ImportError at the furthest point the reading
 * got to. current is never changed.
 *
 * Time: linear in the length of the text for values like those typed into the window, each of
 * which is found by searching for the fixed text that follows it. Values that contain that text
 * allow several ends; these are tried shortest first, with two checks that keep wrong ones
 * cheap: a value that occurs more than once must also stand at one of its later places before
 * the reading goes on, and what follows a value that occurs once, outside the stretch of any
 * repeated value, is tried from each place at most once. For texts built to defeat the checks the
 * time is bounded only by a polynomial of high degree (in the middle of the template seven ends
 * are chosen together); for values made of the template's own text it grows about linearly with
 * the text (importHostileValues in bench/generator_bench.cpp). Memory is linear; there is no
 * recursion.
 */
ImportResult importCss(std::u16string_view text, const StyleValues &current);

}  // namespace velmora
