#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/cliapp.h"
#include "core/valuesfile.h"
#include "core/generator.h"
#include "core/utf.h"
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
        GoodCase{"Cleared", {"--cleared"}, [](StyleValues &v) { clearValues(v); }},
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
        BadCase{"InvalidUtf8", {"--slot", "2=caf\xE9"}, "argument 2 is not valid UTF-8"}),
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

TEST(Cli, HelpAndVersionGoToStandardOutput) {
    for (const char *option : {"--help", "--version"}) {
        const CliRun result = run({option});
        EXPECT_EQ(result.status, kExitOk) << option;
        EXPECT_NE(result.out.find("velmora-css"), std::string::npos) << option;
        EXPECT_EQ(result.err, "") << option;
    }
}

class CliOutputFileTest : public testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("velmora-cli-test-" +
                 std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
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
    for (const auto &[path, says] :
         {std::pair{preset, preset + ":3: unknown name 'slot.99'"},
          std::pair{(m_dir / "none.txt").string(), std::string("cannot read")}}) {
        const CliRun result = run({"--values", path, "--output", (m_dir / "out.css").string()});
        EXPECT_EQ(result.status, kExitBadUsage);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(says), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
    }
    EXPECT_FALSE(std::filesystem::exists(m_dir / "out.css"));
}

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

TEST_F(CliOutputFileTest, FailureSaysWhyAndLeavesNoFile) {
    for (const std::string &path : {(m_dir / "missing" / "nav.css").string(), m_dir.string()}) {
        const CliRun result = run({"--output", path});
        EXPECT_EQ(result.status, kExitFailed) << path;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(path), std::string::npos) << result.err;
        EXPECT_TRUE(entries().empty()) << path;
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
