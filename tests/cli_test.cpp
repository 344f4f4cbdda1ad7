#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "cli/cliapp.h"
#include "core/generator.h"
#include "core/png.h"
#include "core/utf.h"
#include "core/valuesfile.h"
#include "platform/files.h"
#include "testsupport.h"

namespace velmora {
namespace {

struct CliRun {
    int status;
    std::string out, err;
};

CliRun run(const std::vector<std::string> &args, const std::string &input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = runCli(args, in, out, err);
    return {status, out.str(), err.str()};
}

std::string cssFor(const std::function<void(StyleValues &)> &set) {
    StyleValues values = startValues();
    set(values);
    return utf8FromUtf16(generateCss(values));
}

/** 黑金 as --list-palettes prints it: slots 1 2 4 6 7 8 10 11 16, then the image boxes. */
void setBlackAndGold(StyleValues &v) {
    const char16_t *colours[] = {u"#111111", u"#E6C068", u"#333333", u"#000000",
                                 u"#E6C068", u"#2A2A2A", u"#1A1A1A", u"#E6C068",
                                 u"#E6C068", u"#3A3A3A", u"#222222", u"#444444"};
    const int numbers[] = {1, 2, 4, 6, 7, 8, 10, 11, 16};
    for (int i = 0; i < 9; ++i) {
        v.slot(numbers[i]) = colours[i];
    }
    v.images = {colours[9], colours[10], colours[11]};
}

struct GoodCase {
    const char *name;
    std::vector<std::string> args;
    std::function<void(StyleValues &)> expectedValues;
};

void PrintTo(const GoodCase &c, std::ostream *os) { *os << c.name; }

class CliOptionsTest : public testing::TestWithParam<GoodCase> {};

TEST_P(CliOptionsTest, WriteTheCssOfTheValuesGiven) {
    const CliRun result = run(GetParam().args);
    EXPECT_EQ(result.status, kExitOk);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, cssFor(GetParam().expectedValues));
}

INSTANTIATE_TEST_SUITE_P(
    Values, CliOptionsTest,
    testing::Values(
        GoodCase{"NoOptions", {}, [](StyleValues &) {}},
        GoodCase{"OneSlot", {"--slot", "2=#000"}, [](StyleValues &v) { v.slot(2) = u"#000"; }},
        GoodCase{"EqualsSyntax", {"--slot=2=#000"}, [](StyleValues &v) { v.slot(2) = u"#000"; }},
        GoodCase{
            "ValueHoldsEquals", {"--slot", "7=a=b"}, [](StyleValues &v) { v.slot(7) = u"a=b"; }},
        GoodCase{"EmptyValue", {"--slot", "5="}, [](StyleValues &v) { v.slot(5).clear(); }},
        GoodCase{"LeadingZero", {"--slot", "09=x"}, [](StyleValues &v) { v.slot(9) = u"x"; }},
        GoodCase{"LastOfARepeatedSlotWins",
                 {"--slot", "3=a", "--slot", "3=b", "--slot", "18=c"},
                 [](StyleValues &v) {
                     v.slot(3) = u"b";
                     v.slot(18) = u"c";
                 }},
        GoodCase{"ChineseAndSpacesKept",
                 {"--slot", "11= 红色 "},
                 [](StyleValues &v) { v.slot(11) = u" 红色 "; }},
        GoodCase{"ImageBoxes",
                 {"--menu-hover-image", "http://a/1.jpg", "--submenu-image", "",
                  "--submenu-hover-image=-x"},
                 [](StyleValues &v) {
                     v.images = {u"http://a/1.jpg", u"", u"-x"};
                 }},
        GoodCase{"EmptyAfterEqualsTakesNothingElse",
                 {"--menu-hover-image=", "--submenu-image=", "--slot=5="},
                 [](StyleValues &v) {
                     v.images[0].clear();
                     v.images[1].clear();
                     v.slot(5).clear();
                 }},
        GoodCase{"Cleared", {"--cleared"}, [](StyleValues &v) { clearValues(v); }},
        GoodCase{"PaletteThenSlotOnTop",
                 {"--palette", "黑金", "--slot", "2=#FFFFFF"},
                 [](StyleValues &v) {
                     setBlackAndGold(v);
                     v.slot(2) = u"#FFFFFF";
                 }},
        GoodCase{"PaletteOverSlot", {"--slot", "2=#000", "--palette", "黑金"}, setBlackAndGold},
        GoodCase{"OptionsApplyOnTopOfCleared",
                 {"--slot", "1=a", "--cleared", "--menu-hover-image", "b"},
                 [](StyleValues &v) {
                     clearValues(v);
                     v.slot(1) = u"a";
                     v.images[0] = u"b";
                 }}),
    [](const testing::TestParamInfo<GoodCase> &info) { return info.param.name; });

struct BadCase {
    const char *name;
    std::vector<std::string> args;
    std::string mentions;  ///< what the error line must name
};

void PrintTo(const BadCase &c, std::ostream *os) { *os << c.name; }

class CliErrorsTest : public testing::TestWithParam<BadCase> {};

TEST_P(CliErrorsTest, GiveOneLineAndStatusTwo) {
    const CliRun result = run(GetParam().args);
    EXPECT_EQ(result.status, kExitBadUsage);
    EXPECT_EQ(result.out, "");
    ASSERT_TRUE(result.err.starts_with("velmora-css: ")) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_TRUE(result.err.ends_with("\n"));
    EXPECT_NE(result.err.find(GetParam().mentions), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    BadCommandLines, CliErrorsTest,
    testing::Values(
        BadCase{"UnknownOption", {"--colour", "x"}, "--colour"},
        BadCase{"StrayArgument", {"extra"}, "extra"},
        BadCase{"MissingSlotArgument", {"--slot"}, "--slot"},
        BadCase{"MissingImageArgument", {"--submenu-image"}, "--submenu-image"},
        BadCase{"MissingOutputArgument", {"--output"}, "--output"},
        BadCase{"SlotZero", {"--slot", "0=x"}, "'0'"},
        BadCase{"SlotNineteen", {"--slot", "19=x"}, "'19'"},
        BadCase{"SlotWithSign", {"--slot", "+1=x"}, "'+1'"},
        BadCase{"SlotWithSpace", {"--slot", " 1=x"}, "' 1'"},
        BadCase{"SlotNotANumber", {"--slot", "two=x"}, "'two'"},
        BadCase{"SlotHuge", {"--slot", "99999999999999999999=x"}, "'99999999999999999999'"},
        BadCase{"SlotWithoutEquals", {"--slot", "2"}, "'2' has no '='"},
        BadCase{"InvalidUtf8", {"--slot", "2=caf\xE9"}, "argument 2 is not valid UTF-8"},
        BadCase{"EmptyOutput", {"--output", ""}, "--output: the file name is empty"},
        BadCase{"EmptyPreview", {"--preview", ""}, "--preview: the file name is empty"},
        BadCase{"EmptySaveValues", {"--save-values", ""}, "--save-values: the file name is empty"},
        BadCase{"EmptyValues", {"--values", ""}, "--values: the file name is empty"},
        BadCase{"ControlsInOptionShownEscaped", {"--\x1b[2J"}, "--\\x1b[2J"},
        BadCase{"UnknownPalette", {"--palette", "大红"}, "no palette is named '大红'"},
        BadCase{"MissingPaletteName", {"--palette"}, "--palette"},
        BadCase{"EmptyPaletteName", {"--palette="}, "--palette: the palette's name is missing"},
        BadCase{"EmptyBrandColour",
                {"--palette-from=", "--output", "x.css"},
                "--palette-from: the colour is missing"},
        BadCase{"UnknownPaletteBeforeListPalettes",
                {"--palette", "nope", "--list-palettes"},
                "no palette is named 'nope'"},
        BadCase{"UnknownPaletteAfterList", {"--list", "--palette", "大红"}, "'大红'"},
        BadCase{"BadSlotWithList", {"--slot", "19=x", "--list"}, "'19'"},
        BadCase{"BadBrandWithList", {"--list", "--palette-from", "darkred"}, "'darkred'"},
        BadCase{"BrandNotAColour", {"--palette-from", "darkred"}, "--palette-from: 'darkred'"},
        BadCase{"BrandTranslucent", {"--palette-from", "rgba(0,0,0,0.5)"}, "not an opaque colour"},
        BadCase{"MakeImageWithoutFile", {"--make-image", "#fff"}, "--make-image"},
        BadCase{"MakeImageWithOthers",
                {"--make-image", "#fff", "a.png", "--slot", "2=#000"},
                "--make-image is used on its own"}),
    [](const testing::TestParamInfo<BadCase> &info) { return info.param.name; });

TEST(Cli, ListsTheSlotTable) {
    const CliRun result = run({"--list"});
    EXPECT_EQ(result.status, kExitOk);
    std::istringstream lines(result.out);
    std::string line;
    std::vector<std::string> all;
    while (std::getline(lines, line)) {
        all.push_back(line);
    }
    ASSERT_EQ(all.size(), 18U);
    EXPECT_EQ(all[1], "2\tshown\tplain\t#333333\t#FFFFFF\t导航文字颜色：");
    EXPECT_EQ(all[4], "5\thidden\turl\t#dddddd\tText4\tLabel6");
    EXPECT_EQ(all[17], "18\thidden\tplain\t#0000ff\t\t鼠标移至,二级下拉菜单文字颜色：");
}

/** A stream whose every write fails, as on a full device. */
class FullDevice : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char *, std::streamsize) override { return 0; }
};

