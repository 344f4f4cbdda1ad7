#pragma once

#include <array>
#include <string>

#include "slottable.h"
#include "texts.h"

namespace velmora {

/** The boxes numbered together: 0 to 17 are slots 1 to 18, 18 to 20 the image boxes. */
inline constexpr int kBoxCount = kSlotCount + kImageBoxCount;

/** The box number of an image box (0 to 2). */
constexpr int imageBoxNumber(int image) { return kSlotCount + image; }

/** Whether the box takes an image address (image slots and image boxes) or a colour. */
bool isImageBox(int box);

/** Everything the shop owner can set: the eighteen slot values and the three image boxes. */
struct StyleValues {
    std::array<std::u16string, kSlotCount> slots;       ///< slots[i] is slot i + 1
    std::array<std::u16string, kImageBoxCount> images;  ///< Text7, Text1, Text2

    /** The value of slot number (1 to 18); throws std::out_of_range otherwise. */
    std::u16string &slot(int number);
    /** @copydoc slot(int) */
    const std::u16string &slot(int number) const;

    /** The value of a box by its box number (0 to 20); throws std::out_of_range otherwise. */
    std::u16string &box(int number);
    /** @copydoc box(int) */
    const std::u16string &box(int number) const;

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
 * of its token (the lower-numbered slot winning where two share a token), followed by the three
 * appended rules filled from the image boxes, with "font-weight:bold" marked and "1px" widths
 * zeroed in the built-in texts. An image slot's or image box's value is written in "url(" and
 * ")", unless it is a colour as parseColour accepts it: a background colour is written as it
 * stands.
 *
 * Values are used exactly as given, of any length and content: nothing the user typed is
 * searched, trimmed or rewritten. Never fails except for lack of memory.
 */
std::u16string generateCss(const StyleValues &values);

/** As generateCss(values), written into out so that its capacity can be reused. */
void generateCss(const StyleValues &values, std::u16string &out);

}  // namespace velmora
