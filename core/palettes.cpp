#include "palettes.h"

#include <algorithm>
#include <optional>

#include "contrast.h"

namespace velmora {

namespace {

constexpr Rgb hex(std::uint32_t rgb) {
    return Rgb{static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
               static_cast<std::uint8_t>(rgb)};
}

/** A palette from its colours as 0xRRGGBB, in the order of kPaletteBoxes. */
constexpr Palette palette(std::u16string_view name,
                          const std::array<std::uint32_t, kPaletteBoxes.size()> &colours) {
    Palette made{name, {}};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        made.colours[i] = hex(colours[i]);
    }
    return made;
}

// Slots 1, 2, 4, 6, 7, 8, 10, 11, 16, then Text7, Text1, Text2. Where the bar is dark, so are
// the drop-downs: slot 2 colours names in the first drop-down too.
constexpr std::array kPalettes{
    palette(u"经典红", {0xC40000, 0xFFFFFF, 0x8E0000, 0xA30000, 0xFFFFFF, 0x700000, 0xB20000,
                        0xFFFFFF, 0xFFFFFF, 0x7A0000, 0x9E0000, 0x6B0000}),
    palette(u"活力橙", {0xFF7A00, 0x2B1400, 0xFFA552, 0xE86A00, 0x2B1400, 0xFFB066, 0xFFF1E0,
                        0x7A3300, 0x7A3300, 0xFFC88F, 0xFFE6CC, 0xFFB870}),
    palette(u"清新绿", {0x1E7A46, 0xFFFFFF, 0x145C33, 0x186B3D, 0xFFFFFF, 0x0F4A28, 0x1A6E3F,
                        0xFFFFFF, 0xFFFFFF, 0x0F4A28, 0x156037, 0x0B3D20}),
    palette(u"商务蓝", {0x1E5AA8, 0xFFFFFF, 0x14427D, 0x184C8F, 0xFFFFFF, 0x0F3566, 0x1B519A,
                        0xFFFFFF, 0xFFFFFF, 0x12396B, 0x17467F, 0x0E2F57}),
    palette(u"深海蓝", {0x0B2545, 0xE0F0FF, 0x1A3F6E, 0x13315A, 0xE0F0FF, 0x24508A, 0x0B2545,
                        0xE0F0FF, 0xE0F0FF, 0x1A3F6E, 0x13315A, 0x24508A}),
    palette(u"典雅紫", {0x5B2C83, 0xFFFFFF, 0x3F1D5C, 0x4B2470, 0xFFFFFF, 0x321748, 0x532878,
                        0xFFFFFF, 0xFFFFFF, 0x3A1C55, 0x4B2470, 0x2E1644}),
    palette(u"樱花粉", {0xFFD1DC, 0x7A1030, 0xFF9AB4, 0xFFC2D1, 0x7A1030, 0xFF8AA8, 0xFFF0F4,
                        0x8A1538, 0x7A1030, 0xFFC2D1, 0xFFE3EA, 0xFFB3C6}),
    palette(u"黑金", {0x111111, 0xE6C068, 0x333333, 0x000000, 0xE6C068, 0x2A2A2A, 0x1A1A1A,
                      0xE6C068, 0xE6C068, 0x3A3A3A, 0x222222, 0x444444}),
    palette(u"高级灰", {0x4A4A4A, 0xFFFFFF, 0x2E2E2E, 0x3C3C3C, 0xFFFFFF, 0x222222, 0x3A3A3A,
                        0xFFFFFF, 0xFFFFFF, 0x1F1F1F, 0x444444, 0x262626}),
    palette(u"咖啡棕", {0x6F4E37, 0xFFF5E6, 0x52392A, 0x5E4230, 0xFFF5E6, 0x3F2B1F, 0x5E4230,
                        0xFFF5E6, 0xFFF5E6, 0x3F2B1F, 0x52392A, 0x35241A}),
    palette(u"薄荷青", {0x00796B, 0xFFFFFF, 0x00574E, 0x006A5E, 0xFFFFFF, 0x004D44, 0x00695E,
                        0xFFFFFF, 0xFFFFFF, 0x004A42, 0x005F55, 0x00403A}),
    palette(u"柠檬黄", {0xFFD400, 0x222222, 0xD69A00, 0xF5C400, 0x222222, 0xCC9000, 0xFFFBE0,
                        0x5C4A00, 0x5C4A00, 0xFFD633, 0xFFF5C2, 0xFFD21A}),
};

constexpr int kMixSteps = 100;

/** from mixed with to: step parts of to in kMixSteps, in sRGB. */
Rgb mix(Rgb from, Rgb to, int step) {
    const auto channel = [step](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>((a * (kMixSteps - step) + b * step + kMixSteps / 2) /
                                         kMixSteps);
    };
    return {channel(from.red, to.red), channel(from.green, to.green), channel(from.blue, to.blue)};
}

/**
 * The least mix of base towards target that differs from base by kHoverContrast, if text still
 * reads on it.
 */
std::optional<Rgb> shade(Rgb base, Rgb target, Rgb text) {
    for (int step = 1; step <= kMixSteps; ++step) {
        const Rgb mixed = mix(base, target, step);
        if (contrastRatio(mixed, base) >= kHoverContrast) {
            if (contrastRatio(mixed, text) >= kMinimumContrast) {
                return mixed;
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace

std::span<const Palette> builtInPalettes() { return kPalettes; }

const Palette *paletteNamed(std::u16string_view name) {
    const auto found =
        std::find_if(kPalettes.begin(), kPalettes.end(),
                     [name](const Palette &palette) { return palette.name == name; });
    return found == kPalettes.end() ? nullptr : &*found;
}

void applyPalette(const Palette &palette, StyleValues &values) {
    for (std::size_t i = 0; i < kPaletteBoxes.size(); ++i) {
        values.box(kPaletteBoxes[i]) = hexColour(palette.colours[i]);
    }
}

Palette paletteFrom(Rgb brand) {
    constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255};
    const Rgb text = contrastRatio(kWhite, brand) >= contrastRatio(kBlack, brand) ? kWhite : kBlack;
    const Rgb away = text == kWhite ? kBlack : kWhite;
    // Away from the text the contrast only grows; towards it only where brand is too near away.
    // One of the two always succeeds: text on brand reads at 4.58 or more.
    const Rgb hover = shade(brand, away, text).value_or(shade(brand, text, text).value_or(away));
    // Slots 1, 2, 4, 6, 7, 8, 10, 11, 16, Text7, Text1, Text2: the drop-downs as the bar.
    return Palette{
        u"按主色生成",
        {brand, text, hover, hover, text, brand, brand, text, text, hover, hover, brand}};
}

}  // namespace velmora
