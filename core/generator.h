#pragma once

#include <array>
#include <string>

#include "slottable.h"
#include "texts.h"

namespace velmora {

/** Everything the shop owner can set: the eighteen slot values and the three image boxes. */
struct StyleValues {
    std::array<std::u16string, kSlotCount> slots;       ///< slots[i] is slot i + 1
    std::array<std::u16string, kImageBoxCount> images;  ///< Text7, Text1, Text2

    /** The value of slot number (1 to 18); throws std::out_of_range otherwise. */
    std::u16string &slot(int number);
    /** @copydoc slot(int) */
    const std::u16string &slot(int number) const;

    bool operator==(const StyleValues &) const = default;
};

/** The values the window starts with: each slot's start value, the image boxes empty. */
StyleValues startValues();

/**
 * What the Clear command leaves: slots 1 to 16 and the three image boxes emptied, in that
 * order; slots 17 and 18 keep their values.
 */
void clearValues(StyleValues &values);

/**
 * The finished style sheet for the given values: the template with each slot's value in place
 * of its token (wrapped in "url(" and ")" for image slots, the lower-numbered slot winning where
 * two share a token), followed by the three appended rules filled from the image boxes, with
 * "font-weight:bold" marked and "1px" widths zeroed in the built-in texts.
 *
 * Values are used exactly as given, of any length and content: nothing the user typed is
 * searched, trimmed or rewritten. Never fails except for lack of memory.
 */
std::u16string generateCss(const StyleValues &values);

/** As generateCss(values), written into out so that its capacity can be reused. */
void generateCss(const StyleValues &values, std::u16string &out);

}  // namespace velmora
