#pragma once

#include <string>
#include <string_view>

namespace velmora {

/**
 * Every occurrence of search in text, replaced by replacement.
 *
 * The scan runs from the first code unit to the last; a match is an exact, case-sensitive
 * comparison code unit by code unit. After a match the scan goes on right behind the matched
 * text, so matches never overlap and the inserted text is not searched again. An empty
 * replacement deletes the matches. An empty search matches nothing and returns text unchanged.
 */
std::u16string Replace(std::u16string_view text, std::u16string_view search,
                       std::u16string_view replacement);

}  // namespace velmora