TEST(Cli, StandardOutputThatCannotBeWrittenIsAnError) {
    for (const std::vector<std::string> &args :
         {std::vector<std::string>{"--list"}, {"--help"}, {"--version"}, {"--slot", "2=#000"}}) {
        FullDevice full;
        std::ostream out(&full);
        std::istringstream in;
        std::ostringstream err;
        EXPECT_EQ(runCli(args, in, out, err), kExitFailed) << args[0];
        EXPECT_EQ(err.str(), "velmora-css: cannot write to standard output\n") << args[0];
    }
}

TEST(Cli, HelpAndVersionGoToStandardOutput) {
    struct Row {
        const char *option;
        const char *shows;
    };
    for (const Row &row : {
             Row{"--help", "velmora-css"},
             Row{"--version", "velmora-css"},
             // Two values, named as a person reads them, without CLI11's count.
             Row{"--help",
                 "\n  --make-image COLOUR FILE    Write a 950x30 PNG background filled with "
                 "COLOUR to FILE and exit\n"},
         }) {
        const CliRun result = run({row.option});
        EXPECT_EQ(result.status, kExitOk) << row.option;
        EXPECT_NE(result.out.find(row.shows), std::string::npos) << row.option << result.out;
        EXPECT_EQ(result.err, "") << row.option;
    }
}

