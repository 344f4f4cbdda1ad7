#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generator.h"
#include "valuecheck.h"

namespace velmora {

/** The least contrast ratio at which text reads well (WCAG 2, level AA for normal text). */
inline constexpr double kMinimumContrast = 4.5;

/** A text colour and a background it is drawn on, by box number (as StyleValues::box). */
struct ContrastPair {
    int text;
    int background;
};

/**
 * Every text colour the template sets and each background its text is drawn on, hidden slots
 * included. A colour for text under the mouse is paired with every background of its element
 * and of the elements around it that its selector names, under the mouse or not, as a background
 * that is no colour lets the one behind it show; a plain text colour with their backgrounds away
 * from the mouse; and where the colour under the mouse is a hidden slot's (5, 9 and 18, none a
 * colour from the start), the plain colour with those under the mouse too. The first
 * drop-down's heading under the mouse has the class cat-hd-hover, Text7's rule.
 *
 * Slot 2 on slots 1 and 4 (the bar's titles) and, being also the first drop-down's names under
 * the mouse, on slots 10 and 13 and Text7; hidden slot 5, the titles under the mouse, on slots 1
 * and 4; slot 7 and hidden slot 9 (under the mouse) on slots 6 and 8; slot 11 on slot 10; slot 16
 * and hidden slot 18 (under the mouse) on slot 10, Text1, hidden slot 17 and Text2.
 */
inline constexpr std::array<ContrastPair, 20> kContrastPairs{{
    {1, 0},
    {1, 3},
    {1, 9},
    {1, 12},
    {1, imageBoxNumber(0)},
    {4, 0},
    {4, 3},
    {6, 5},
    {6, 7},
    {8, 5},
    {8, 7},
    {10, 9},
    {15, 9},
    {15, imageBoxNumber(1)},
    {15, 16},
    {15, imageBoxNumber(2)},
    {17, 9},
    {17, imageBoxNumber(1)},
    {17, 16},
    {17, imageBoxNumber(2)},
}};

/** The relative luminance of an sRGB colour (WCAG 2): 0 for black to 1 for white. */
double relativeLuminance(Rgb colour);

/** The contrast ratio of two opaque colours (WCAG 2), the lighter over the darker: 1 to 21. */
double contrastRatio(Rgb first, Rgb second);

/**
 * The colour a value names exactly as written, when it is opaque: a form parseColourWithAlpha
 * accepts, with alpha 255 (an rgba() alpha of exactly 1 or 100%). Nothing for a translucent
 * colour, an address, or a value with spaces around it.
 */
std::optional<Rgb> opaqueColour(std::u16string_view value);

/** A text colour that reads poorly on one of its backgrounds. */
struct LowContrast {
    int text;        ///< box number of the text colour
    int background;  ///< box number of the background
    double ratio;    ///< below kMinimumContrast
};

/**
 * The pairs of kContrastPairs, in its order, whose two values are both opaque colours (see
 * opaqueColour) with a contrast ratio below kMinimumContrast. No hidden slot's start value is a
 * colour, so a hidden slot is judged only for a value given to it.
 */
std::vector<LowContrast> lowContrasts(const StyleValues &values);

/**
 * The ratio as "1.3:1": cut, not rounded, to one decimal, so that a ratio below
 * kMinimumContrast never reads as "4.5:1".
 */
std::string ratioText(double ratio);

}  // namespace velmora
