// Contrast and palettes, judged with a luminance computed here from the colours' own digits.
#include "core/palettes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>
#include <sstream>

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

/** A rule of the style sheet: the classes its selector names, outermost first, and its body. */
struct Rule {
    std::vector<std::string> elements;
    bool hover = false;  ///< the last element under the mouse
    std::string body;
};

/** The template's rules and the three appended ones, comments left out. */
std::vector<Rule> templateRules() {
    std::string css = utf8FromUtf16(kTemplate);
    for (const ImageBox &image : kImageBoxes) {
        css += utf8FromUtf16(image.snippet);
    }
    for (std::size_t at; (at = css.find("/*")) != std::string::npos;) {
        css.erase(at, css.find("*/", at) + 2 - at);
    }
    // The page marks the first drop-down's heading under the mouse with the class cat-hd-hover.
    const std::string heading = ".skin-box-bd .popup-content .cats-tree .cat-hd-hover";
    css.replace(css.find(heading), heading.size(),
                ".popup-inner .cats-tree .fst-cat .cat-hd:hover");
    std::vector<Rule> rules;
    for (std::size_t from = 0, open; (open = css.find('{', from)) != std::string::npos;) {
        const std::size_t close = css.find('}', open);
        Rule rule;
        std::istringstream selector(css.substr(from, open - from));
        for (std::string element; selector >> element;) {
            rule.elements.push_back(element);
        }
        if (rule.elements.back().ends_with(":hover")) {
            rule.hover = true;
            rule.elements.back().resize(rule.elements.back().size() - 6);
        }
        rule.body = css.substr(open + 1, close - open - 1) + ';';
        rules.push_back(rule);
        from = close + 1;
    }
    return rules;
}

/** The box a declaration of the rule fills: a slot's token (the lower slot where two share
 *  one) or an image box's url(placeholder); nothing when the rule has no such declaration. */
std::optional<int> boxOf(const Rule &rule, const std::string &property) {
    for (std::size_t at = 0; (at = rule.body.find(property + ':', at)) != std::string::npos;) {
        if (at == 0 || rule.body[at - 1] == ';') {
            const std::size_t from = at + property.size() + 1;
            const std::string value = rule.body.substr(from, rule.body.find(';', from) - from);
            for (const Slot &slot : kSlots) {
                if (value == utf8FromUtf16(slot.token)) return slot.number - 1;
            }
            for (int image = 0; image < kImageBoxCount; ++image) {
                if (value == "url(" + utf8FromUtf16(kImageBoxes[image].placeholder) + ")") {
                    return imageBoxNumber(image);
                }
            }
        }
        ++at;
    }
    return std::nullopt;
}

/** Whether rule's selector names element i of text's, or one around it: its last class is
 *  that element's and the classes before it are named before it in order. */
bool appliesAround(const Rule &rule, const Rule &text, std::size_t i) {
    if (rule.elements.back() != text.elements[i]) return false;
    std::size_t next = 0;
    for (std::size_t j = 0; j + 1 < rule.elements.size(); ++j) {
        while (next < i && text.elements[next] != rule.elements[j]) ++next;
        if (next++ >= i) return false;
    }
    return true;
}

/**
 * Where the template draws each text colour, by box number (text, background), read from the
 * template's rules: text under the mouse on every background of its element and those around
 * it, plain text on their backgrounds away from the mouse, and where the colour under the mouse
 * is a hidden slot's (no colour from the start), the plain colour under the mouse too.
 */
std::set<std::pair<int, int>> templatePairs() {
    const std::vector<Rule> rules = templateRules();
    std::set<std::pair<int, int>> pairs;
    for (const Rule &text : rules) {
        const std::optional<int> colour = boxOf(text, "color");
        if (!colour) continue;
        std::vector<int> colours{*colour};
        for (const Rule &plain : rules) {
            const std::optional<int> plainColour = boxOf(plain, "color");
            if (text.hover && !kSlots[static_cast<std::size_t>(*colour)].shown && !plain.hover &&
                plain.elements == text.elements && plainColour) {
                colours.push_back(*plainColour);
            }
        }
        for (const Rule &background : rules) {
            for (std::size_t i = 0; i < text.elements.size(); ++i) {
                if ((text.hover || !background.hover) && appliesAround(background, text, i)) {
                    for (const char *property : {"background", "background-color"}) {
                        if (const std::optional<int> box = boxOf(background, property)) {
                            for (int c : colours) pairs.insert({c, *box});
                        }
                    }
                }
            }
        }
    }
    return pairs;
}

TEST(Contrast, JudgesThePairsTheTemplateDraws) {
    std::set<std::pair<int, int>> judged;
    for (const ContrastPair &pair : kContrastPairs) {
        judged.insert({pair.text, pair.background});
    }
    EXPECT_EQ(judged, templatePairs());
}

TEST(Contrast, EachTextColourIsJudgedOnItsBackgroundsOnly) {
    for (const auto &[text, background] : templatePairs()) {
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
    testing::Values(
        JudgedCase{"JustBelow", u"#777777", u"#FFFFFF", true},
        JudgedCase{"JustEnough", u"#767676", u"#FFFFFF", false},
        JudgedCase{"At4_49", u"#8C7070", u"#FFFFFF", true},   // 4.49994
        JudgedCase{"At4_50", u"#D64040", u"#FFFFFF", false},  // 4.50005
        JudgedCase{"NamesAndFunctions", u"white", u"rgb(100%,100%,100%)", true},
        JudgedCase{"OpaqueRgba", u"rgba(0,0,0,1)", u"#111", true},
        JudgedCase{"TranslucentText", u"rgba(0,0,0,0.5)", u"#111", false},
        JudgedCase{"TranslucentBackground", u"#000", u"rgba(0,0,0,0.9)", false},
        JudgedCase{"AlmostOpaque", u"rgba(0,0,0,0.999)", u"#111", false},
        JudgedCase{"OpaqueToADouble", u"#000", u"rgba(0,0,0,.99999999999999999)", false},
        JudgedCase{"OpaqueWrittenOtherwise", u"rgba(0,0,0,100.0%)", u"rgba(0,0,0,.1e1)", true},
        JudgedCase{"Address", u"#000", u"https://img.alicdn.com/a.jpg", false},
        JudgedCase{"SpacesAroundText", u" #000", u"#111", false},
        JudgedCase{"SpacesAroundBackground", u"#000", u"#111 ", false}),
    [](const testing::TestParamInfo<JudgedCase> &info) { return info.param.name; });

bool isShown(int box) { return box >= kSlotCount || kSlots[static_cast<std::size_t>(box)].shown; }

/** Every pair of the palette as values: each contrast pair at 4.5, each hover apart. */
void expectReadable(const StyleValues &values, const std::string &what) {
    static const std::set<std::pair<int, int>> pairs = templatePairs();
    for (const auto &[text, background] : pairs) {
        if (!isShown(text) || !isShown(background)) continue;  // palettes leave hidden slots
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