class CliOutputFileTest : public testing::Test {
protected:
    void SetUp() override {
        // A folder of its own: a parameterised test's name holds a '/'.
        std::string error;
        m_dir = makePrivateFolder(error).value();
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(m_dir)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    std::filesystem::path m_dir;
};

TEST_F(CliOutputFileTest, WritesTheWholeFileAndNothingElse) {
    const std::string path = (m_dir / "nav.css").string();
    std::ofstream(path) << "an older, longer text that must be replaced entirely";
    const CliRun result = run({"--output", path, "--slot", "2=#000"});
    EXPECT_EQ(result.status, kExitOk);
    EXPECT_EQ(result.out, "");
    std::ifstream in(path, std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(written, cssFor([](StyleValues &v) { v.slot(2) = u"#000"; }));
    EXPECT_EQ(entries(), std::vector<std::string>{"nav.css"});
}

TEST_F(CliOutputFileTest, ValuesFilesApplyInTheOrderGiven) {
    const std::string preset = (m_dir / "shop.txt").string();
    std::ofstream(preset) << "slot.2=#222\nslot.3=#333\nsubmenu-image=from file\n";
    const CliRun result =
        run({"--slot", "2=before", "--values", preset, "--slot", "3=after", "--cleared"});
    EXPECT_EQ(result.status, kExitOk) << result.err;
    EXPECT_EQ(result.out, cssFor([](StyleValues &v) {
                  clearValues(v);
                  v.slot(2) = u"#222";
                  v.slot(3) = u"after";
                  v.images[1] = u"from file";
              }));
}

TEST_F(CliOutputFileTest, SavedValuesGiveTheSameCss) {
    const std::string preset = (m_dir / "saved.txt").string();
    const std::vector<std::string> options = {"--slot", "7= a=b\\n#c ", "--submenu-hover-image",
                                              "x\ny"};
    std::vector<std::string> saving = options;
    saving.insert(saving.end(), {"--save-values", preset});
    const CliRun saved = run(saving);
    const CliRun loaded = run({"--cleared", "--values", preset});
    EXPECT_EQ(saved.status, kExitOk);
    EXPECT_EQ(loaded.status, kExitOk) << loaded.err;
    EXPECT_EQ(loaded.out, saved.out);
    EXPECT_EQ(loaded.out, run(options).out);
}

TEST_F(CliOutputFileTest, BadValuesFileNamesFileAndLine) {
    const std::string preset = (m_dir / "bad.txt").string();
    std::ofstream(preset) << "# ok\nslot.2=#fff\nslot.99=x\n";
    std::ofstream(m_dir / "huge.txt").close();
    std::filesystem::resize_file(m_dir / "huge.txt", kMaxValuesFileBytes + 1);
    for (const auto &[path, says] :
         {std::pair{preset, preset + ":3: unknown name 'slot.99'"},
          std::pair{(m_dir / "none.txt").string(), std::string("cannot read")},
          std::pair{(m_dir / "huge.txt").string(), std::string("holds more than 256 MiB")},
          std::pair{std::string("/dev/zero"), std::string("holds more than 256 MiB")}}) {
        const CliRun result = run({"--values", path, "--output", (m_dir / "out.css").string()});
        EXPECT_EQ(result.status, kExitBadUsage);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(says), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
    }
    EXPECT_FALSE(std::filesystem::exists(m_dir / "out.css"));
}

struct SameFileCase {
    const char *name;
    std::vector<std::string> args;  ///< "@" stands for the test's folder
    int status;
};
void PrintTo(const SameFileCase &c, std::ostream *os) { *os << c.name; }

class CliSameFileTest : public CliOutputFileTest,
                        public testing::WithParamInterface<SameFileCase> {};

TEST_P(CliSameFileTest, OutputsNeverOverwriteInputsOrEachOther) {
    const std::string shop = (m_dir / "shop.txt").string();
    std::ofstream(shop) << "slot.2=#222\n";
    // Links may be missing where the system has none (wine has no symbolic links).
    std::error_code noLinks;
    std::filesystem::create_symlink("shop.txt", m_dir / "link.txt", noLinks);
    std::filesystem::create_hard_link(shop, m_dir / "hard.txt", noLinks);
    std::filesystem::create_symlink("new.css", m_dir / "dangling", noLinks);
    const std::vector<std::string> before = entries();
    std::vector<std::string> args = GetParam().args;
    for (std::string &arg : args) {
        if (arg.starts_with('@')) {
            if (!std::filesystem::exists(std::filesystem::symlink_status(m_dir / arg.substr(1))) &&
                arg != "@new.css" && arg != "@./new.css" && arg != "@a.css") {
                GTEST_SKIP() << arg.substr(1) << " cannot be made here";
            }
            arg = m_dir.string() + "/" + arg.substr(1);
        }
    }
    const CliRun result = run(args);
    EXPECT_EQ(result.status, GetParam().status) << result.err;
    if (result.status == kExitBadUsage) {
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_EQ(entries(), before);
        std::ifstream in(shop);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "slot.2=#222\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, CliSameFileTest,
    testing::Values(
        SameFileCase{"ValuesAsOutput", {"--values", "@shop.txt", "--output", "@shop.txt"}, 2},
        SameFileCase{
            "ValuesAsOutputSpeltWithDot", {"--values", "@shop.txt", "--output", "@./shop.txt"}, 2},
        SameFileCase{
            "ValuesAsPreviewThroughLink", {"--values", "@shop.txt", "--preview", "@link.txt"}, 2},
        SameFileCase{
            "ValuesAsOutputThroughHardLink", {"--values", "@hard.txt", "--output", "@shop.txt"}, 2},
        SameFileCase{
            "TwoOutputsOneNewFile", {"--output", "@new.css", "--preview", "@./new.css"}, 2},
        SameFileCase{"TwoOutputsThroughDanglingLink",
                     {"--save-values", "@dangling", "--output", "@new.css"},
                     2},
        SameFileCase{"ImportedCodeAsOutput", {"--import", "@shop.txt", "--output", "@link.txt"}, 2},
        SameFileCase{"SavingValuesBackIsFine",
                     {"--values", "@shop.txt", "--save-values", "@shop.txt", "--output", "@a.css"},
                     0}),
    [](const testing::TestParamInfo<SameFileCase> &info) { return info.param.name; });

struct QuotedCase {
    const char *name;
    std::vector<std::string> args;
    std::string valuesFile;  ///< the text of @values.txt
    std::string says;
};
void PrintTo(const QuotedCase &c, std::ostream *os) { *os << c.name; }

class CliQuotedTest : public CliOutputFileTest, public testing::WithParamInterface<QuotedCase> {};

TEST_P(CliQuotedTest, ShowsControlCharactersEscapedOneLineEach) {
    const std::string values = (m_dir / "values.txt").string();
    std::ofstream(values) << GetParam().valuesFile;
    std::vector<std::string> args = GetParam().args;
    std::replace(args.begin(), args.end(), std::string("@values.txt"), values);
    const CliRun result = run(args);
    EXPECT_NE(result.err.find(GetParam().says), std::string::npos) << result.err;
    std::istringstream lines(result.err);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_TRUE(line.starts_with("velmora-css: ")) << line;
        EXPECT_TRUE(std::none_of(line.begin(), line.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20;
        })) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Messages, CliQuotedTest,
    testing::Values(
        QuotedCase{
            "WarningForLineBreak", {"--check", "--cleared", "--slot", "2=#fff\n"}, "", "'#fff\\n'"},
        QuotedCase{"WarningForEscape",
                   {"--strict", "--cleared", "--slot", "2=\x1b[31m\r"},
                   "",
                   "'\\x1b[31m\\r'"},
        QuotedCase{"UnknownNameInValuesFile",
                   {"--values", "@values.txt"},
                   "\x1b]0;x\x07=1\n",
                   "unknown name '\\x1b]0;x\\x07'"},
        QuotedCase{"FileNameWithLineBreak", {"--values", "no\nsuch.txt"}, "", "no\\nsuch.txt"},
        QuotedCase{"BadSlotNumber", {"--slot", "\t1=x"}, "", "'\\t1'"}),
    [](const testing::TestParamInfo<QuotedCase> &info) { return info.param.name; });

TEST_F(CliOutputFileTest, StrictWritesNothingWhenItWarns) {
    const std::string css = (m_dir / "nav.css").string();
    const std::string page = (m_dir / "nav.html").string();
    const CliRun lax = run({"--check", "--slot", "2=#ff00", "--output", css});
    EXPECT_EQ(lax.status, kExitOk);
    EXPECT_NE(lax.err.find("warning: 导航文字颜色： (slot 2)"), std::string::npos) << lax.err;
    std::filesystem::remove(css);
    const CliRun strict =
        run({"--strict", "--slot", "2=#ff00", "--output", css, "--preview", page});
    EXPECT_EQ(strict.status, kExitWarnings);
    EXPECT_EQ(strict.out, "");
    EXPECT_TRUE(entries().empty());
}

TEST(Cli, ListsEachPaletteOnALineInTheOrderItsHelpGives) {
    const CliRun result = run({"--list-palettes"});
    EXPECT_EQ(result.status, kExitOk);
    EXPECT_NE(result.out.find("黑金\t#111111 #E6C068 #333333 #000000 #E6C068 #2A2A2A #1A1A1A "
                              "#E6C068 #E6C068 #3A3A3A #222222 #444444\n"),
              std::string::npos);
    std::istringstream lines(result.out);
    std::set<std::string> names;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos) << line;
        names.insert(line.substr(0, tab));
        EXPECT_EQ(line.size() - tab, 12 * 8U) << line;  // a tab, then 12 of "#RRGGBB" and a space
        // Every palette is sound CSS that reads well: --check finds nothing to say.
        const CliRun checked = run({"--check", "--strict", "--palette", line.substr(0, tab)});
        EXPECT_EQ(checked.status, kExitOk);
        EXPECT_EQ(checked.err, "") << line;
    }
    EXPECT_GE(names.size(), 10U);
    EXPECT_TRUE(names.contains("经典红"));
}

