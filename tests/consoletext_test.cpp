#include "cli/consoletext.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace velmora {
namespace {

struct ArgumentCase {
    const char *name;
    std::u16string wide;
    std::optional<std::string> utf8;
};

void PrintTo(const ArgumentCase &c, std::ostream *os) { *os << c.name; }

class ArgumentTest : public testing::TestWithParam<ArgumentCase> {};

TEST_P(ArgumentTest, BecomesUtf8OrIsRefused) {
    EXPECT_EQ(utf8FromArgument(GetParam().wide), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ArgumentTest,
    testing::Values(ArgumentCase{"Empty", u"", ""}, ArgumentCase{"Ascii", u"--slot", "--slot"},
                    ArgumentCase{"Chinese", u"导航条.css", "导航条.css"},
                    ArgumentCase{"SurrogatePair", u"a\U0001F600", "a\xF0\x9F\x98\x80"},
                    ArgumentCase{"LoneHigh", std::u16string{u'a', char16_t(0xD83D)}, std::nullopt},
                    ArgumentCase{"LoneLow", std::u16string{char16_t(0xDE00), u'a'}, std::nullopt},
                    ArgumentCase{"HighThenHigh",
                                 std::u16string{char16_t(0xD83D), char16_t(0xD83D), u'a'},
                                 std::nullopt}),
    [](const testing::TestParamInfo<ArgumentCase> &info) { return info.param.name; });

/** What a Utf16Writer hands on, write by write, when the bytes come in the pieces given. */
std::vector<std::u16string> handedOn(const std::vector<std::string> &pieces) {
    std::vector<std::u16string> got;
    {
        Utf16Writer writer([&got](std::u16string_view text) {
            got.emplace_back(text);
            return true;
        });
        std::ostream stream(&writer);
        for (const std::string &piece : pieces) {
            stream << piece << std::flush;
        }
    }
    return got;
}

struct WriterCase {
    const char *name;
    std::vector<std::string> pieces;
    std::vector<std::u16string> expected;
};

void PrintTo(const WriterCase &c, std::ostream *os) { *os << c.name; }

class Utf16WriterTest : public testing::TestWithParam<WriterCase> {};

TEST_P(Utf16WriterTest, HandsOnWholeCharacters) {
    EXPECT_EQ(handedOn(GetParam().pieces), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, Utf16WriterTest,
    testing::Values(WriterCase{"Line", {"velmora-css: 导航\n"}, {u"velmora-css: 导航\n"}},
                    WriterCase{"CharacterCutBetweenWrites",
                               {"a\xE5\xAF",
                                "\xBC"
                                "b"},
                               {u"a", u"导b"}},
                    WriterCase{"FourByteCutTwice", {"\xF0\x9F", "\x98", "\x80!"}, {u"\U0001F600!"}},
                    WriterCase{"NotUtf8",
                               {"a\xFF"
                                "b\xC3(c"},
                               {u"a\uFFFDb\uFFFD(c"}},
                    WriterCase{"CutCharacterAtTheEnd", {"ok\xE5\xAF"}, {u"ok", u"\uFFFD\uFFFD"}},
                    WriterCase{"NothingWritten", {}, {}}),
    [](const testing::TestParamInfo<WriterCase> &info) { return info.param.name; });

TEST(Utf16Writer, AFailedWriteFailsTheStream) {
    Utf16Writer writer([](std::u16string_view) { return false; });
    std::ostream stream(&writer);
    stream << "x" << std::flush;
    EXPECT_TRUE(stream.bad());
}

}  // namespace
}  // namespace velmora
