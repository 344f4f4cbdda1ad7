#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "generator.h"
#include "valuecheck.h"

namespace velmora {

/**
 * The boxes a palette fills (box numbers as StyleValues::box), in the order of its colours:
 * slots 1, 2, 4, 6, 7, 8, 10, 11 and 16, then the image boxes Text7, Text1 and Text2. Every
 * shown background and text colour; the hidden slots are left as they are.
 */
inline constexpr std::array<int, 12> kPaletteBoxes{
    0, 1, 3, 5, 6, 7, 9, 10, 15, imageBoxNumber(0), imageBoxNumber(1), imageBoxNumber(2)};

/** A background under the mouse and the background it replaces, by box number. */
struct HoverPair {
    int hover;
    int base;
};

/** Slot 4 over slot 1, slot 8 over slot 6, Text7 over slot 10 and Text2 over Text1. */
inline constexpr std::array<HoverPair, 4> kHoverPairs{
    {{3, 0}, {7, 5}, {imageBoxNumber(0), 9}, {imageBoxNumber(2), imageBoxNumber(1)}}};

/**
 * The least contrast ratio between a hover background and its base in every palette, so that
 * the change under the mouse shows: a luminance difference the eye sees at once.
 */
inline constexpr double kHoverContrast = 1.3;

/** A coordinated look: one opaque colour for each box of kPaletteBoxes. */
struct Palette {
    std::u16string_view name;
    std::array<Rgb, kPaletteBoxes.size()> colours;
};

/**
 * The built-in looks, each with a Chinese name, no two alike. Each keeps every pair of
 * kContrastPairs between the boxes it fills at kMinimumContrast or more and every pair of
 * kHoverPairs at kHoverContrast or more.
 */
std::span<const Palette> builtInPalettes();

/** The built-in palette with exactly that name, or nullptr. */
const Palette *paletteNamed(std::u16string_view name);

/**
 * Writes the palette's colours, as "#RRGGBB", into the boxes of kPaletteBoxes; every other box
 * keeps its value.
 */
void applyPalette(const Palette &palette, StyleValues &values);

/**
 * The look derived from one brand colour, for any colour: slot 1 is exactly brand; the text
 * colours are white or black, whichever reads better on it; the hover and second backgrounds
 * are a shade of brand, mixed away from the text's colour (or, where brand is too near black
 * or white for that, towards it) until it differs by kHoverContrast. Every pair of
 * kContrastPairs between the boxes it fills keeps kMinimumContrast and every pair of kHoverPairs
 * kHoverContrast.
 */
Palette paletteFrom(Rgb brand);

}  // namespace velmora