TEST_F(CliOutputFileTest, ContrastWarnsAboutTextAndBackgroundAndStrictRefuses) {
    const std::vector<std::string> poor = {"--cleared", "--slot", "1=#EEEEEE", "--slot",
                                           "2=#FFFFFF"};
    std::vector<std::string> args = poor;
    args.insert(args.begin(), "--check");
    const CliRun lax = run(args);
    EXPECT_EQ(lax.status, kExitOk);
    EXPECT_NE(lax.out, "");
    EXPECT_NE(lax.err.find("(slot 2): '#FFFFFF' on 导航背景图： (slot 1) '#EEEEEE' has a contrast "
                           "of only 1.1:1"),
              std::string::npos)
        << lax.err;
    args[0] = "--strict";
    EXPECT_EQ(run(args).status, kExitWarnings);
    // A hidden slot's start value is no warning; what the owner puts there is.
    EXPECT_EQ(run({"--strict"}).err, "");
    EXPECT_NE(run({"--check", "--slot", "5=Text5"}).err.find("(slot 5): 'Text5'"),
              std::string::npos);
    // A colour given to a hidden slot is judged: 经典红's white names on a white hover background.
    const CliRun hidden = run({"--strict", "--palette", "经典红", "--slot", "13=#FFFFFF"});
    EXPECT_EQ(hidden.status, kExitWarnings);
    EXPECT_NE(hidden.err.find("(slot 13) '#FFFFFF' has a contrast of only 1.0:1"),
              std::string::npos)
        << hidden.err;
    // An image slot's colour with a space is written as an address, showing nothing.
    EXPECT_NE(run({"--check", "--slot", "1=#C40000 "})
                  .err.find("(slot 1): '#C40000 ' is a colour with spaces at its start or end"),
              std::string::npos);
    // A derived look is readable and combines with the files written.
    const std::string values = (m_dir / "v.txt").string(), page = (m_dir / "p.html").string();
    const CliRun brand =
        run({"--check", "--palette-from", "red", "--save-values", values, "--preview", page});
    EXPECT_EQ(brand.status, kExitOk);
    EXPECT_EQ(brand.err.find("contrast"), std::string::npos) << brand.err;
    std::ifstream saved(values);
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(saved), {}).find("slot.1=#FF0000\n"),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(page));
}

