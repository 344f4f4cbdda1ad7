#include "core/valuesfile.h"

#include <gtest/gtest.h>

#include "core/preview.h"
#include "core/utf.h"
#include "core/valuecheck.h"

namespace velmora {
namespace {

class PresetRoundTripTest : public testing::TestWithParam<std::u16string> {};

TEST_P(PresetRoundTripTest, KeepsAwkwardValuesExactly) {
    StyleValues saved = startValues();
    saved.slot(3) = GetParam();
    saved.slot(18) = GetParam() + u"x";
    saved.images[1] = GetParam();
    StyleValues loaded;
    ASSERT_EQ(applyPreset(presetText(saved), loaded), std::nullopt);
    EXPECT_EQ(loaded, saved);
}

INSTANTIATE_TEST_SUITE_P(Values, PresetRoundTripTest,
                         testing::Values(u"", u"a=b==c", u"#fff # not a comment", u"  lead",
                                         u"trail  ", u"back\\slash\\", u"line\nbreak", u"cr\r\nlf",
                                         u"\\n", u"中文　", u"#comment"));

struct PresetErrorCase {
    const char *name;
    std::string text;
    int line;
    std::string says;
};
void PrintTo(const PresetErrorCase &c, std::ostream *os) { *os << c.name; }

class PresetErrorTest : public testing::TestWithParam<PresetErrorCase> {};

TEST_P(PresetErrorTest, NamesTheLineAndTheProblem) {
    StyleValues values;
    const auto error = applyPreset(GetParam().text, values);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->line, GetParam().line);
    EXPECT_NE(error->message.find(GetParam().says), std::string::npos) << error->message;
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, PresetErrorTest,
    testing::Values(
        PresetErrorCase{"UnknownName", "slot.1=a\ncolour=red\n", 2, "unknown name 'colour'"},
        PresetErrorCase{"NoEquals", "# c\n\nslot.2\n", 3, "no '='"},
        PresetErrorCase{"SlotZero", "slot.0=a", 1, "'slot.0'"},
        PresetErrorCase{"SlotNineteen", "slot.19=a", 1, "'slot.19'"},
        PresetErrorCase{"SlotSigned", "slot.+1=a", 1, "'slot.+1'"},
        PresetErrorCase{"InvalidUtf8", "slot.1=ok\r\nslot.2=caf\xE9\r\n", 2, "UTF-8"},
        PresetErrorCase{"InvalidUtf8InComment", "slot.1=a\n# caf\xE9\n", 2, "UTF-8"},
        PresetErrorCase{"InvalidUtf8InBlankLine", "\n\n  \xA0\n", 3, "UTF-8"},
        PresetErrorCase{"CrOnlyLinesCounted", "slot.1=a\rslot.2=b\rslot.3\r", 3, "no '='"},
        PresetErrorCase{"CrLfIsOneLineEnd", "slot.1=a\r\n\r\nslot.99=b\r\n", 3, "'slot.99'"},
        PresetErrorCase{"ControlsInNameShownEscaped", "\x1b[2Jx\ty=1\n", 1,
                        "unknown name '\\x1b[2Jx\\ty'"},
        PresetErrorCase{"UnknownEscape", "slot.2=C:\\dir", 1, "backslash"},
        PresetErrorCase{"CutEscape", "slot.2=a\\", 1, "backslash"},
        PresetErrorCase{"NulInAValue", std::string("slot.1=a\nslot.2=\xE7\xBA\xA2\0b\n", 22), 2,
                        "NUL character at column 9"},
        PresetErrorCase{"NulInAComment", std::string("#\0\n", 3), 1, "column 2"}),
    [](const testing::TestParamInfo<PresetErrorCase> &info) { return info.param.name; });

TEST(Preset, ReadsWhatPeopleWriteByHand) {
    StyleValues values = startValues();
    const std::string text =
        "\xEF\xBB\xBF# my shop\r\n\r\n  submenu-image = http://a/b.jpg\r\n   \n"
        "  # indented comment\nslot.2=#111\nslot.2=#222\n";
    ASSERT_EQ(applyPreset(text, values), std::nullopt);
    StyleValues expected = startValues();
    expected.images[1] = u" http://a/b.jpg";
    expected.slot(2) = u"#222";
    EXPECT_EQ(values, expected);
}

struct LineEndCase {
    const char *name;
    std::string text;
};
void PrintTo(const LineEndCase &c, std::ostream *os) { *os << c.name; }

class PresetLineEndTest : public testing::TestWithParam<LineEndCase> {};

TEST_P(PresetLineEndTest, EveryLineIsRead) {
    StyleValues values = startValues();
    ASSERT_EQ(applyPreset(GetParam().text, values), std::nullopt);
    StyleValues expected = startValues();
    expected.slot(1) = u"a";
    expected.slot(2) = u"b";
    expected.images[0] = u"c";
    EXPECT_EQ(values, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PresetLineEndTest,
    testing::Values(LineEndCase{"Lf", "# x\nslot.1=a\nslot.2=b\nmenu-hover-image=c\n"},
                    LineEndCase{"CrLf", "# x\r\nslot.1=a\r\nslot.2=b\r\nmenu-hover-image=c\r\n"},
                    LineEndCase{"Cr", "# x\rslot.1=a\rslot.2=b\rmenu-hover-image=c\r"},
                    LineEndCase{"Mixed", "# x\rslot.1=a\r\n\nslot.2=b\n\rmenu-hover-image=c"}),
    [](const testing::TestParamInfo<LineEndCase> &info) { return info.param.name; });

struct PrintableCase {
    const char *name;
    std::string text, shown;
};
void PrintTo(const PrintableCase &c, std::ostream *os) { *os << c.name; }

class PrintableTest : public testing::TestWithParam<PrintableCase> {};

TEST_P(PrintableTest, ShowsControlsAsEscapesAndIsStable) {
    EXPECT_EQ(printable(GetParam().text), GetParam().shown);
    EXPECT_EQ(printable(GetParam().shown), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PrintableTest,
    testing::Values(PrintableCase{"Plain", "#FFF 红色 \\n", "#FFF 红色 \\n"},
                    PrintableCase{"LineEnds", "a\r\nb\tc", "a\\r\\nb\\tc"},
                    PrintableCase{"Escape", "\x1b[31mred", "\\x1b[31mred"},
                    PrintableCase{"OtherC0AndDel", std::string("\0\x01\x7f", 3), "\\x00\\x01\\x7f"},
                    PrintableCase{"C1",
                                  "\xC2\x9B"
                                  "2J",
                                  "\\u009b2J"},
                    PrintableCase{"NotUtf8", "caf\xE9 \xE4\xB8", "caf\\xe9 \\xe4\\xb8"}),
    [](const testing::TestParamInfo<PrintableCase> &info) { return info.param.name; });

using P = Problem;

struct CheckCase {
    const char *name;
    bool image;
    std::u16string value;
    std::vector<Problem> problems;
    int box = -1;  ///< when set, the value is checked as this box's, its kind from the box
};
void PrintTo(const CheckCase &c, std::ostream *os) { *os << c.name; }

class CheckTest : public testing::TestWithParam<CheckCase> {};

TEST_P(CheckTest, FindsWhatTheShopEditorWouldNotTake) {
    const CheckCase &c = GetParam();
    EXPECT_EQ(c.box < 0 ? checkValue(c.image, c.value) : checkValue(c.box, c.value), c.problems);
}

constexpr const char16_t *kAli = u"https://img.alicdn.com/imgextra/i1/a.jpg";

INSTANTIATE_TEST_SUITE_P(
    Values, CheckTest,
    testing::Values(
        CheckCase{"EmptyColour", false, u"", {}}, CheckCase{"EmptyImage", true, u"", {}},
        CheckCase{"ShortHex", false, u"#fA0", {}}, CheckCase{"LongHex", false, u"#00ff00", {}},
        CheckCase{"Rgb", false, u"rgb(1, 2, 255)", {}},
        CheckCase{"RgbPercent", false, u"RGB(10%,20%,100%)", {}},
        CheckCase{"Rgba", false, u"rgba(0,0,0,0.5)", {}},
        CheckCase{"BasicName", false, u"Orange", {}},
        CheckCase{"OtherNameIsDropped", false, u"DarkRed", {P::DroppedColourName}},
        CheckCase{"FourDigits", false, u"#ffff", {P::NotAColour}},
        CheckCase{"NoHash", false, u"ff0000", {P::NotAColour}},
        CheckCase{"ChannelOver255", false, u"rgb(1,2,256)", {P::NotAColour}},
        CheckCase{"RgbMissingChannel", false, u"rgb(1,2)", {P::NotAColour}},
        CheckCase{"RgbaMissingAlpha", false, u"rgba(1,2,3)", {P::NotAColour}},
        CheckCase{"AlphaOverOne", false, u"rgba(1,2,3,2)", {P::NotAColour}},
        CheckCase{"RgbWithAlpha", false, u"rgb(1,2,3,4)", {P::NotAColour}},
        CheckCase{"RgbaWithFiveArguments", false, u"rgba(1,2,3,0.5,9)", {P::NotAColour}},
        CheckCase{"NumbersAndPercentMixed", false, u"rgb(255,100%,0)", {P::NotAColour}},
        CheckCase{"PercentThenNumbers", false, u"rgb(10%,20,30)", {P::NotAColour}},
        CheckCase{"NumberEndingInDot", false, u"rgba(255,0,0,1.)", {P::NotAColour}},
        CheckCase{"PercentEndingInDot", false, u"rgb(5.%,0%,0%)", {P::NotAColour}},
        CheckCase{"ExponentWithoutDigits", false, u"rgb(1e,2,3)", {P::NotAColour}},
        CheckCase{"NegativeChannel", false, u"rgb(-1,0,0)", {P::NotAColour}},
        CheckCase{"SignsExponentsAndCssSpaces", false, u"rgba(\t+1,\n1E2 ,-0,+.5e0)", {}},
        CheckCase{"TrailingSpace", false, u"#fff ", {P::Spaces}},
        CheckCase{"SpaceAndWrong", false, u" x", {P::Spaces, P::NotAColour}},
        CheckCase{"MarketplaceImage", true, kAli, {}},
        CheckCase{"EveryHost", true, u"https://gd1.taobaocdn.com/a.png", {}},
        CheckCase{"BareDomain", true, u"https://tmall.com/a.png", {}},
        CheckCase{"UpperCaseSchemeAndHost", true, u"HTTPS://IMG.ALICDN.COM/a.png", {}},
        CheckCase{"PortAllowed", true, u"https://img.alicdn.com:443/a.png", {}},
        CheckCase{"ChinesePath", true, u"https://img.alicdn.com/图片.png", {}},
        CheckCase{"OtherHost", true, u"https://img.example.com/a.jpg", {P::ForeignHost}},
        CheckCase{"LookAlikeHost", true, u"https://evilalicdn.com/a.jpg", {P::ForeignHost}},
        CheckCase{"LookAlikeSubdomain", true, u"https://img.nottmall.com/a.jpg", {P::ForeignHost}},
        CheckCase{"HostInPath", true, u"https://a.example/img.alicdn.com/a", {P::ForeignHost}},
        CheckCase{
            "UserPartIsNoHost", true, u"https://img.alicdn.com@evil.example/a", {P::ForeignHost}},
        CheckCase{"Http", true, u"http://img.alicdn.com/a.jpg", {P::NotHttps}},
        CheckCase{"HttpElsewhere", true, u"http://a.example/b.jpg", {P::NotHttps, P::ForeignHost}},
        CheckCase{"NoScheme", true, u"img.alicdn.com/a.jpg", {P::NotAnAddress}},
        CheckCase{"SchemeOnly", true, u"https://", {P::NotAnAddress}},
        CheckCase{"Ftp", true, u"ftp://img.alicdn.com/a", {P::NotAnAddress}},
        CheckCase{"ClosingParen", true, u"https://img.alicdn.com/a).jpg", {P::BreaksUrl}},
        CheckCase{"Quote", true, u"https://img.alicdn.com/a'.jpg", {P::BreaksUrl}},
        CheckCase{"InnerSpace", true, u"https://img.alicdn.com/a b.jpg", {P::BreaksUrl}},
        CheckCase{"LineBreak", true, u"https://img.alicdn.com/a\nb.jpg", {P::BreaksUrl}},
        CheckCase{"IdeographicSpace", true, u"　https://img.alicdn.com/a.jpg", {P::Spaces}},
        CheckCase{"ImageColourWithSpace", true, u"#C40000 ", {P::SpacedColour}},
        CheckCase{"LocalImage", true, u"file:///home/a/%E5%9B%BE.png", {P::LocalFile}},
        CheckCase{"LocalWindowsImage", true, u"FILE:///C:/图/a.png", {P::LocalFile}},
        CheckCase{
            "LocalImageSpace", true, u"file:///a b.png ", {P::Spaces, P::LocalFile, P::BreaksUrl}},
        CheckCase{
            "SlotOneEndsComment", true, u"https://img.alicdn.com/a*/b.jpg", {P::EndsComment}, 0},
        CheckCase{"SlotOneAllProblems",
                  true,
                  u"http://a.example/*/",
                  {P::NotHttps, P::ForeignHost, P::EndsComment},
                  0},
        CheckCase{"SlotOneOpeningOnly", true, u"https://img.alicdn.com/a/*b.jpg", {}, 0},
        CheckCase{"OtherImageBoxHasNoComment",
                  true,
                  u"https://img.alicdn.com/a*/b.jpg",
                  {},
                  imageBoxNumber(0)},
        CheckCase{"BoxGivesItsKind", false, kAli, {P::NotAColour}, 1}),
    [](const testing::TestParamInfo<CheckCase> &info) { return info.param.name; });

struct ColourCase {
    const char *name;
    std::u16string value;
    Rgb colour;
    std::u16string hex;
};
void PrintTo(const ColourCase &c, std::ostream *os) { *os << c.name; }

class ColourTest : public testing::TestWithParam<ColourCase> {};

TEST_P(ColourTest, ParsesToTheColourAndWritesItUpperCase) {
    EXPECT_EQ(parseColour(GetParam().value), GetParam().colour);
    EXPECT_EQ(hexColour(GetParam().colour), GetParam().hex);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ColourTest,
    testing::Values(ColourCase{"Short", u"#f80", {255, 136, 0}, u"#FF8800"},
                    ColourCase{"Long", u"#0a0B0c", {10, 11, 12}, u"#0A0B0C"},
                    ColourCase{"Name", u"orange", {255, 165, 0}, u"#FFA500"},
                    ColourCase{"Function", u"rgb( 1 ,2, 3 )", {1, 2, 3}, u"#010203"},
                    ColourCase{"Percent", u"rgb(100%,50%,0%)", {255, 128, 0}, u"#FF8000"},
                    ColourCase{
                        "PercentFractions", u"rgb(12.5%,.5%,99.9%)", {32, 1, 255}, u"#2001FF"},
                    ColourCase{"HalvesUp", u"rgb(0.5,2.5e0,25e-1)", {1, 3, 3}, u"#010303"}),
    [](const testing::TestParamInfo<ColourCase> &info) { return info.param.name; });

TEST(Check, EveryBoxIsCheckedByItsKind) {
    StyleValues values = startValues();
    values.slot(5).clear();  // hidden, and its start value is no address
    values.slot(18) = u"blu";
    values.images[1] = u"ftp://a";
    const std::vector<Finding> findings = checkValues(values);
    ASSERT_EQ(findings.size(), 2U);
    EXPECT_EQ(findings[0].box, 17);
    EXPECT_EQ(findings[0].problem, P::NotAColour);
    EXPECT_EQ(findings[1].box, imageBoxNumber(1));
    EXPECT_EQ(findings[1].problem, P::NotAnAddress);
}

TEST(Preview, ValuesCannotBreakOutOfThePage) {
    StyleValues values = startValues();
    values.slot(2) = u"red</style><script>alert(1)</script>";
    const std::string page = previewPage(utf8FromUtf16(generateCss(values)));
    // Inside a style element only "</style" ends it; the value's is written as "<\/style".
    EXPECT_NE(page.find("red<\\/style><script>"), std::string::npos);
    std::size_t closings = 0;
    for (std::size_t at = page.find("</style>"); at != std::string::npos;
         at = page.find("</style>", at + 1)) {
        ++closings;
    }
    EXPECT_EQ(closings, 3U);  // the page's own three style elements
    EXPECT_NE(page.find("red&lt;/style&gt;&lt;script&gt;"), std::string::npos);
}

}  // namespace
}  // namespace velmora
