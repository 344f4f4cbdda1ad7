#include "core/importer.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "core/plan.h"
#include "core/utf.h"
#include "testsupport.h"

namespace velmora {
namespace {

/** Values for slots 14 and 15, which the code does not hold, to see that import keeps them. */
StyleValues currentValues() {
    StyleValues current;
    current.slot(14) = u"kept 14";
    current.slot(15) = u"kept 15";
    return current;
}

/** The values that should come back: these, with slots 14 and 15 from currentValues(). */
StyleValues withKeptSlots(StyleValues values) {
    values.slot(14) = u"kept 14";
    values.slot(15) = u"kept 15";
    return values;
}

std::u16string describe(const ImportResult &result) {
    if (const auto *error = std::get_if<ImportError>(&result)) {
        return u"refused at " + utf16FromUtf8(std::to_string(error->line)).value() + u":" +
               utf16FromUtf8(std::to_string(error->column)).value() + u": " + error->expected;
    }
    return u"imported";
}

/** Every line end (CR LF, CR or LF) of text made into end. */
std::u16string withLineEnds(std::u16string_view text, std::u16string_view end) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            out += end;
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

/** Pieces of hostile values: the template's own text, whole and in fragments, and the like. */
std::vector<std::u16string> hostilePieces(std::mt19937 &random) {
    std::vector<std::u16string> pieces = {
        u"",           u"url(",    u")",      u";}",     u"\r\n",
        u"\n",         u"\r",      u"1px",    u"0px",    u"font-weight:bold",
        u"Quobrin",    u"UTDD",    u"二级背", u"移二背", u"导航",
        u"\U0001F600", u"#FFFFFF", u"}",      u";",      u":hover{color:"};
    for (const Slot &slot : kSlots) {
        pieces.emplace_back(slot.token);
    }
    for (const Piece &piece : generationPlan()) {
        pieces.push_back(piece.literal);
    }
    const std::u16string css = generateCss(startValues());
    for (int i = 0; i < 60; ++i) {
        const std::size_t from = random() % css.size();
        pieces.push_back(css.substr(from, 1 + random() % 40));
    }
    return pieces;
}

TEST(Import, HostileValuesRegenerateTheText) {
    std::mt19937 random(5150);
    const std::vector<std::u16string> pieces = hostilePieces(random);
    for (int round = 0; round < 4000; ++round) {
        StyleValues values;
        for (int hole = 0; hole < kHoleCount; ++hole) {
            std::u16string &value = holeValue(values, hole);
            for (int n = static_cast<int>(random() % 5); n > 0; --n) {
                value += pieces[random() % pieces.size()];
            }
        }
        const std::u16string css = generateCss(values);
        const ImportResult result = importCss(css, currentValues());
        ASSERT_TRUE(std::holds_alternative<StyleValues>(result))
            << "round " << round << ": " << utf8FromUtf16(describe(result));
        const StyleValues &imported = std::get<StyleValues>(result);
        ASSERT_EQ(generateCss(imported), css) << "round " << round;
        ASSERT_EQ(imported.slot(14), u"kept 14");
        ASSERT_EQ(imported.slot(15), u"kept 15");

        // The same code after a program changed all its line ends.
        const std::u16string end = round % 2 == 0 ? u"\n" : u"\r";
        const ImportResult changed = importCss(withLineEnds(css, end), currentValues());
        ASSERT_TRUE(std::holds_alternative<StyleValues>(changed))
            << "round " << round << ": " << utf8FromUtf16(describe(changed));
        ASSERT_EQ(generateCss(std::get<StyleValues>(changed)), withLineEnds(css, u"\r\n"))
            << "round " << round;
    }
}

TEST(Import, OrdinaryValuesComeBackAsTyped) {
    const std::u16string pieces[] = {u"#FFFFFF",
                                     u"#ff6600",
                                     u"red",
                                     u"http://a/b.jpg",
                                     u"url(",
                                     u")",
                                     u"\r\n",
                                     u"二级背",
                                     u"",
                                     u"\U0001F600",
                                     u" ",
                                     u"font-weight: bold",
                                     u"rgb(196,0,0)",
                                     u"RGBA(0, 0, 0, 0.5)",
                                     u"Navy",
                                     u"pink",
                                     u"url(#C40000)",
                                     u"#c40"};
    std::mt19937 random(20261209);
    for (int round = 0; round < 1000; ++round) {
        StyleValues values;
        for (int hole = 0; hole < kHoleCount; ++hole) {
            for (int n = static_cast<int>(random() % 4); n > 0; --n) {
                holeValue(values, hole) += pieces[random() % std::size(pieces)];
            }
        }
        const ImportResult result = importCss(generateCss(values), currentValues());
        ASSERT_TRUE(std::holds_alternative<StyleValues>(result)) << "round " << round;
        ASSERT_EQ(std::get<StyleValues>(result), withKeptSlots(values)) << "round " << round;
    }
}

TEST(Import, ValuesMadeOfTheTextThatFollowsThemRegenerate) {
    const std::vector<Piece> &plan = generationPlan();
    for (int copies : {1, 2, 40}) {
        StyleValues values;
        for (std::size_t k = plan.size() - 1; k-- > 0;) {
            std::u16string &value = holeValue(values, plan[k].hole);
            value.clear();
            for (int i = 0; i < copies; ++i) {
                value += plan[k + 1].literal;
            }
        }
        const std::u16string css = generateCss(values);
        const ImportResult result = importCss(css, values);
        ASSERT_TRUE(std::holds_alternative<StyleValues>(result)) << copies;
        EXPECT_EQ(generateCss(std::get<StyleValues>(result)), css) << copies;
    }
}

TEST(Import, AmbiguousCodeGivesTheEarliestEnds) {
    StyleValues values = startValues();
    values.slot(3) = u"x;}\r\n.all-cats .link{background:url(y";
    const ImportResult result = importCss(generateCss(values), values);
    ASSERT_TRUE(std::holds_alternative<StyleValues>(result));
    const StyleValues &imported = std::get<StyleValues>(result);
    EXPECT_EQ(imported.slot(3), u"x");
    EXPECT_EQ(imported.slot(6), u"y;}\r\n.all-cats .link{background:url(" + values.slot(6));
}

struct LayoutCase {
    const char *name;
    std::function<std::u16string(const std::u16string &)> change;
    std::function<void(StyleValues &)> set = {};  ///< the values, on top of the start values
};

void PrintTo(const LayoutCase &c, std::ostream *os) { *os << c.name; }

class ImportLayoutTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(ImportLayoutTest, GivesTheValuesOfTheCode) {
    StyleValues values = startValues();
    if (GetParam().set) {
        GetParam().set(values);
    }
    const std::u16string css = generateCss(values);
    const ImportResult result = importCss(GetParam().change(css), currentValues());
    ASSERT_TRUE(std::holds_alternative<StyleValues>(result)) << utf8FromUtf16(describe(result));
    EXPECT_EQ(std::get<StyleValues>(result), withKeptSlots(values));
}

std::u16string replacedAll(std::u16string css, std::u16string_view from, std::u16string_view to) {
    for (std::size_t at = css.find(from); at != css.npos; at = css.find(from, at + to.size())) {
        css.replace(at, from.size(), to);
    }
    return css;
}

std::u16string asGenerated(const std::u16string &css) { return css; }

INSTANTIATE_TEST_SUITE_P(
    LineEndsAndTrailingSpace, ImportLayoutTest,
    testing::Values(
        LayoutCase{"AsGenerated", [](const std::u16string &css) { return css; }},
        LayoutCase{"AllLf", [](const std::u16string &css) { return withLineEnds(css, u"\n"); }},
        LayoutCase{"AllCr", [](const std::u16string &css) { return withLineEnds(css, u"\r"); }},
        LayoutCase{"NoFinalLineEnd",
                   [](const std::u16string &css) { return css.substr(0, css.size() - 2); }},
        LayoutCase{"LfAndNoFinalLineEnd",
                   [](const std::u16string &css) {
                       return withLineEnds(css.substr(0, css.size() - 2), u"\n");
                   }},
        LayoutCase{"BlankLinesAfter",
                   [](const std::u16string &css) { return css + u"\r\n\r\n  \r\n"; }},
        LayoutCase{"SpacesTabsAndIdeographicSpaceAfter",
                   [](const std::u16string &css) { return css + u" \t\u3000"; }},
        LayoutCase{"ByteOrderMarkLineBreaksAndSpacesBefore",
                   [](const std::u16string &css) { return u"\uFEFF\r\n\n \t" + css; }},
        LayoutCase{"ColourInASlotOfSeveralPlacesNextToNoColour", asGenerated,
                   [](StyleValues &v) {
                       v.slot(1) = u"#C40000";
                       v.slot(4) = u" #C40000";
                       v.slot(6) = u"rgb(1,2,3";
                   }},
        LayoutCase{"ColoursInHiddenSlots", asGenerated,
                   [](StyleValues &v) {
                       v.slot(5) = u"rgb(196,0,0)";
                       v.slot(12) = u"#C4000";
                       v.slot(13) = u"rgba(0, 0, 0, 0.5)";
                       v.slot(17) = u"Navy";
                   }},
        LayoutCase{"ColoursInImageBoxes", asGenerated,
                   [](StyleValues &v) {
                       v.images = {u"red", u"pink", u"#c40"};
                   }},
        LayoutCase{"AddressesThatLookLikeOldCode", asGenerated,
                   [](StyleValues &v) {
                       v.images = {u"url(#C40000)", u"", u"#C40000)"};
                   }},
        LayoutCase{"ImageValueHoldingTheTextToTheNextImageBox", asGenerated,
                   [](StyleValues &v) {
                       v.images[0] =
                           u"a);}.fst-cat-bd{padding:0px;margin:0px;background-color:"
                           u"url();background:b";
                   }},
        LayoutCase{"OldCodeWithColoursInUrl",
                   [](const std::u16string &css) {
                       return replacedAll(replacedAll(css, u"#C40000", u"url(#C40000)"),
                                          u"background:red;", u"background:url(red);");
                   },
                   [](StyleValues &v) {
                       v.slot(1) = u"#C40000";
                       v.slot(10) = u"#C40000";
                       v.images[1] = u"red";
                   }}),
    [](const testing::TestParamInfo<LayoutCase> &info) { return info.param.name; });

struct RefusalCase {
    const char *name;
    std::function<std::u16string(std::u16string)> change;  ///< of the start values' code
    int line, column;
    std::u16string expected;  ///< how the expected text starts
    std::string message;      ///< part of the message
};

void PrintTo(const RefusalCase &c, std::ostream *os) { *os << c.name; }

class ImportRefusalTest : public testing::TestWithParam<RefusalCase> {};

TEST_P(ImportRefusalTest, SaysWhereTheCodeStopsMatching) {
    const RefusalCase &c = GetParam();
    const ImportResult result = importCss(c.change(generateCss(startValues())), currentValues());
    ASSERT_TRUE(std::holds_alternative<ImportError>(result));
    const ImportError &error = std::get<ImportError>(result);
    EXPECT_EQ(error.line, c.line);
    EXPECT_EQ(error.column, c.column);
    EXPECT_TRUE(error.expected.starts_with(c.expected)) << utf8FromUtf16(error.expected);
    EXPECT_LE(error.expected.size(), 20U);
    EXPECT_NE(error.message.find(c.message), std::string::npos) << error.message;
}

std::u16string replaced(std::u16string css, int occurrence, std::u16string_view from,
                        std::u16string_view to) {
    std::size_t at = css.find(from);
    while (occurrence-- > 1) {
        at = css.find(from, at + 1);
    }
    return css.replace(at, from.size(), to);
}

std::u16string cutAfter(std::u16string css, std::u16string_view text) {
    return css.substr(0, css.find(text) + text.size());
}

INSTANTIATE_TEST_SUITE_P(
    NotTheNavigationCode, ImportRefusalTest,
    testing::Values(
        RefusalCase{"AnotherToolsCss", [](std::u16string) { return u"#nav{color:#333}\r\n"; }, 1, 1,
                    u".skin-box-bd{", "does not match"},
        RefusalCase{"Empty", [](std::u16string) { return u""; }, 1, 1, u".skin-box-bd{",
                    "ends before"},
        RefusalCase{"AnotherToolsCssAfterByteOrderMarkAndSpaces",
                    [](std::u16string) { return u"\uFEFF  #nav{color:#333}\r\n"; }, 1, 3,
                    u".skin-box-bd{", "does not match"},
        RefusalCase{"CutInBuiltInText",
                    [](std::u16string css) { return cutAfter(css, u".popup-content{border:no"); },
                    12, 25, u"ne;padding:0px;", "ends before"},
        RefusalCase{"CutInAValue",
                    [](std::u16string css) { return cutAfter(css, u"snd-cat-name{color:#FFF"); },
                    24, 52, u";}\r\n.snd-pop-inner", "ends before"},
        RefusalCase{
            "BuiltInTextEdited",
            [](std::u16string css) { return replaced(css, 2, u";border:none;}", u";border:0;}"); },
            5, 133, u"none;}\r\n.all-cats", "does not match"},
        RefusalCase{"LineEditedLikeTheNext",
                    [](std::u16string css) {
                        return replaced(css, 1, u".all-cats .link{", u".all-cats .lnk{");
                    },
                    5, 13, u"ink{background:url(", "does not match"},
        RefusalCase{"EditAfterAnEmojiOnTheLine",
                    [](std::u16string css) {
                        return replaced(css, 1, u"{color:#FFFFFF;border:none;}",
                                        u"{color:\U0001F600;border:0;}");
                    },
                    7, 39, u"none;}", "does not match"},
        RefusalCase{"HoverLineEditedLikeTheNext",
                    [](std::u16string css) {
                        return replaced(css, 1, u".menu .link:hover{", u".menu .lnk:hover{");
                    },
                    9, 33, u"ink:hover{background", "does not match"},
        RefusalCase{"OneCopyOfARepeatedValueEdited",
                    [](std::u16string css) { return replaced(css, 4, u"O1CN01aVm", u"O1CN01xVm"); },
                    3, 101, u"aVmRqZ2JTdGkXbW8s_!!", "does not match"},
        RefusalCase{"OneLineEndChanged",
                    [](std::u16string css) {
                        return replaced(css, 1, u";}\r\n.skin-box-bd .menu-list .menu .link{",
                                        u";}\n.skin-box-bd .menu-list .menu .link{");
                    },
                    3, 153, u"\r\n.skin-box-bd", "does not match"},
        RefusalCase{"AddressWithoutUrl",
                    [](std::u16string css) {
                        return replaced(css, 1,
                                        u"background:url(https://img.alicdn.com/imgextra/i4",
                                        u"background:https://img.alicdn.com/imgextra/i4");
                    },
                    5, 28, u"url(", "does not match"},
        RefusalCase{"MoreCodeAfter",
                    [](std::u16string css) { return css + u".more{color:red}\r\n"; }, 27, 1, u"",
                    "goes on"}),
    [](const testing::TestParamInfo<RefusalCase> &info) { return info.param.name; });

}  // namespace
}  // namespace velmora