TEST_F(CliOutputFileTest, NulCharacterIsRefusedWithLineAndColumn) {
    const std::string file = (m_dir / "zero.txt").string();  // "nul.txt" is a device on Windows
    std::ofstream(file) << std::string("# x\nslot.2=#f\0f\n", 16);
    for (const auto &[option, says] :
         {std::pair{"--values", file + ":2: a NUL character at column 10"},
          std::pair{"--import", file + ":2:10: a NUL character"}}) {
        const CliRun result = run({option, file});
        EXPECT_EQ(result.status, kExitBadUsage);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(says), std::string::npos) << result.err;
    }
}

TEST_F(CliOutputFileTest, ReadOnlyFileIsNotReplaced) {
    const std::filesystem::path file = m_dir / "shop.txt";
    std::ofstream(file) << "kept";
    std::filesystem::permissions(file,
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    const CliRun result = run({"--save-values", file.string()});
    EXPECT_EQ(result.status, kExitFailed);
    EXPECT_NE(result.err.find(file.string()), std::string::npos) << result.err;
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "kept");
    std::filesystem::permissions(file, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

TEST_F(CliOutputFileTest, FailureSaysWhyAndLeavesNoFile) {
    for (const std::string &path : {(m_dir / "missing" / "nav.css").string(), m_dir.string()}) {
        const CliRun result = run({"--output", path});
        EXPECT_EQ(result.status, kExitFailed) << path;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(path), std::string::npos) << result.err;
        EXPECT_TRUE(entries().empty()) << path;
    }
}

TEST_F(CliOutputFileTest, MakeImageWritesTheWindowsPngOrNothing) {
    const std::filesystem::path png = m_dir / "导航背景-FF660080.png";
    const CliRun made = run({"--make-image", "rgba(255, 102, 0, 50%)", utf8FromPath(png)});
    EXPECT_EQ(made.status, kExitOk) << made.err;
    EXPECT_EQ(made.out + made.err, "");
    std::string bytes, error;
    ASSERT_EQ(readFile(png, bytes, error), ReadResult::Read) << error;
    EXPECT_EQ(bytes, solidPng(Rgba{255, 102, 0, 128}));
    std::filesystem::remove(png);
    for (const char *colour : {"darkred", "#ff00", "", " #fff"}) {
        const CliRun refused = run({"--make-image", colour, utf8FromPath(png)});
        EXPECT_EQ(refused.status, kExitBadUsage) << colour;
        EXPECT_NE(refused.err.find("is not a colour"), std::string::npos) << refused.err;
        EXPECT_TRUE(entries().empty()) << colour;
    }
}

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

TEST(WindowsDeviceNames, AreTheSameOnEverySystem) {
    const std::pair<std::string_view, bool> names[] = {
        {"NUL", true},
        {"nul", true},
        {"NUL.txt", true},
        {"nul.tar.gz", true},
        {"Com1.png", true},
        {"lpt9", true},
        {"LPT1 ", true},
        {"aux.", true},
        {"con .css", true},
        {"PRN...", true},
        {"nul:", true},
        {"CONIN$", true},
        {"conout$.txt", true},
        {"COM\xC2\xB9", true},
        {"lpt\xC2\xB3.png", true},
        {"COM0", false},
        {"LPT0.png", false},
        {"console", false},
        {"nul_", false},
        {"NULL", false},
        {"COM10", false},
        {"com", false},
        {" nul", false},
        {"_con.txt", false},
        {"COM\xC2\xB4", false},
        {"lpt\xC2\xB2x", false},
        {"CONIN", false},
        {"", false},
        {"\xE5\x9B\xBE.png", false},
    };
    for (const auto &[name, reserved] : names) {
        EXPECT_EQ(isWindowsDeviceName(name), reserved) << name;
    }
}

TEST_F(CliOutputFileTest, WindowsDeviceNamesAreRefusedThereAndFilesElsewhere) {
    // "NUL" alone is tried on Windows only: here it would be written into the build folder.
    for (const auto &[options, file] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--output"}, kWindows ? "NUL" : "@nul"},
             {{"--output"}, "@nul"},
             {{"--save-values"}, "@CON.txt"},
             {{"--preview"}, "@Aux.html"},
             {{"--make-image", "#fff"}, "@com1.png"},
             {{"--output"}, "@CONOUT$"}}) {
        const std::string path = file.starts_with('@') ? (m_dir / file.substr(1)).string() : file;
        std::vector<std::string> args = options;
        args.push_back(path);
        const CliRun result = run(args);
        if (kWindows) {
            EXPECT_EQ(result.status, kExitFailed) << path;
            EXPECT_NE(result.err.find("cannot write " + path + ": Windows reserves"),
                      std::string::npos)
                << result.err;
            EXPECT_TRUE(entries().empty()) << path;
        } else {
            EXPECT_EQ(result.status, kExitOk) << result.err;
            EXPECT_EQ(entries(), std::vector<std::string>{file.substr(1)});
            std::filesystem::remove(path);
        }
    }
}

