#include "core/generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "core/utf.h"
#include "replace.h"
#include "testsupport.h"

namespace velmora {
namespace {

std::size_t count(std::u16string_view text, std::u16string_view search) {
    std::size_t n = 0;
    for (std::size_t at = text.find(search); at != text.npos;
         at = text.find(search, at + search.size())) {
        ++n;
    }
    return n;
}

TEST(Template, HasItsLinesLengthAndLineEnds) {
    EXPECT_EQ(kTemplate.size(), 1697U);
    EXPECT_EQ(count(kTemplate, u"\r\n"), 25U);
    EXPECT_EQ(count(kTemplate, u"\n"), 25U);
    EXPECT_EQ(count(kTemplate, u"\r"), 25U);
    EXPECT_TRUE(kTemplate.ends_with(u"\r\n"));
    EXPECT_NE(kTemplate.find(u"\r\n.all-cats  .link .title:hover{color:#cc0066}\r\n"),
              kTemplate.npos);
    std::size_t tokens = 0;
    for (const Slot &slot : kSlots) {
        if (slot.number != 14 && slot.number != 15) {
            tokens += count(kTemplate, slot.token);
        }
    }
    EXPECT_EQ(tokens, 29U);
}

TEST(Generator, StartValuesGiveTheWorkedResult) {
    EXPECT_EQ(utf8FromUtf16(generateCss(startValues())), test::workedResult());
}

TEST(Generator, ReusedOutputBufferGivesTheSameText) {
    std::u16string out = u"left over from an earlier press";
    generateCss(startValues(), out);
    generateCss(startValues(), out);
    EXPECT_EQ(utf8FromUtf16(out), test::workedResult());
}

struct ReplaceCase {
    const char *name;
    std::u16string text, search, replacement, expected;
};

void PrintTo(const ReplaceCase &c, std::ostream *os) { *os << c.name; }

class ReplaceTest : public testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceTest, FollowsTheScanRules) {
    const ReplaceCase &c = GetParam();
    EXPECT_EQ(Replace(c.text, c.search, c.replacement), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Semantics, ReplaceTest,
    testing::Values(
        ReplaceCase{"EveryOccurrence", u"a-b-a-b", u"a", u"x", u"x-b-x-b"},
        ReplaceCase{"MatchesDoNotOverlap", u"aaaaa", u"aa", u"b", u"bba"},
        ReplaceCase{"InsertedTextIsNotRescanned", u"ab", u"a", u"aa", u"aab"},
        ReplaceCase{"ReplacementRecreatingTheSearchStays", u"aab", u"ab", u"b", u"ab"},
        ReplaceCase{"EmptyReplacementDeletes", u"x1pxy1px", u"1px", u"", u"xy"},
        ReplaceCase{"EmptyTextStaysEmpty", u"", u"#000000", u"x", u""},
        ReplaceCase{"CaseSensitive", u"#00FF00 #00ff00", u"#00ff00", u"X", u"#00FF00 X"},
        ReplaceCase{"NoMatchKeepsText", u"color:#FFFFFF", u"#ffffff", u"X", u"color:#FFFFFF"},
        ReplaceCase{"TailOfALongerNumber", u"11px", u"1px", u"0px", u"10px"},
        ReplaceCase{"WholeText", u"UTDD", u"UTDD", u"二级背", u"二级背"},
        ReplaceCase{"CodeUnitsOfASurrogatePair", u"a\U0001F600b", u"\U0001F600", u"-", u"a-b"},
        ReplaceCase{"EmptySearchChangesNothing", u"abc", u"", u"x", u"abc"}),
    [](const testing::TestParamInfo<ReplaceCase> &info) { return info.param.name; });

/** A case of values that the literal step order would rewrite. */
struct ValueCase {
    const char *name;
    std::function<void(StyleValues &)> set;
    std::u16string mustContain;  ///< a piece of output that proves the value survived
};

void PrintTo(const ValueCase &c, std::ostream *os) { *os << c.name; }

class TypedValuesTest : public testing::TestWithParam<ValueCase> {};

TEST_P(TypedValuesTest, AppearExactlyAsTyped) {
    StyleValues values = startValues();
    GetParam().set(values);
    const std::u16string css = generateCss(values);
    EXPECT_EQ(css, test::expectedGeneration(values));
    EXPECT_NE(css.find(GetParam().mustContain), css.npos) << utf8FromUtf16(css);
}

const std::u16string kLinkTitle =
    u".skin-box-bd .menu-list .menu .link .title{background:none;color:";

INSTANTIATE_TEST_SUITE_P(
    Mend, TypedValuesTest,
    testing::Values(
        ValueCase{"DarkGreyNavigationText", [](StyleValues &v) { v.slot(2) = u"#333333"; },
                  kLinkTitle + u"#333333;Quobrin;}"},
        ValueCase{"RedNavigationText", [](StyleValues &v) { v.slot(2) = u"#ff0000"; },
                  kLinkTitle + u"#ff0000;Quobrin;}"},
        ValueCase{"BlueAllCategoriesText", [](StyleValues &v) { v.slot(7) = u"#0000ff"; },
                  u".all-cats .link .title{color:#0000ff;"},
        ValueCase{"BlueSecondLevelText", [](StyleValues &v) { v.slot(16) = u"#0000ff"; },
                  u".snd-cat-name{color:#0000ff;}"},
        ValueCase{"ImageAddressWith1px",
                  [](StyleValues &v) { v.slot(1) = u"https://img.example/O1CN011pxQ.jpg"; },
                  u"/*页头背景颜色设置成url(https://img.example/O1CN011pxQ.jpg)可以"},
        ValueCase{"SnippetAddressWith1px",
                  [](StyleValues &v) { v.images[1] = u"https://img.example/a1px.gif"; },
                  u"background:url(https://img.example/a1px.gif);}"},
        ValueCase{"BoldDeclarationTyped",
                  [](StyleValues &v) { v.slot(11) = u"#fff;font-weight:bold"; },
                  u".fst-cat-name{color:#fff;font-weight:bold;}"},
        ValueCase{"SharedTokenInFirstDropDown", [](StyleValues &v) { v.slot(10) = u"#99ff00"; },
                  u".snd-cat-hd{background-color:#99ff00;}"},
        ValueCase{"PlaceholderTypedInASlot", [](StyleValues &v) { v.slot(2) = u"UTDD 二级背"; },
                  kLinkTitle + u"UTDD 二级背;"},
        ValueCase{"TokenInAnImageBox", [](StyleValues &v) { v.images[0] = u"#000000"; },
                  u".cat-hd-hover{background:#000000;}"},
        ValueCase{
            "ColourInTheBarBackgroundEveryPlace", [](StyleValues &v) { v.slot(1) = u"#C40000"; },
            u".skin-box-bd{background:#C40000;}/*页头背景颜色设置成#C40000可以做成宽屏的导航*/"
            u"\r\n.skin-box-bd .menu-list{background:#C40000;}"},
        ValueCase{"ColourInTheFirstDropDownEveryPlaceNextToAnAddress",
                  [](StyleValues &v) {
                      v.slot(10) = u"#C40000";
                      v.slot(6) = u"http://a/b.jpg";
                  },
                  u".fst-cat-bd{padding:0px;margin:0px;background-color:#C40000;}\r\n"
                  u".snd-pop-inner .fst-cat-bd .snd-cat-hd{background-color:#C40000;}"},
        ValueCase{"SpaceBeforeAColourIsNoColour", [](StyleValues &v) { v.slot(4) = u" #C40000"; },
                  u".link:hover{background:url( #C40000);}"},
        ValueCase{"FiveDigitsAreNoColour", [](StyleValues &v) { v.slot(8) = u"#C4000"; },
                  u".all-cats .link:hover{background:url(#C4000);}"},
        ValueCase{"ColourFunctionInAHiddenSlot",
                  [](StyleValues &v) { v.slot(5) = u"rgb(196,0,0)"; },
                  u".title:hover{color:rgb(196,0,0)}"},
        ValueCase{"ColourNameInAHiddenSlot", [](StyleValues &v) { v.slot(17) = u"Navy"; },
                  u"{color:;background-color:Navy;}"},
        ValueCase{"TranslucentColourInAHiddenSlot",
                  [](StyleValues &v) { v.slot(13) = u"rgba(0, 0, 0, 0.5)"; },
                  u".fst-cat:hover{background:rgba(0, 0, 0, 0.5);}"},
        ValueCase{"ColourInTheSubmenuImageBox", [](StyleValues &v) { v.images[1] = u"red"; },
                  u".fst-cat-bd{padding:0px;margin:0px;background-color:url();background:red;}"},
        ValueCase{"DroppedNameBesideAShortColour",
                  [](StyleValues &v) {
                      v.images[0] = u"pink";
                      v.images[2] = u"#c40";
                  },
                  u"{background:url(pink);}.fst-cat-bd"},
        ValueCase{"SlotFourteenAndFifteenStayOut",
                  [](StyleValues &v) {
                      v.slot(2) = u"#333333";
                      v.slot(14) = u"LOST";
                      v.slot(15) = u"LOST";
                  },
                  u"fst-cat-name:hover{color:#333333}"},
        ValueCase{"SurrogatesAndLineBreaks",
                  [](StyleValues &v) { v.slot(7) = u"\U0001F600\r\n\xD800"; },
                  u"{color:\U0001F600\r\n\xD800;"}),
    [](const testing::TestParamInfo<ValueCase> &info) { return info.param.name; });

TEST(Generator, TokenFreeValuesMatchTheLiteralStepOrder) {
    // Random values built from pieces that hold no token, "1px" or "font-weight:bold".
    const std::u16string pieces[] = {
        u"#FFFFFF", u"#ffffff", u"http://a/b.jpg",   u"url(", u")", u"二级背", u"px", u"0",
        u"\r\n",    u"",        u"font-weight: bold"};
    std::mt19937 random(20261208);
    for (int round = 0; round < 200; ++round) {
        StyleValues values;
        auto fill = [&](std::u16string &value) {
            for (int n = static_cast<int>(random() % 4); n > 0; --n) {
                value += pieces[random() % std::size(pieces)];
            }
        };
        std::for_each(values.slots.begin(), values.slots.end(), fill);
        std::for_each(values.images.begin(), values.images.end(), fill);
        ASSERT_EQ(generateCss(values), test::literalGeneration(values)) << "round " << round;
    }
}

TEST(Generator, AdversarialValuesAppearAsTyped) {
    // Values made of tokens and search strings, which the literal order would rewrite.
    std::vector<std::u16string> pieces = {u"1px", u"font-weight:bold", u"UTDD", u"移二背", u"1",
                                          u"px"};
    for (const Slot &slot : kSlots) {
        pieces.emplace_back(slot.token);
    }
    std::mt19937 random(8122026);
    for (int round = 0; round < 200; ++round) {
        StyleValues values;
        auto fill = [&](std::u16string &value) {
            for (int n = static_cast<int>(random() % 3); n > 0; --n) {
                value += pieces[random() % pieces.size()];
            }
        };
        std::for_each(values.slots.begin(), values.slots.end(), fill);
        std::for_each(values.images.begin(), values.images.end(), fill);
        ASSERT_EQ(generateCss(values), test::expectedGeneration(values)) << "round " << round;
    }
}

TEST(ClearValues, EmptiesSlotsOneToSixteenAndTheImageBoxes) {
    StyleValues values = startValues();
    values.slot(17) = u"kept";
    values.slot(18) = u"also kept";
    values.images = {u"a", u"b", u"c"};
    clearValues(values);
    StyleValues expected;
    expected.slot(17) = u"kept";
    expected.slot(18) = u"also kept";
    EXPECT_EQ(values, expected);

    const std::u16string css = generateCss(values);
    EXPECT_EQ(css, test::literalGeneration(values));
    EXPECT_NE(css.find(u"border-right:0px solid ;"), css.npos);
    EXPECT_NE(css.find(u".cat-hd-hover{background:url();}"), css.npos);
}

TEST(SlotTable, NumbersOutsideTheTableDoNotExist) {
    StyleValues values;
    for (int number : {0, 19, -1}) {
        EXPECT_THROW(values.slot(number), std::out_of_range) << number;
    }
    EXPECT_EQ(&values.slot(18), &values.slots.back());
}

struct Utf8Case {
    const char *name;
    std::string bytes;
    bool valid;
};

void PrintTo(const Utf8Case &c, std::ostream *os) { *os << c.name; }

class Utf8Test : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Test, RoundTripsOrRejects) {
    const auto text = utf16FromUtf8(GetParam().bytes);
    ASSERT_EQ(text.has_value(), GetParam().valid);
    if (text) {
        EXPECT_EQ(utf8FromUtf16(*text), GetParam().bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Conversion, Utf8Test,
    testing::Values(
        Utf8Case{"Ascii", "#FFFFFF", true}, Utf8Case{"Chinese", "导航背景图：", true},
        Utf8Case{"FourByte", "\xF0\x9F\x98\x80", true}, Utf8Case{"Empty", "", true},
        Utf8Case{"Nul", std::string("a\0b", 3), true}, Utf8Case{"LoneContinuation", "\x80", false},
        Utf8Case{"CutSequence", "\xE5\xAF", false}, Utf8Case{"Overlong", "\xC0\xAF", false},
        Utf8Case{"EncodedSurrogate", "\xED\xA0\x80", false},
        Utf8Case{"PastUnicode", "\xF4\x90\x80\x80", false}, Utf8Case{"Latin1", "caf\xE9", false}),
    [](const testing::TestParamInfo<Utf8Case> &info) { return info.param.name; });

TEST(Utf16ToUtf8, LoneSurrogateBecomesReplacementCharacter) {
    EXPECT_EQ(utf8FromUtf16(u"a\xDC00"), "a\xEF\xBF\xBD");
}

}  // namespace
}  // namespace velmora
