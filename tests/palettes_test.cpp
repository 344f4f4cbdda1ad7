// Contrast and palettes, judged with a luminance computed here from the colours' own digits.
#include "core/palettes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>

#include "core/contrast.h"
#include "core/utf.h"

namespace velmora {
namespace {

/** "#RRGGBB" as WCAG 2's text defines relative luminance, apart from the product's parser. */
double luminance(std::u16string_view hex) {
    EXPECT_EQ(hex.size(), 7U);
    double sum = 0;
    const double weights[] = {0.2126, 0.7152, 0.0722};
    for (int i = 0; i < 3; ++i) {
        const double c = std::stoi(utf8FromUtf16(hex.substr(1 + 2 * i, 2)), nullptr, 16) / 255.0;
        sum += weights[i] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return sum;
}

double ratio(std::u16string_view a, std::u16string_view b) {
    const double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// WebAIM's contrast checker and the WCAG 2 understanding documents.
TEST(Contrast, MatchesPublishedPairs) {
    struct Published {
        Rgb text, background;
        double ratio;
    };
    for (const Published &p : {Published{{0, 0, 0}, {255, 255, 255}, 21.0},
                               Published{{0x77, 0x77, 0x77}, {255, 255, 255}, 4.48},
                               Published{{0x76, 0x76, 0x76}, {255, 255, 255}, 4.54},
                               Published{{0, 0, 255}, {255, 255, 255}, 8.59},
                               Published{{255, 0, 0}, {255, 255, 255}, 4.0},
                               Published{{255, 255, 255}, {255, 255, 255}, 1.0}}) {
        EXPECT_NEAR(contrastRatio(p.text, p.background), p.ratio, 0.006);
        EXPECT_NEAR(contrastRatio(p.background, p.text), p.ratio, 0.006) << "either order";
    }
}

TEST(Contrast, RatioIsCutToOneDecimalNeverReadingAsEnough) {
    for (const auto &[value, text] : {std::pair{1.16, "1.1:1"}, std::pair{4.4999999, "4.4:1"},
                                      std::pair{2.0, "2.0:1"}, std::pair{12.96, "12.9:1"}}) {
        EXPECT_EQ(ratioText(value), text) << value;
    }
    EXPECT_EQ(ratioText(std::nextafter(4.5, 0.0)), "4.4:1");
}

// Where the template draws each text colour, by box number: text, background.
constexpr std::pair<int, int> kPairs[] = {{1, 0}, {1, 3},  {1, 9},  {1, 18},  {6, 5},
                                          {6, 7}, {10, 9}, {15, 9}, {15, 19}, {15, 20}};

TEST(Contrast, EachTextColourIsJudgedOnItsBackgroundsOnly) {
    for (const auto &[text, background] : kPairs) {
        StyleValues values;  // all empty: nothing else judged
        values.box(text) = u"#777777";
        values.box(background) = u"#888888";
        const std::vector<LowContrast> low = lowContrasts(values);
        ASSERT_EQ(low.size(), 1U) << text << " on " << background;
        EXPECT_EQ(std::pair(low[0].text, low[0].background), std::pair(text, background));
    }
    StyleValues values;
    values.slot(2) = values.slot(6) = values.slot(11) = values.images[1] = u"#777777";
    EXPECT_TRUE(lowContrasts(values).empty()) << "slot 2 not on 6, nor 11 on Text1";
}

struct JudgedCase {
    const char *name;
    std::u16string text, background;  ///< slots 2 and 1
    bool low;                         ///< the pair is reported
};
void PrintTo(const JudgedCase &c, std::ostream *os) { *os << c.name; }

class LowContrastTest : public testing::TestWithParam<JudgedCase> {};

TEST_P(LowContrastTest, JudgesOnlyOpaqueColoursAsWritten) {
    StyleValues values;
    values.slot(2) = GetParam().text;
    values.slot(1) = GetParam().background;
    EXPECT_EQ(lowContrasts(values).size(), GetParam().low ? 1U : 0U);
}

INSTANTIATE_TEST_SUITE_P(
    Values, LowContrastTest,
    testing::Values(JudgedCase{"JustBelow", u"#777777", u"#FFFFFF", true},
                    JudgedCase{"JustEnough", u"#767676", u"#FFFFFF", false},
                    JudgedCase{"NamesAndFunctions", u"white", u"rgb(100%,100%,100%)", true},
                    JudgedCase{"OpaqueRgba", u"rgba(0,0,0,1)", u"#111", true},
                    JudgedCase{"TranslucentText", u"rgba(0,0,0,0.5)", u"#111", false},
                    JudgedCase{"TranslucentBackground", u"#000", u"rgba(0,0,0,0.9)", false},
                    JudgedCase{"Address", u"#000", u"https://img.alicdn.com/a.jpg", false},
                    JudgedCase{"SpacesAroundText", u" #000", u"#111", false},
                    JudgedCase{"SpacesAroundBackground", u"#000", u"#111 ", false}),
    [](const testing::TestParamInfo<JudgedCase> &info) { return info.param.name; });

/** Every pair of the palette as values: each contrast pair at 4.5, each hover apart. */
void expectReadable(const StyleValues &values, const std::string &what) {
    for (const auto &[text, background] : kPairs) {
        EXPECT_GE(ratio(values.box(text), values.box(background)), 4.5)
            << what << ": box " << text << " on " << background;
    }
    const std::pair<int, int> hovers[] = {{3, 0}, {7, 5}, {18, 9}, {20, 19}};
    for (const auto &[hover, base] : hovers) {
        EXPECT_GE(ratio(values.box(hover), values.box(base)), 1.3)
            << what << ": hover " << hover << " over " << base;
    }
}

TEST(Palettes, TenOrMoreDistinctReadableLooksLeavingHiddenSlots) {
    ASSERT_GE(builtInPalettes().size(), 10U);
    std::set<std::u16string_view> names;
    for (const Palette &palette : builtInPalettes()) {
        names.insert(palette.name);
        for (const Palette &other : builtInPalettes()) {
            EXPECT_TRUE(&other == &palette || other.colours != palette.colours) << "alike";
        }
        StyleValues values = startValues();
        applyPalette(palette, values);
        const std::string name = utf8FromUtf16(palette.name);
        expectReadable(values, name);
        EXPECT_EQ(paletteNamed(palette.name), &palette);
        for (int number : {3, 5, 9, 12, 13, 14, 15, 17, 18}) {
            EXPECT_EQ(values.slot(number), startValues().slot(number)) << name << " " << number;
        }
    }
    EXPECT_EQ(names.size(), builtInPalettes().size());
    EXPECT_EQ(paletteNamed(u"经典"), nullptr);
}

TEST(Palettes, AnyBrandColourGivesAReadableLookOnIt) {
    StyleValues values;
    applyPalette(paletteFrom(Rgb{0xC4, 0x00, 0x00}), values);
    EXPECT_EQ(values.slot(1), u"#C40000");
    // 16 steps a channel, both ends included: #777777 and pure red among them.
    for (int rgb = 0; rgb < 16 * 16 * 16 && !testing::Test::HasFailure(); ++rgb) {
        const int r = (rgb >> 8) * 17, g = (rgb >> 4 & 15) * 17, b = (rgb & 15) * 17;
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%02X%02X%02X", r, g, b);
        applyPalette(paletteFrom(Rgb{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                     static_cast<std::uint8_t>(b)}),
                     values);
        EXPECT_EQ(utf8FromUtf16(values.slot(1)), hex) << "the bar is the brand colour";
        expectReadable(values, hex);
    }
}

}  // namespace
}  // namespace velmora