TEST_F(CliOutputFileTest, WindowsDeviceNamesAreNotReadThereAndFilesElsewhere) {
    // Opened on Windows, COM1 waits on a serial port and CON on the keyboard.
    for (const auto &[option, name] :
         {std::pair{"--values", "com1.txt"}, std::pair{"--import", "aux.css"},
          std::pair{"--values", "CONIN$"}, std::pair{"--import", "Con"}}) {
        const std::string path = (m_dir / name).string();
        if (!kWindows) {
            std::ofstream(path, std::ios::binary)
                << (option == std::string_view("--values")
                        ? std::string("slot.2=#000\n")
                        : utf8FromUtf16(generateCss(startValues())));
        }
        const CliRun result = run({option, path, "--output", (m_dir / "out.css").string()});
        if (kWindows) {
            EXPECT_EQ(result.status, kExitBadUsage) << path;
            EXPECT_NE(result.err.find("cannot read " + path + ": Windows reserves"),
                      std::string::npos)
                << result.err;
            EXPECT_FALSE(std::filesystem::exists(m_dir / "out.css"));
        } else {
            EXPECT_EQ(result.status, kExitOk) << result.err;
            std::filesystem::remove(path);
        }
    }
}

/** The values of the code the import tests read: start values with a few changed. */
StyleValues importedValues() {
    StyleValues values = startValues();
    values.slot(2) = u"#123456";
    values.slot(7) = u"红 \r\n";
    values.images[1] = u"http://a/drop.jpg";
    return values;
}

