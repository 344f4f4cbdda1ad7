#include <gtest/gtest.h>

#include "cli/preset.h"
#include "cli/preview.h"
#include "cli/valuecheck.h"
#include "core/utf.h"

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
    testing::Values(PresetErrorCase{"UnknownName", "slot.1=a\ncolour=red\n", 2,
                                    "unknown name 'colour'"},
                    PresetErrorCase{"NoEquals", "# c\n\nslot.2\n", 3, "no '='"},
                    PresetErrorCase{"SlotZero", "slot.0=a", 1, "'slot.0'"},
                    PresetErrorCase{"SlotNineteen", "slot.19=a", 1, "'slot.19'"},
                    PresetErrorCase{"SlotSigned", "slot.+1=a", 1, "'slot.+1'"},
                    PresetErrorCase{"InvalidUtf8", "slot.1=ok\r\nslot.2=caf\xE9\r\n", 2, "UTF-8"},
                    PresetErrorCase{"UnknownEscape", "slot.2=C:\\dir", 1, "backslash"},
                    PresetErrorCase{"CutEscape", "slot.2=a\\", 1, "backslash"}),
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

struct CheckCase {
    const char *name;
    int slot;  ///< 0 for the submenu image box
    std::u16string value;
    std::vector<std::string> warnings;  ///< a piece of each expected warning
};
void PrintTo(const CheckCase &c, std::ostream *os) { *os << c.name; }

class CheckTest : public testing::TestWithParam<CheckCase> {};

TEST_P(CheckTest, WarnsAboutWhatLooksWrong) {
    StyleValues values = startValues();
    values.slot(5).clear();  // its start value is no address
    (GetParam().slot == 0 ? values.images[1] : values.slot(GetParam().slot)) = GetParam().value;
    const std::vector<std::string> warnings = checkValues(values);
    ASSERT_EQ(warnings.size(), GetParam().warnings.size()) << (warnings.empty() ? "" : warnings[0]);
    for (std::size_t i = 0; i < warnings.size(); ++i) {
        EXPECT_NE(warnings[i].find(GetParam().warnings[i]), std::string::npos) << warnings[i];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, CheckTest,
    testing::Values(
        CheckCase{"ShortHex", 2, u"#fA0", {}}, CheckCase{"LongHex", 7, u"#00ff00", {}},
        CheckCase{"Keyword", 11, u"DarkRed", {}}, CheckCase{"EmptyColour", 16, u"", {}},
        CheckCase{"EmptyImage", 1, u"", {}},
        CheckCase{
            "FourDigits", 2, u"#ffff", {"导航文字颜色： (slot 2): '#ffff' is not a CSS colour"}},
        CheckCase{"NoHash", 7, u"ff0000", {"(slot 7)"}},
        CheckCase{"Function", 11, u"rgb(1,2,3)", {"not a CSS colour"}},
        CheckCase{"HiddenSlotToo", 18, u"blu", {"鼠标移至,二级下拉菜单文字颜色： (slot 18)"}},
        CheckCase{"ImageAddress", 4, u"https://img.example/a.jpg", {}},
        CheckCase{
            "ImageWithoutScheme", 4, u"img.example/a.jpg", {"not an http:// or https:// address"}},
        CheckCase{"SchemeOnly", 4, u"http://", {"not an http"}},
        CheckCase{"ImageBox", 0, u"ftp://a/b.jpg", {"(--submenu-image)"}},
        CheckCase{"TrailingSpace", 2, u"#fff ", {"has spaces at its start or end"}},
        CheckCase{"IdeographicSpace", 1, u"　http://a/b.jpg", {"has spaces"}},
        CheckCase{"SpaceAndWrong", 2, u" x", {"has spaces", "not a CSS colour"}}),
    [](const testing::TestParamInfo<CheckCase> &info) { return info.param.name; });

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
