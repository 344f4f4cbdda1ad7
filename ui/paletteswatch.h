#pragma once

// The small picture beside a palette's name in the menus, drawn alike by both toolkits.

#include <array>
#include <cstdint>

#include "core/palettes.h"

namespace velmora {

/**
 * The colours a swatch shows, as equal vertical stripes from left to right, by their place in
 * Palette::colours: the bar's background (slot 1), its hover (slot 4), the drop-down's
 * background (slot 10) and the bar's text (slot 2).
 */
inline constexpr std::array<std::size_t, 4> kSwatchStripes{0, 2, 6, 1};

/** The swatch's one-pixel frame, which shows a light palette's edge on a light menu. */
inline constexpr Rgb kSwatchFrame{128, 128, 128};

/**
 * The colour of the pixel at x, y of a swatch width by height pixels: of the palette's colours,
 * or, for no palette (按主色生成…), of every hue from red round to red again.
 */
constexpr Rgb swatchPixel(const Palette *palette, int x, int y, int width, int height) {
    if (x <= 0 || y <= 0 || x >= width - 1 || y >= height - 1) {
        return kSwatchFrame;
    }
    if (palette != nullptr) {
        const auto stripe = static_cast<std::size_t>(
            (x - 1) * static_cast<int>(kSwatchStripes.size()) / (width - 2));
        return palette->colours[kSwatchStripes[stripe]];
    }
    const int hue = (x - 1) * 6 * 255 / (width - 2);  // six sectors of 255 steps
    const auto up = static_cast<std::uint8_t>(hue % 255);
    const auto down = static_cast<std::uint8_t>(255 - hue % 255);
    switch (hue / 255) {
        case 0:
            return {255, up, 0};
        case 1:
            return {down, 255, 0};
        case 2:
            return {0, 255, up};
        case 3:
            return {0, down, 255};
        case 4:
            return {up, 0, 255};
        default:
            return {255, 0, down};
    }
}

}  // namespace velmora