std::string readBytes(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(CliOutputFileTest, ImportTakesTheValuesInTheOrderGiven) {
    const std::string code = utf8FromUtf16(generateCss(importedValues()));
    const std::string codeFile = (m_dir / "nav.css").string();
    const std::string saved = (m_dir / "saved.txt").string();
    std::ofstream(codeFile, std::ios::binary) << code;
    std::string lfCode = code;
    std::erase(lfCode, '\r');
    std::ofstream((m_dir / "lf.css").string(), std::ios::binary) << lfCode;
    std::ofstream((m_dir / "bom.css").string(), std::ios::binary) << "\xEF\xBB\xBF" << code;

    struct Case {
        const char *name;
        std::vector<std::string> args;
        std::string input;                          ///< standard input
        std::function<void(StyleValues &)> change;  ///< of importedValues()
    };
    const Case cases[] = {
        {"File", {"--import", codeFile}, "", [](StyleValues &) {}},
        {"StandardInput", {"--import", "-"}, code, [](StyleValues &) {}},
        {"LfLineEnds", {"--import", (m_dir / "lf.css").string()}, "", [](StyleValues &) {}},
        {"ByteOrderMark", {"--import", (m_dir / "bom.css").string()}, "", [](StyleValues &) {}},
        {"LaterSlotWins",
         {"--import", codeFile, "--slot", "2=#000"},
         "",
         [](StyleValues &v) { v.slot(2) = u"#000"; }},
        {"ImportWinsOverEarlierSlot",
         {"--slot", "2=#000", "--import", codeFile},
         "",
         [](StyleValues &) {}},
        {"EarlierSlotsFourteenAndFifteenKept",
         {"--slot", "14=a", "--slot", "15=b", "--import", codeFile},
         "",
         [](StyleValues &v) {
             v.slot(14) = u"a";
             v.slot(15) = u"b";
         }},
        {"ImportOverValuesFile",
         {"--values", saved, "--import", "-"},
         code,
         [](StyleValues &v) { v.slot(14) = u"from file"; }},
    };
    std::ofstream(saved) << "slot.2=#fff\nslot.14=from file\n";
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        StyleValues expected = importedValues();
        c.change(expected);
        std::vector<std::string> args = c.args;
        const std::string out = (m_dir / "out.txt").string();
        args.insert(args.end(), {"--save-values", out});
        const CliRun result = run(args, c.input);
        EXPECT_EQ(result.status, kExitOk);
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out, utf8FromUtf16(generateCss(expected)));
        EXPECT_EQ(readBytes(out), presetText(expected));
    }
}

