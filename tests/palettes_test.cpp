// Contrast and palettes, judged with a luminance computed here from the colours' own digits.
#include "core/palettes.h"

#include <gtest/gtest.h>

#include <cmath>
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

struct JudgedCase {
    const char *name;
    int text, background;  ///< box numbers
    std::u16string textValue, backgroundValue;
    bool low;  ///< the pair is reported
};
void PrintTo(const JudgedCase &c, std::ostream *os) { *os << c.name; }

class LowContrastTest : public testing::TestWithParam<JudgedCase> {};

TEST_P(LowContrastTest, JudgesOpaqueColoursOnTheirBackgrounds) {
    const JudgedCase &c = GetParam();
    StyleValues values;  // all empty: nothing else judged
    values.box(c.text) = c.textValue;
    values.box(c.background) = c.backgroundValue;
    const std::vector<LowContrast> low = lowContrasts(values);
    ASSERT_EQ(low.size(), c.low ? 1U : 0U);
    if (c.low) {
        EXPECT_EQ(low[0].text, c.text);
        EXPECT_EQ(low[0].background, c.background);
    }
}

const std::u16string kGrey = u"#777777", kLight = u"#888888";

INSTANTIATE_TEST_SUITE_P(
    Pairs, LowContrastTest,
    testing::Values(
        // Where the template draws each text colour, by box number.
        JudgedCase{"Slot2OnSlot1", 1, 0, kGrey, kLight, true},
        JudgedCase{"Slot2OnSlot4", 1, 3, kGrey, kLight, true},
        JudgedCase{"Slot2OnSlot10", 1, 9, kGrey, kLight, true},
        JudgedCase{"Slot2OnMenuHoverImage", 1, 18, kGrey, kLight, true},
        JudgedCase{"Slot7OnSlot6", 6, 5, kGrey, kLight, true},
        JudgedCase{"Slot7OnSlot8", 6, 7, kGrey, kLight, true},
        JudgedCase{"Slot11OnSlot10", 10, 9, kGrey, kLight, true},
        JudgedCase{"Slot16OnSlot10", 15, 9, kGrey, kLight, true},
        JudgedCase{"Slot16OnSubmenuImage", 15, 19, kGrey, kLight, true},
        JudgedCase{"Slot16OnSubmenuHoverImage", 15, 20, kGrey, kLight, true},
        JudgedCase{"Slot2NotOnSlot6", 1, 5, kGrey, kLight, false},
        JudgedCase{"Slot11NotOnSubmenuImage", 10, 19, kGrey, kLight, false},
        // What is judged.
        JudgedCase{"JustBelow", 1, 0, u"#777777", u"#FFFFFF", true},
        JudgedCase{"JustEnough", 1, 0, u"#767676", u"#FFFFFF", false},
        JudgedCase{"NamesAndFunctions", 1, 0, u"white", u"rgb(100%,100%,100%)", true},
        JudgedCase{"OpaqueRgba", 1, 0, u"rgba(0,0,0,1)", u"#111", true},
        JudgedCase{"TranslucentText", 1, 0, u"rgba(0,0,0,0.5)", u"#111", false},
        JudgedCase{"TranslucentBackground", 1, 0, u"#000", u"rgba(0,0,0,0.9)", false},
        JudgedCase{"Address", 1, 0, u"#000", u"https://img.alicdn.com/a.jpg", false},
        JudgedCase{"SpacesAroundText", 1, 0, u" #000", u"#111", false},
        JudgedCase{"SpacesAroundBackground", 1, 0, u"#000", u"#111 ", false},
        JudgedCase{"Empty", 1, 0, u"", u"#111", false}),
    [](const testing::TestParamInfo<JudgedCase> &info) { return info.param.name; });

/** Every pair of the palette as values: each contrast pair at 4.5, each hover apart. */
void expectReadable(const StyleValues &values, const std::string &what) {
    const std::pair<int, int> pairs[] = {{1, 0}, {1, 3},  {1, 9},  {1, 18},  {6, 5},
                                         {6, 7}, {10, 9}, {15, 9}, {15, 19}, {15, 20}};
    for (const auto &[text, background] : pairs) {
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
    std::set<std::array<Rgb, 12>, decltype([](const auto &a, const auto &b) {
                 return std::lexicographical_compare(
                     a.begin(), a.end(), b.begin(), b.end(), [](Rgb x, Rgb y) {
                         return std::tie(x.red, x.green, x.blue) < std::tie(y.red, y.green, y.blue);
                     });
             })>
        looks;
    for (const Palette &palette : builtInPalettes()) {
        names.insert(palette.name);
        looks.insert(palette.colours);
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
    EXPECT_EQ(looks.size(), builtInPalettes().size());
    EXPECT_EQ(paletteNamed(u"经典"), nullptr);
}

TEST(Palettes, AnyBrandColourGivesAReadableLookOnIt) {
    StyleValues values;
    applyPalette(paletteFrom(Rgb{0xC4, 0x00, 0x00}), values);
    EXPECT_EQ(values.slot(1), u"#C40000");
    // 16 steps a channel, both ends included, and the mid greys and pure colours that sit near
    // where black text starts reading better than white.
    std::vector<Rgb> brands;
    for (int r = 0; r < 16; ++r) {
        for (int g = 0; g < 16; ++g) {
            for (int b = 0; b < 16; ++b) {
                brands.push_back({static_cast<std::uint8_t>(r * 17),
                                  static_cast<std::uint8_t>(g * 17),
                                  static_cast<std::uint8_t>(b * 17)});
            }
        }
    }
    for (int grey = 0x70; grey <= 0x80; ++grey) {
        const auto v = static_cast<std::uint8_t>(grey);
        brands.push_back({v, v, v});
    }
    for (Rgb pure : {Rgb{255, 0, 0}, Rgb{0, 255, 0}, Rgb{0, 0, 255}, Rgb{0xCF, 0x0D, 0xCC}}) {
        brands.push_back(pure);
    }
    for (Rgb brand : brands) {
        applyPalette(paletteFrom(brand), values);
        const std::string name = utf8FromUtf16(hexColour(brand));
        ASSERT_EQ(values.slot(1), hexColour(brand)) << "the bar is the brand colour";
        expectReadable(values, name);
        if (testing::Test::HasFailure()) {
            break;  // one brand's failures tell enough
        }
    }
}

}  // namespace
}  // namespace velmora
