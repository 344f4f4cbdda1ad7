#pragma once

// Internal to the core (like plan.h): what the importer's reading needs to know of the generation
// plan, worked out once.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "textfinder.h"

namespace velmora::importing {

/** Whether c is blank space that may stand before and after the code. */
bool isSpace(char16_t c);

/** text without the blank space at its end. */
std::u16string_view trimEnd(std::u16string_view text);

/** What a hole is to the reading. */
enum class Kind : std::uint8_t {
    Free,   ///< its value occurs once, and no repeated value has places on both sides of it
    Inner,  ///< its value occurs once, between two places of a repeated value
    First,  ///< the first place of a value that occurs more than once
    Later,  ///< a later place of such a value, which must repeat the first exactly
};

/** A literal from which a later place of a repeated value can be found. */
struct Anchor {
    int place;  ///< the piece whose hole is the later place
    int piece;  ///< the piece whose literal is looked for; at most place
};

/** What the reading needs to know of the plan, worked out once. */
struct Layout {
    std::vector<std::u16string_view> literals;  ///< of each piece; the last one without the
                                                ///< whitespace at its end
    std::vector<Finder> finders;                ///< of each literal
    /** Of each piece after a wrapped hole: ")" and its literal, which follow an address there
     *  (empty for other pieces); as expected, followed by "url(" for a wrapped hole. */
    std::vector<std::u16string> closedExpected;
    std::vector<std::u16string_view> closed;  ///< ")" and the literal, in closedExpected
    std::vector<Finder> closedFinders;        ///< of each closed literal
    std::vector<int> holes;                   ///< of each piece but the last
    std::vector<bool> wrapped;                ///< of each hole: "url(...)" or a colour
    /** Of each piece: what should stand at its place, its literal followed by the "url(" its
     *  hole most often begins with, for telling where a text departs from the code. */
    std::vector<std::u16string> expected;
    std::vector<Kind> kinds;                ///< of each hole
    std::vector<std::size_t> literalsFrom;  ///< total length of the literals from piece k on
    /** For each piece: the values fixed before its hole and used after it, with the number of
     *  places after it. */
    std::vector<std::vector<std::pair<int, std::size_t>>> fixedAfter;
    std::vector<std::size_t> usesAfter;  ///< of a First hole: its value's later places
    /** Of a First hole: for each later place, the pieces whose literal can lead to it, because
     *  only values fixed before the First hole lie between. */
    std::vector<std::vector<Anchor>> anchors;
    int lastPiece = 0;
};

/** The layout of generationPlan(), built on first use. */
const Layout &layout();

}  // namespace velmora::importing