TEST_F(CliOutputFileTest, RefusedImportNamesFileLineAndColumn) {
    const std::string code = utf8FromUtf16(generateCss(startValues()));
    const std::string cut = code.substr(0, code.find("snd-cat-name{color:#FFF") + 23);
    struct Case {
        const char *name;
        std::string bytes;  ///< of the file, or standard input for "-"
        std::string file;
        std::string says;  ///< the whole error line after the file name
    };
    const Case cases[] = {
        {"AnotherToolsCss", "#nav{color:red}\n", "other.css",
         ":1:1: does not match the navigation code here; expected \".skin-box-bd{backgro\""},
        {"CutOff", cut, "cut.css",
         ":24:52: the text ends before the navigation code does; expected "
         "\";}\\r\\n.snd-pop-inner .\""},
        {"MoreAfterTheCode", code + "a{}", "more.css",
         ":27:1: the navigation code ends here, but the text goes on"},
        {"NotUtf8", "caf\xE9", "latin1.css", ": not valid UTF-8 text"},
        {"StandardInput", "x", "-",
         ":1:1: does not match the navigation code here; expected "
         "\".skin-box-bd{backgro\""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = c.file == "-" ? "-" : (m_dir / c.file).string();
        if (c.file != "-") {
            std::ofstream(path, std::ios::binary) << c.bytes;
        }
        const std::string css = (m_dir / "out.css").string();
        const CliRun result = run({"--import", path, "--output", css}, c.bytes);
        EXPECT_EQ(result.status, kExitBadUsage);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "velmora-css: " + (c.file == "-" ? "<stdin>" : path) + c.says + "\n");
        EXPECT_FALSE(std::filesystem::exists(css));
    }
    const CliRun missing = run({"--import", (m_dir / "none.css").string()});
    EXPECT_EQ(missing.status, kExitBadUsage);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace velmora
