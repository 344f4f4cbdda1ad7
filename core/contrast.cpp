#include "contrast.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

/** A channel of 0 to 255 in linear light, as WCAG 2 defines it. */
double linear(std::uint8_t channel) {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> values{};
        for (std::size_t i = 0; i < values.size(); ++i) {
            const double c = static_cast<double>(i) / 255.0;
            values[i] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return values;
    }();
    return table[channel];
}

}  // namespace

double relativeLuminance(Rgb colour) {
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) +
           0.0722 * linear(colour.blue);
}

double contrastRatio(Rgb first, Rgb second) {
    const double a = relativeLuminance(first), b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

std::optional<Rgb> opaqueColour(std::u16string_view value) {
    const std::optional<Rgba> colour = parseColourWithAlpha(value);
    if (!colour || colour->alpha != 255) {
        return std::nullopt;
    }
    return Rgb{colour->red, colour->green, colour->blue};
}

std::vector<LowContrast> lowContrasts(const StyleValues &values) {
    std::vector<LowContrast> low;
    for (const ContrastPair &pair : kContrastPairs) {
        const std::optional<Rgb> text = opaqueColour(values.box(pair.text));
        const std::optional<Rgb> background = opaqueColour(values.box(pair.background));
        if (text && background) {
            if (const double ratio = contrastRatio(*text, *background); ratio < kMinimumContrast) {
                low.push_back({pair.text, pair.background, ratio});
            }
        }
    }
    return low;
}

std::string ratioText(double ratio) {
    // Below 4.5, ratio * 10 stays below 45 (4.5 less one ulp gives 44.99999999999999).
    const int tenths = static_cast<int>(ratio * 10);
    return std::to_string(tenths / 10) + '.' + std::to_string(tenths % 10) + ":1";
}

}  // namespace velmora
