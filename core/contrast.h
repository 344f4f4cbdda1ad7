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
 * Where the template draws each shown text colour, by the boxes the owner sees:
 * slot 2 colours the bar's titles (on slot 1, and on slot 4 under the mouse, where hidden slot
 * 5 is no colour) and, from its token's later rules, the first drop-down's names under the mouse
 * (on slot 10, which hidden slot 13 leaves, and on the image box Text7); slot 7 the all-categories
 * title on slots 6 and 8; slot 11 the first drop-down's names on slot 10; slot 16 the second
 * drop-down's names on slot 10, on the image box Text1 and, under the mouse (where hidden slot 18
 * leaves it), on the image box Text2.
 */
inline constexpr std::array<ContrastPair, 10> kContrastPairs{{
    {1, 0},
    {1, 3},
    {1, 9},
    {1, imageBoxNumber(0)},
    {6, 5},
    {6, 7},
    {10, 9},
    {15, 9},
    {15, imageBoxNumber(1)},
    {15, imageBoxNumber(2)},
}};

/** The relative luminance of an sRGB colour (WCAG 2): 0 for black to 1 for white. */
double relativeLuminance(Rgb colour);

/** The contrast ratio of two opaque colours (WCAG 2), the lighter over the darker: 1 to 21. */
double contrastRatio(Rgb first, Rgb second);

/**
 * The colour a value names exactly as written, when it is opaque: a form parseColourWithAlpha
 * accepts, with alpha 255. Nothing for a translucent colour, an address, or a value with spaces
 * around it.
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
 * opaqueColour) with a contrast ratio below kMinimumContrast.
 */
std::vector<LowContrast> lowContrasts(const StyleValues &values);

/**
 * The ratio as "1.3:1": cut, not rounded, to one decimal, so that a ratio below
 * kMinimumContrast never reads as "4.5:1".
 */
std::string ratioText(double ratio);

}  // namespace velmora
