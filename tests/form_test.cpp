// The window's behaviour without a toolkit: the form driven as a toolkit window drives it, the
// platform replaced by fakes. Runs on Linux and, in the Windows build, under wine.
#include "ui/form.h"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <fstream>
#include <future>
#include <iterator>
#include <map>

#include "core/generator.h"
#include "core/png.h"
#include "core/preview.h"
#include "core/utf.h"
#include "core/valuesfile.h"
#include "fakes/fakeclipboard.h"
#include "fakes/fakedialogs.h"
#include "fakes/fakemessageboxes.h"
#include "fakes/fakeurlopener.h"
#include "platform/files.h"
#include "ui/filereports.h"
#include "ui/messages.h"

namespace velmora {
namespace {

/** Records what the form shows, as a toolkit window would show it. */
class RecordingView final : public FormView {
public:
    std::map<int, std::u16string> texts;
    std::map<int, BoxLook> looks;
    std::vector<int> put;  ///< the boxes given a value as an edit Ctrl+Z takes back
    int refreshesAsked = 0;
    std::vector<bool> busy;  // each showBusy, in order

    void showText(int box, const std::u16string &text) override { texts[box] = text; }
    void putText(int box, const std::u16string &text) override {
        put.push_back(box);
        texts[box] = text;
    }
    void showBusy(bool shown) override { busy.push_back(shown); }
    void showLook(int box, const BoxLook &look) override { looks[box] = look; }
    void schedulePreviewRefresh() override { ++refreshesAsked; }
};

std::string readAll(const std::filesystem::path &file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FormTest : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        m_dir = *makePrivateFolder(error);
        m_form = std::make_unique<Form>(
            m_view, FormServices{m_clipboard, m_messages, m_opener, m_dialogs}, "https://shop/");
        m_form->start();
    }
    void TearDown() override {
        m_form.reset();
        std::filesystem::remove_all(m_dir);
    }

    /** The text of the only message shown, or a note that there was none or several. */
    std::u16string onlyMessage() const {
        return m_messages.shown.size() == 1 ? m_messages.shown[0].prompt : u"<not one message>";
    }

    RecordingView m_view;
    FakeClipboard m_clipboard;
    FakeMessageBoxes m_messages;
    FakeUrlOpener m_opener;
    FakeDialogs m_dialogs;
    std::filesystem::path m_dir;
    std::unique_ptr<Form> m_form;
};

TEST_F(FormTest, StartShowsEveryBoxWithItsLook) {
    EXPECT_EQ(m_view.texts.size(), static_cast<std::size_t>(kBoxCount));
    EXPECT_EQ(m_view.texts[0], kImageA);
    EXPECT_EQ(m_view.looks[1].background, (Rgb{255, 255, 255}));  // "#FFFFFF" in slot 2
    EXPECT_EQ(m_view.looks[1].text, (Rgb{0, 0, 0}));
    EXPECT_FALSE(m_view.looks[0].background.has_value()) << "a good address is not marked";
}

struct LookCase {
    const char *name;
    int box;
    std::u16string typed;
    std::optional<Rgb> background;
    Rgb text;
    std::u16string_view tooltip;  ///< a part of the expected tooltip
    bool marked = false;
    /// what a screen reader adds: a marked box its tooltip, then this (the colour it shows)
    std::u16string_view description = {};
    /// boxes typed after it (box, text), such as a background its text colour is drawn on
    std::vector<std::pair<int, std::u16string>> then = {};
};
void PrintTo(const LookCase &c, std::ostream *os) { *os << c.name; }

class FormLookTest : public FormTest, public testing::WithParamInterface<LookCase> {};

TEST_P(FormLookTest, FollowsTheTypedText) {
    const LookCase &c = GetParam();
    m_form->textEdited(c.box, c.typed);
    for (const auto &[box, text] : c.then) {
        m_form->textEdited(box, text);
    }
    EXPECT_EQ(m_form->values().box(c.box), c.typed);
    const BoxLook &look = m_form->look(c.box);
    EXPECT_EQ(look.background, c.background);
    if (c.background) {
        EXPECT_EQ(look.text, c.text);
    }
    EXPECT_NE(look.tooltip.find(c.tooltip), std::u16string::npos) << utf8FromUtf16(look.tooltip);
    EXPECT_EQ(look.marked, c.marked);
    const std::u16string heard = !c.marked ? std::u16string(c.description)
                                 : c.description.empty()
                                     ? look.tooltip
                                     : look.tooltip + u'\n' + std::u16string(c.description);
    EXPECT_EQ(look.description, heard);
    EXPECT_EQ(m_view.looks[c.box], look) << "the view shows what the form holds";
}

// A local image's address, and how its marker names the file.
#ifdef _WIN32
constexpr std::u16string_view kLocalAddress = u"file:///C:/%E5%9B%BE%E7%89%87/100%25.png";
constexpr std::u16string_view kLocalPath = u"\n本机文件：C:\\图片\\100%.png";
#else
constexpr std::u16string_view kLocalAddress = u"file:///home/%E5%9B%BE%E7%89%87/100%25.png";
constexpr std::u16string_view kLocalPath = u"\n本机文件：/home/图片/100%.png";
#endif
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

INSTANTIATE_TEST_SUITE_P(
    Boxes, FormLookTest,
    testing::Values(
        LookCase{"DarkColourWhiteText", 1, u"#000080", Rgb{0, 0, 128}, kWhite,
                 messages::kColourBoxHint, false, u"显示的颜色：#000080"},
        LookCase{"LightColourBlackText", 6, u"rgb(255,255,0)", Rgb{255, 255, 0}, kBlack, u"", false,
                 u"显示的颜色：#FFFF00"},
        LookCase{"NameKept", 10, u"orange", Rgb{255, 165, 0}, kBlack, u"", false,
                 u"显示的颜色：#FFA500"},
        LookCase{"EmptyColourPlain", 15, u"", std::nullopt, kBlack, messages::kColourBoxHint, false,
                 messages::kColourBoxHint},
        LookCase{"DroppedName", 1, u"pink", kMarkerColour, kBlack,
                 messages::kProblemDroppedColourName, true},
        LookCase{"HalfTyped", 1, u"#12", kMarkerColour, kBlack, messages::kProblemNotAColour, true},
        LookCase{"ForeignImage", 0, u"https://example.com/a.jpg", kMarkerColour, kBlack,
                 messages::kProblemForeignHost, true},
        LookCase{"HttpImage", imageBoxNumber(1), u"http://img.alicdn.com/a.jpg", kMarkerColour,
                 kBlack, messages::kProblemNotHttps, true},
        LookCase{"TwoProblemsTwoLines", 3, u" x", kMarkerColour, kBlack, u"\n", true},
        // The marker's own colour typed is no mark; a marked colour still shows.
        LookCase{"MarkerColourUnmarked", 1, u"#FFD6D6", kMarkerColour, kBlack,
                 messages::kColourBoxHint, false, u"显示的颜色：#FFD6D6"},
        LookCase{"SpacedColourShownMarked", 1, u" #000080", Rgb{0, 0, 128}, kWhite,
                 messages::kProblemSpaces, true, u"显示的颜色：#000080"},
        LookCase{"EmptyImagePlain", 3, u"", std::nullopt, kBlack, messages::kImageBoxHint},
        LookCase{"ColourInAnImageSlot", 0, u"#C40000", Rgb{0xC4, 0, 0}, kWhite,
                 u"显示的颜色：#C40000", false, u"显示的颜色：#C40000"},
        LookCase{"ColourNameInAnImageBox", imageBoxNumber(1), u"yellow", Rgb{255, 255, 0}, kBlack,
                 messages::kImageBoxHint, false, u"显示的颜色：#FFFF00"},
        LookCase{"DroppedNameInAnImageBox", imageBoxNumber(0), u"pink", kMarkerColour, kBlack,
                 messages::kProblemDroppedColourName, true},
        // An image box shows a colour only as it stands, the way the style sheet writes it.
        LookCase{"SpacedColourInAnImageSlotMarked", 3, u" #c40", kMarkerColour, kBlack,
                 messages::kProblemSpacedColour, true},
        // A translucent colour as it looks over white: 196 * 128/255 + 255 * 127/255 = 225.4.
        LookCase{"TranslucentOverWhite", imageBoxNumber(0), u"rgba(196,0,0,0.5)",
                 Rgb{225, 127, 127}, kBlack,
                 u"\n显示的颜色：#C40000，不透明度 50%（框中显示它在白色上的样子）", false,
                 u"显示的颜色：#C40000，不透明度 50%（框中显示它在白色上的样子）"},
        LookCase{"LocalImage", imageBoxNumber(2), u"file:///home/a/b.png", kMarkerColour, kBlack,
                 messages::kProblemLocalFile, true},
        LookCase{"SlotOneEndsComment", 0, u"https://img.alicdn.com/a*/b.jpg", kMarkerColour, kBlack,
                 messages::kProblemEndsComment, true},
        // A text colour is judged on its backgrounds, typed before or after it.
        LookCase{"ReadsPoorlyOnItsBackground",
                 1,
                 u"#FFFFFF",
                 kWhite,
                 kBlack,
                 u"文字颜色和导航背景图的对比度只有 1.1:1，顾客可能看不清（建议至少 4.5:1）",
                 true,
                 u"显示的颜色：#FFFFFF",
                 {{0, u"#EEEEEE"}}},
        LookCase{"ReadsPoorlyOnAnImageBoxColour",
                 15,
                 u"#000",
                 kBlack,
                 kWhite,
                 u"文字颜色和鼠标移至,二级菜单背景图的对比度只有 1.0:1",
                 true,
                 u"显示的颜色：#000000",
                 {{imageBoxNumber(2), u"black"}}},
        // A hidden slot has no box: a pair is told in the box the owner can change.
        LookCase{"ReadsPoorlyOnAHiddenBackground",
                 1,
                 u"#FFFFFF",
                 kWhite,
                 kBlack,
                 u"文字颜色和隐藏的背景颜色 #FEFEFE（第 13 项）的对比度只有 1.0:1",
                 true,
                 u"显示的颜色：#FFFFFF",
                 {{12, u"#FEFEFE"}}},
        LookCase{"HiddenTextReadsPoorlyOnThisBackground",
                 5,
                 u"#FFFFFF",
                 kWhite,
                 kBlack,
                 u"隐藏的文字颜色 #FEFEFE（第 9 项）和这个背景的对比度只有 1.0:1",
                 true,
                 {},
                 {{8, u"#FEFEFE"}}},
        // A long value is judged whole where it names a colour.
        LookCase{"ReadsPoorlyOnALongColour",
                 15,
                 u"#000",
                 kBlack,
                 kWhite,
                 u"文字颜色和鼠标移至,二级菜单背景图的对比度只有 1.0:1",
                 true,
                 u"显示的颜色：#000000",
                 {{imageBoxNumber(2), u"rgb(0,0,0" + std::u16string(70000, u' ') + u")"}}},
        LookCase{"ReadsWellOnItsBackground",
                 1,
                 u"#FFFFFF",
                 kWhite,
                 kBlack,
                 messages::kColourBoxHint,
                 false,
                 u"显示的颜色：#FFFFFF",
                 {{0, u"#000080"}}},
        LookCase{"LocalImageNamesItsFile", 0, std::u16string(kLocalAddress), kMarkerColour, kBlack,
                 kLocalPath, true}),
    [](const testing::TestParamInfo<LookCase> &info) { return info.param.name; });

// A value too long to show whole: its beginning, never half a character, and its length.
TEST(ShortenedText, ShowsTheBeginningAndTheLength) {
    const std::u16string large = u"https://img.alicdn.com/" + std::u16string(kLargeValue, u'x');
    const std::u16string shown = shortenedText(large);
    EXPECT_TRUE(shown.starts_with(large.substr(0, 80)));
    EXPECT_NE(shown.find(u"65559"), std::u16string::npos);
    EXPECT_LT(shown.size(), 200U);
    // A character of two units is kept whole or left out whole.
    for (const auto &[before, kept] : {std::pair{79, std::u16string(79, u'a') + u"…"},
                                       std::pair{78, std::u16string(78, u'a') + u"\U0001F600…"}}) {
        const std::u16string emoji = std::u16string(before, u'a') + u"\U0001F600" + large;
        EXPECT_EQ(shortenedText(emoji).substr(0, kept.size()), kept) << before;
    }
}

// The address a file is shown and opened at: every byte that is not plain is percent-encoded,
// so that it neither ends a CSS url() early nor reads as a fragment or an escape. The expected
// addresses are Python's urllib.parse.quote(path, safe="/:~") after "file://" or "file:///".
TEST(FileUrl, EncodesEveryByteThatIsNotPlain) {
    const std::pair<const char *, const char *> cases[] = {
        {"/home/小明/图片/a b.png", "file:///home/%E5%B0%8F%E6%98%8E/%E5%9B%BE%E7%89%87/a%20b.png"},
        {"/tmp/it's (1)#2%3.png", "file:///tmp/it%27s%20%281%29%232%253.png"},
        {"C:\\Users\\a\\背景.png", "file:///C:/Users/a/%E8%83%8C%E6%99%AF.png"},
        {"/a-b_c.d~/x:y", "file:///a-b_c.d~/x:y"},
    };
    for (const auto &[path, url] : cases) {
        EXPECT_EQ(fileUrl(pathFromUtf8(path)), url);
    }
}

TEST_F(FormTest, PickedColourIsWrittenUpperCase) {
    m_form->textEdited(1, u"#abc");
    m_dialogs.colour = Rgb{0xab, 0xcd, 0x0e};
    m_form->trigger(Command::PickColour, 1);
    ASSERT_EQ(m_dialogs.colourAsked.size(), 1U);
    EXPECT_EQ(m_dialogs.colourAsked[0], (Rgb{0xaa, 0xbb, 0xcc})) << "starts at the box's colour";
    EXPECT_EQ(m_form->values().box(1), u"#ABCD0E");
    EXPECT_EQ(m_view.texts[1], u"#ABCD0E");
    EXPECT_EQ(m_view.put, std::vector<int>{1}) << "as an edit that Ctrl+Z takes back";

    m_dialogs.colour.reset();  // cancelled
    m_form->trigger(Command::PickColour, 1);
    EXPECT_EQ(m_form->values().box(1), u"#ABCD0E");

    // An image box picks a colour too: at its own colour, else at the one chosen last; the
    // colour fills it as #RRGGBB, with no file and no save dialog.
    const int submenu = imageBoxNumber(1);
    m_dialogs.colour = Rgb{0xC4, 0, 0};
    m_form->trigger(Command::PickColour, submenu);
    m_form->textEdited(0, u"navy");
    m_form->trigger(Command::PickColour, 0);
    m_form->textEdited(6, u"");  // a colour box holding none starts at white, as ever
    m_form->trigger(Command::PickColour, 6);
    m_form->trigger(Command::PickColour, kBoxCount);  // no such box
    EXPECT_EQ(
        m_dialogs.colourAsked,
        (std::vector<Rgb>{
            {0xaa, 0xbb, 0xcc}, {0xab, 0xcd, 0x0e}, {0xab, 0xcd, 0x0e}, {0, 0, 128}, kWhite}));
    EXPECT_EQ(m_form->values().box(submenu), u"#C40000");
    EXPECT_EQ(m_view.texts[submenu], u"#C40000");
    EXPECT_EQ(m_form->values().box(0), u"#C40000");
    EXPECT_TRUE(m_dialogs.saveAsked.empty());
    EXPECT_FALSE(m_form->look(submenu).marked);

    // A look from a brand colour starts at the colour chosen last; cancelled, it changes nothing.
    m_dialogs.colour.reset();
    const StyleValues before = m_form->values();
    m_form->trigger(Command::PaletteFromColour);
    EXPECT_EQ(m_dialogs.colourAsked.back(), (Rgb{0xC4, 0, 0}));
    EXPECT_EQ(m_form->values(), before);
    EXPECT_FALSE(m_form->undoText().has_value());
}

TEST_F(FormTest, MadeImageIsSavedWhereChosenAndItsAddressFillsTheBox) {
    const int bar = 0, submenu = imageBoxNumber(1);
    std::filesystem::create_directory(m_dir / u"图片");
    m_dialogs.colour = Rgb{0xFF, 0x66, 0x00};
    m_dialogs.file = m_dir / u"图片" / u"导航背景 1.png";
    m_form->trigger(Command::MakeImage, bar);
    EXPECT_EQ(m_dialogs.colourAsked, std::vector<Rgb>{kWhite}) << "white at first";
    ASSERT_EQ(m_dialogs.saveAsked.size(), 1U);
    EXPECT_EQ(m_dialogs.saveAsked[0].first, std::filesystem::path()) << "the Pictures folder";
    EXPECT_EQ(m_dialogs.saveAsked[0].second, u"导航背景-FF6600.png");
    EXPECT_EQ(readAll(*m_dialogs.file), solidPng(Rgba{0xFF, 0x66, 0x00}));
    const std::u16string url = *utf16FromUtf8(fileUrl(*m_dialogs.file));
    EXPECT_TRUE(url.ends_with(u"/%E5%9B%BE%E7%89%87/%E5%AF%BC%E8%88%AA%E8%83%8C%E6%99%AF%201.png"));
    EXPECT_EQ(m_form->values().box(bar), url);
    EXPECT_EQ(m_view.texts[bar], url);
    EXPECT_EQ(m_form->look(bar).tooltip, std::u16string(messages::kProblemLocalFile) +
                                             u"\n本机文件：" + m_dialogs.file->u16string());

    // The next starts at the colour and in the folder used last; cancelling changes nothing.
    m_dialogs.file.reset();
    m_form->trigger(Command::MakeImage, submenu);
    EXPECT_EQ(m_dialogs.colourAsked.back(), (Rgb{0xFF, 0x66, 0x00}));
    EXPECT_EQ(m_dialogs.saveAsked.back(),
              std::make_pair(m_dir / u"图片", std::u16string(u"二级下拉菜单背景-FF6600.png")));
    m_dialogs.colour.reset();
    m_form->trigger(Command::MakeImage, submenu);
    EXPECT_EQ(m_dialogs.saveAsked.size(), 2U) << "no save dialog once the colour is cancelled";
    m_form->trigger(Command::MakeImage, 1);  // a colour box has no background to make
    EXPECT_EQ(m_dialogs.colourAsked.size(), 3U);
    EXPECT_EQ(m_form->values().box(submenu), u"");

    // A target that cannot be written: the reason in the window's words, never the system's.
    m_dialogs.colour = Rgb{1, 2, 3};
    std::filesystem::create_directory(m_dir / "folder.png");
    const std::pair<std::filesystem::path, std::u16string_view> targets[] = {
        {m_dir / "gone" / "a.png", messages::kReasonNotFound},
        {m_dir / "folder.png", messages::kReasonIsFolder}};
    for (const auto &[target, reason] : targets) {
        m_messages.shown.clear();
        m_dialogs.file = target;
        m_form->trigger(Command::MakeImage, submenu);
        EXPECT_NE(onlyMessage().find(target.filename().u16string()), std::u16string::npos);
        EXPECT_TRUE(onlyMessage().ends_with(std::u16string(u"原因：") + std::u16string(reason)))
            << utf8FromUtf16(onlyMessage());
    }
    EXPECT_EQ(m_form->values().box(submenu), u"");
}

TEST_F(FormTest, ImageDroppedOnAnImageBoxGivesItsAddress) {
    const std::filesystem::path image = m_dir / u"店招.JPG";
    std::string error;
    ASSERT_TRUE(writeFileAtomically(image, "\xFF\xD8\xFF\xE0\0\x10JFIF", error));
    m_form->filesDropped({image}, imageBoxNumber(0));
    EXPECT_EQ(m_form->values().box(imageBoxNumber(0)), *utf16FromUtf8(fileUrl(image)));
    EXPECT_EQ(m_view.put, std::vector<int>{imageBoxNumber(0)});
    EXPECT_TRUE(m_messages.shown.empty());
    const StyleValues before = m_form->values();
    m_form->filesDropped({image}, 1);  // a colour box
    m_form->filesDropped({image});
    EXPECT_EQ(m_messages.shown.size(), 2U);
    EXPECT_NE(m_messages.shown[0].prompt.find(messages::kDropImageElsewhere), std::u16string::npos);
    EXPECT_EQ(m_form->values(), before);
}

struct DropCase {
    const char *name;
    /// name and bytes of each file dropped, in order; "<folder>" makes a folder, "<fifo>" a FIFO
    std::vector<std::pair<std::u16string, std::string>> files;
    int box;  ///< dropped on; an image box shows the address, otherwise box 0 is unchanged
    std::u16string_view address;  ///< how the image box's new address ends; empty: unchanged
    std::u16string_view slot2;    ///< slot 2 after the drop; empty: unchanged
    std::vector<std::u16string_view> says;  ///< parts of the one message; none: no message
};
void PrintTo(const DropCase &c, std::ostream *os) { *os << c.name; }

class FormDropTest : public FormTest, public testing::WithParamInterface<DropCase> {};

TEST_P(FormDropTest, TakesWhatFitsAndTellsTheRest) {
    const DropCase &c = GetParam();
    std::vector<std::filesystem::path> files;
    for (const auto &[name, bytes] : c.files) {
        files.push_back(m_dir / name);
        std::string error;
        if (bytes == "<folder>") {
            std::filesystem::create_directory(files.back());
        } else if (bytes == "<fifo>") {
#ifdef _WIN32
            GTEST_SKIP() << "no FIFOs on Windows";
#else
            ASSERT_EQ(::mkfifo(files.back().c_str(), 0600), 0);
#endif
        } else {
            ASSERT_TRUE(writeFileAtomically(files.back(), bytes, error));
        }
    }
    const StyleValues before = m_form->values();
    m_form->filesDropped(files, c.box);
    const int imageBox = Form::takesImage(c.box) ? c.box : 0;
    const std::u16string &address = m_form->values().box(imageBox);
    if (c.address.empty()) {
        EXPECT_EQ(address, before.box(imageBox));
    } else {
        EXPECT_TRUE(address.starts_with(u"file:///") && address.ends_with(c.address))
            << utf8FromUtf16(address);
    }
    EXPECT_EQ(m_form->values().slot(2), c.slot2.empty() ? before.slot(2) : c.slot2);
    if (c.says.empty()) {
        EXPECT_TRUE(m_messages.shown.empty()) << utf8FromUtf16(m_messages.shown[0].prompt);
    }
    for (std::u16string_view part : c.says) {
        EXPECT_NE(onlyMessage().find(part), std::u16string::npos) << utf8FromUtf16(onlyMessage());
    }
}

const std::string kPngHead = "\x89PNG\r\n\x1A\n\0\0\0\rIHDR";
const std::string kValues = "slot.2=#123456\n";

INSTANTIATE_TEST_SUITE_P(
    Files, FormDropTest,
    testing::Values(
        DropCase{"Png", {{u"a.png", kPngHead}}, imageBoxNumber(0), u"/a.png", u"", {}},
        DropCase{"JpegJudgedByItsBytes",
                 {{u"photo.txt", "\xFF\xD8\xFF\xDB"}},
                 0,
                 u"/photo.txt",
                 u"",
                 {}},
        DropCase{"Gif", {{u"店招.gif", "GIF89a\x01\0"}}, 0, u"/%E5%BA%97%E6%8B%9B.gif", u"", {}},
        DropCase{"TextNamedPng",
                 {{u"fake.png", kValues}},
                 0,
                 u"",
                 u"",
                 {u"fake.png", messages::kDropNotAPicture}},
        DropCase{"FolderNamedPng",
                 {{u"x.png", "<folder>"}},
                 0,
                 u"",
                 u"",
                 {u"x.png", messages::kReasonIsFolder}},
        DropCase{"FifoNamedPng",
                 {{u"p.png", "<fifo>"}},
                 0,
                 u"",
                 u"",
                 {u"p.png", messages::kReasonNotRegular}},
        DropCase{"ValuesFileOnAnImageBox",
                 {{u"方案.txt", kValues}},
                 0,
                 u"",
                 u"",
                 {messages::kDropNotAPicture}},
        DropCase{"BmAloneIsText",
                 {{u"b.txt", "BMW=#fff\nslot.1=x\n"}},
                 0,
                 u"",
                 u"",
                 {messages::kDropNotAPicture}},
        DropCase{"Webp",
                 {{u"a.webp", std::string("RIFF\x24\0\0\0WEBPVP8 ", 16)}},
                 0,
                 u"",
                 u"",
                 {messages::kDropOtherPicture}},
        DropCase{"BmpBySignature",
                 {{u"scan", std::string("BM\x3A\0\0\0\0\0\0\0\x36\0", 12)}},
                 0,
                 u"",
                 u"",
                 {messages::kDropOtherPicture}},
        DropCase{"HeicBySignature",
                 {{u"IMG_1", std::string("\0\0\0\x18"
                                         "ftypheic",
                                         12)}},
                 0,
                 u"",
                 u"",
                 {messages::kDropOtherPicture}},
        DropCase{
            "SvgByName", {{u"logo.svg", "<svg/>"}}, 0, u"", u"", {messages::kDropOtherPicture}},
        DropCase{"WebpElsewhereIsNotReadAsValues",
                 {{u"a.webp", "RIFF\x24\0\0\0WEBP"}},
                 5,
                 u"",
                 u"",
                 {messages::kDropOtherPicture}},
        DropCase{"TwoImagesOnOneBox",
                 {{u"a.png", kPngHead}, {u"b.gif", "GIF87a"}},
                 0,
                 u"/a.png",
                 u"",
                 {messages::kDropTakenPicture, messages::kDropOnePicture, u"b.gif"}},
        DropCase{"ImageAndValuesElsewhere",
                 {{u"a.png", kPngHead}, {u"v.txt", kValues}},
                 1,
                 u"",
                 u"#123456",
                 {messages::kDropImageElsewhere, messages::kDropTakenFile, u"v.txt"}},
        DropCase{"TwoValuesFiles",
                 {{u"v.txt", kValues}, {u"w.txt", "slot.2=#654321\n"}},
                 -1,
                 u"",
                 u"#123456",
                 {messages::kDropOneFile, u"w.txt"}},
        DropCase{"FailedLoadAmongOthers",
                 {{u"bad.txt", "slot.99=x\n"}, {u"a.png", kPngHead}},
                 -1,
                 u"",
                 u"",
                 {u"第 1 行：未知的名称", messages::kDropImageElsewhere}}),
    [](const testing::TestParamInfo<DropCase> &info) { return info.param.name; });

TEST_F(FormTest, ValuesFileRoundTripsEveryCharacter) {
    StyleValues awkward = startValues();
    awkward.slot(2) = u"#FFF\r\n\\n=#";
    awkward.slot(14) = u"hidden too";
    awkward.slot(9) = u" 红色 \U0001F600 ";
    awkward.images[2] = u"\\";
    m_form->setValues(awkward);
    m_dialogs.file = m_dir / "方案.txt";
    m_form->trigger(Command::SaveValues);
    EXPECT_TRUE(m_messages.shown.empty()) << utf8FromUtf16(onlyMessage());

    m_form->setValues(startValues());
    m_form->trigger(Command::OpenValues);
    EXPECT_EQ(m_form->values(), awkward);
    EXPECT_EQ(m_view.texts[8], awkward.slot(9));
    EXPECT_EQ(m_dialogs.fileAsked, (std::vector<bool>{true, false}));
}

// The window shows it is busy over the form's work, once however deep, but not while a message
// waits for the owner, nor for the quick work of a key.
TEST_F(FormTest, IsBusyOverItsWorkButNotOverItsMessages) {
    const std::filesystem::path good = m_dir / "good.txt", bad = m_dir / "bad.txt";
    std::string error;
    ASSERT_TRUE(writeFileAtomically(good, "slot.2=#123456\n", error));
    ASSERT_TRUE(writeFileAtomically(bad, "slot.99=x\n", error));
    const std::u16string longValue(kLargeValue + 1, u'a');
    const struct {
        const char *name;
        std::function<void(Form &)> act;
        std::vector<bool> busy;
    } cases[] = {
        {"a file opened", [&](Form &form) { form.filesDropped({good}); }, {true, false}},
        {"a file refused",
         [&](Form &form) { form.filesDropped({bad}); },
         {true, false, true, false}},
        {"a key", [](Form &form) { form.textEdited(1, u"#000"); }, {}},
        {"a long value pasted", [&](Form &form) { form.textEdited(2, longValue); }, {true, false}},
        {"a long value cut", [](Form &form) { form.textEdited(2, u""); }, {true, false}},
    };
    for (const auto &c : cases) {
        m_view.busy.clear();
        c.act(*m_form);
        EXPECT_EQ(m_view.busy, c.busy) << c.name;
    }
}

TEST_F(FormTest, OpeningAFileSetsOnlyTheNamesItHolds) {
    const std::filesystem::path file = m_dir / "part.txt";
    std::string error;
    ASSERT_TRUE(writeFileAtomically(file, "slot.2=#123456\nsubmenu-image=x\n", error));
    m_view.texts.clear();
    m_form->filesDropped({file});
    StyleValues expected = startValues();
    expected.slot(2) = u"#123456";
    expected.images[1] = u"x";
    EXPECT_EQ(m_form->values(), expected);
    // Only the boxes that change are shown anew: the others keep the typing Ctrl+Z takes back.
    EXPECT_EQ(m_view.texts,
              (std::map<int, std::u16string>{{1, u"#123456"}, {imageBoxNumber(1), u"x"}}));
}

TEST_F(FormTest, NoDropIsTakenWhileADialogOfTheWindowIsOpen) {
    const std::filesystem::path file = m_dir / "v.txt";
    std::string error;
    ASSERT_TRUE(writeFileAtomically(file, "slot.2=#333333\n", error));
    m_messages.answerYes = false;
    m_messages.whileAsking = [&] { m_form->filesDropped({file}); };
    m_form->trigger(Command::Clear);
    EXPECT_EQ(m_form->values(), startValues());
    EXPECT_FALSE(m_form->undoText().has_value());
    m_messages.whileAsking = nullptr;
    m_form->filesDropped({file});  // once the question is answered, drops are taken again
    EXPECT_EQ(m_form->values().slot(2), u"#333333");
}

struct BadFileCase {
    const char *name;
    std::string content;  ///< nothing: the file does not exist; "<folder>": it is a folder
    std::u16string_view says;
};
void PrintTo(const BadFileCase &c, std::ostream *os) { *os << c.name; }

class FormBadFileTest : public FormTest, public testing::WithParamInterface<BadFileCase> {};

TEST_P(FormBadFileTest, IsRefusedWithNothingChanged) {
    const std::filesystem::path file = m_dir / "bad.txt";
    if (GetParam().content == "<folder>") {
        std::filesystem::create_directory(file);
    } else if (!GetParam().content.empty()) {
        std::string error;
        ASSERT_TRUE(writeFileAtomically(file, GetParam().content, error));
    }
    m_form->textEdited(1, u"#010203");
    const StyleValues before = m_form->values();
    m_dialogs.file = file;
    m_form->trigger(Command::OpenValues);
    EXPECT_EQ(m_form->values(), before);
    const std::u16string message = onlyMessage();
    EXPECT_NE(message.find(u"bad.txt"), std::u16string::npos) << utf8FromUtf16(message);
    EXPECT_NE(message.find(GetParam().says), std::u16string::npos) << utf8FromUtf16(message);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FormBadFileTest,
    testing::Values(BadFileCase{"Missing", "", messages::kReasonNotFound},
                    BadFileCase{"AFolder", "<folder>", messages::kReasonIsFolder},
                    BadFileCase{"NulWithItsColumn", std::string("slot.1=a\0b\n", 11),
                                u"第 1 行：第 9 个字符是空字符"},
                    BadFileCase{"UnknownNameOnLine3", "slot.2=#fff\n\nslot.99=x\n",
                                u"第 3 行：未知的名称"},
                    BadFileCase{"NoEquals", "slot.1=a\nslot.2\n", messages::kValuesNoEquals},
                    BadFileCase{"BadEscape", "slot.1=\\t\n", messages::kValuesBadEscape},
                    BadFileCase{"NotUtf8", "slot.1=\xff\n", messages::kValuesNotUtf8}),
    [](const testing::TestParamInfo<BadFileCase> &info) { return info.param.name; });

TEST_F(FormTest, FileLargerThanAnyShopsIsRefusedUnread) {
    const std::filesystem::path file = m_dir / "huge.txt";
    std::ofstream(file).close();
    std::error_code error;
    std::filesystem::resize_file(file, kMaxValuesFileBytes + 1, error);
    if (error) {
        GTEST_SKIP() << "no large sparse file here: " << error.message();
    }
    m_dialogs.file = file;
    m_form->trigger(Command::OpenValues);
    EXPECT_NE(onlyMessage().find(messages::kValuesTooLarge), std::u16string::npos)
        << utf8FromUtf16(onlyMessage());
    EXPECT_EQ(m_form->values(), startValues());
}

TEST_F(FormTest, SaveFailureNamesTheFileAndKeepsTheValues) {
    m_dialogs.file = m_dir / "no such folder" / "shop.txt";
    const StyleValues before = m_form->values();
    m_form->trigger(Command::SaveValues);
    EXPECT_NE(onlyMessage().find(u"shop.txt"), std::u16string::npos);
    EXPECT_NE(onlyMessage().find(messages::kReasonNotFound), std::u16string::npos);
    EXPECT_EQ(m_form->values(), before);

    // A file the user made read-only is not replaced, although its folder would allow it.
    m_messages.shown.clear();
    m_dialogs.file = m_dir / "kept.txt";
    std::string error;
    ASSERT_TRUE(writeFileAtomically(*m_dialogs.file, "slot.1=old\n", error));
    std::filesystem::permissions(*m_dialogs.file,
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    m_form->trigger(Command::SaveValues);
    EXPECT_NE(onlyMessage().find(messages::kReasonReadOnly), std::u16string::npos)
        << utf8FromUtf16(onlyMessage());
    EXPECT_EQ(readAll(*m_dialogs.file), "slot.1=old\n");
    std::filesystem::permissions(*m_dialogs.file, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

TEST_F(FormTest, WhatCouldKeepTheWindowWaitingIsRefusedUnreadWhereverItComesFrom) {
    // Read as a file, a FIFO would keep the window waiting until someone writes to it; on
    // Windows a name kept for a device opens the device (CON: the keyboard, COM1: a serial port).
    struct Row {
        const char *name;
        bool opened;  // through 打开方案, else dropped
    };
#ifndef _WIN32
    const Row rows[] = {{"values.txt", true}, {"values", false}, {"old.css", false}};
    const std::u16string_view says = messages::kReasonNotRegular;
#else
    const Row rows[] = {{"CON", true}, {"conin$", true}, {"com1.css", false}, {"Aux.txt", false}};
    const std::u16string_view says = messages::kReasonReservedName;
#endif
    for (const Row &row : rows) {
        const std::filesystem::path file = m_dir / row.name;
#ifndef _WIN32
        ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
#endif
        m_messages.shown.clear();
        if (row.opened) {
            m_dialogs.file = file;
            m_form->trigger(Command::OpenValues);
        } else {
            m_form->filesDropped({file});
        }
        EXPECT_NE(onlyMessage().find(*utf16FromUtf8(utf8FromPath(file))), std::u16string::npos)
            << row.name;
        EXPECT_NE(onlyMessage().find(says), std::u16string::npos) << utf8FromUtf16(onlyMessage());
        EXPECT_EQ(m_form->values(), startValues());
    }
}

struct SaveTargetCase {
    const char *name;
    Command command;
    std::string target;        ///< in the test's folder; "<fifo>", "<pipe>": made by the test
    bool refusedHere;          ///< refused on this system (otherwise saved)
    std::u16string_view says;  ///< the reason given, when refused
};
void PrintTo(const SaveTargetCase &c, std::ostream *os) { *os << c.name; }

class FormSaveTargetTest : public FormTest, public testing::WithParamInterface<SaveTargetCase> {};

TEST_P(FormSaveTargetTest, OnlyARegularFileOrANewNameIsWrittenAndNothingWaits) {
    const SaveTargetCase &c = GetParam();
    std::filesystem::path target = m_dir / c.target;
#ifndef _WIN32
    int pipe[2] = {-1, -1};
    if (c.target == "<fifo>") {
        target = m_dir / "shop.png";
        ASSERT_EQ(::mkfifo(target.c_str(), 0600), 0);
    } else if (c.target == "<pipe>") {
        ASSERT_EQ(::pipe(pipe), 0);
        target = "/proc/self/fd/" + std::to_string(pipe[1]);
    }
#else
    HANDLE server = INVALID_HANDLE_VALUE;
    if (c.target == "<pipe>") {
        target = L"\\\\.\\pipe\\velmora-" + std::to_wstring(GetCurrentProcessId());
        server = CreateNamedPipeW(target.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE, 1, 0,
                                  1 << 20, 0, nullptr);
        ASSERT_NE(server, INVALID_HANDLE_VALUE);
    }
#endif
    m_dialogs.file = target;
    m_dialogs.colour = Rgb{1, 2, 3};
    const StyleValues before = m_form->values();
    auto saving = std::async(std::launch::async, [&] { m_form->trigger(c.command, 0); });
    if (saving.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
#ifndef _WIN32
        // A reader lets the waiting open go on, so that the test ends and says why.
        const int reader = ::open(target.c_str(), O_RDONLY | O_NONBLOCK);
        saving.wait();
        ::close(reader);
#else
        CloseHandle(server);  // ends a write waiting on the pipe
        saving.wait();
#endif
        FAIL() << "the window waits on " << utf8FromPath(target);
    }
    if (c.refusedHere) {
        ASSERT_FALSE(c.says.empty()) << "every message holds the empty text";
        const std::u16string message = onlyMessage();
        EXPECT_NE(message.find(*utf16FromUtf8(utf8FromPath(target))), std::u16string::npos)
            << utf8FromUtf16(message);
        EXPECT_NE(message.find(c.says), std::u16string::npos) << utf8FromUtf16(message);
        EXPECT_EQ(m_form->values(), before);
    } else {
        EXPECT_TRUE(m_messages.shown.empty()) << utf8FromUtf16(onlyMessage());
        EXPECT_FALSE(readAll(target).empty());
    }
#ifndef _WIN32
    if (pipe[0] >= 0) {
        char got = 0;
        ::fcntl(pipe[0], F_SETFL, O_NONBLOCK);
        EXPECT_EQ(::read(pipe[0], &got, 1), -1) << "nothing is written into it";
        ::close(pipe[0]);
        ::close(pipe[1]);
    }
#else
    if (server != INVALID_HANDLE_VALUE) {
        CloseHandle(server);
    }
#endif
}

#ifdef _WIN32
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

const SaveTargetCase kSaveTargets[] = {
#ifndef _WIN32
    SaveTargetCase{"ValuesIntoFifo", Command::SaveValues, "<fifo>", true,
                   messages::kReasonNotRegular},
    SaveTargetCase{"ImageIntoFifo", Command::MakeImage, "<fifo>", true,
                   messages::kReasonNotRegular},
#endif
    // On POSIX a pipe this program holds, named by /proc/self/fd; on Windows a named pipe.
    SaveTargetCase{"ValuesIntoPipe", Command::SaveValues, "<pipe>", true,
                   messages::kReasonNotRegular},
    SaveTargetCase{"ValuesAsNul", Command::SaveValues, "NUL", kWindows,
                   messages::kReasonReservedName},
    SaveTargetCase{"ValuesAsConWithExtension", Command::SaveValues, "con.txt", kWindows,
                   messages::kReasonReservedName},
    SaveTargetCase{"ImageAsCom1", Command::MakeImage, "Com1.png", kWindows,
                   messages::kReasonReservedName},
    SaveTargetCase{"ImageAsLpt9WithTrailingDot", Command::MakeImage, "lpt9.", kWindows,
                   messages::kReasonReservedName},
    SaveTargetCase{"ImageAsCom0IsAFile", Command::MakeImage, "COM0.png", false, u""},
};

INSTANTIATE_TEST_SUITE_P(Targets, FormSaveTargetTest, testing::ValuesIn(kSaveTargets),
                         [](const testing::TestParamInfo<SaveTargetCase> &info) {
                             return info.param.name;
                         });

TEST_F(FormTest, PreviewIsWrittenOpenedFollowedAndRemoved) {
    m_form->trigger(Command::Preview);
    ASSERT_TRUE(m_form->previewFile().has_value()) << utf8FromUtf16(onlyMessage());
    const std::filesystem::path file = *m_form->previewFile();
    ASSERT_EQ(m_opener.opened.size(), 1U);
    EXPECT_EQ(m_opener.opened[0], fileUrl(file));
    EXPECT_EQ(readAll(file), previewPage(utf8FromUtf16(generateCss(startValues())), 1));

    m_form->textEdited(1, u"#123456");
    m_form->textEdited(1, u"#654321");
    EXPECT_EQ(m_view.refreshesAsked, 1) << "one refresh for a burst of typing";
    m_form->refreshPreview();
    EXPECT_NE(readAll(file).find("color:#654321"), std::string::npos);
    EXPECT_EQ(m_opener.opened.size(), 1U) << "no new tab per change";

    // A value longer than a box shows whole is written as the box shows it, in a small page.
    const struct {
        std::size_t length;
        std::string written;  // after "url(" in the page
    } longValues[] = {
        {65536, std::string(65536, 'a') + ")"},
        {10485760, std::string(80, 'a') + "…（共 10485760 个字符"},
    };
    for (const auto &c : longValues) {
        m_form->textEdited(0, std::u16string(c.length, u'a'));
        m_form->refreshPreview();
        const std::string page = readAll(file);
        EXPECT_NE(page.find("url(" + c.written), std::string::npos) << c.length;
        EXPECT_LT(page.size(), std::size_t{10} << 20) << c.length << ": smaller than the value";
    }

    const std::filesystem::path folder = file.parent_path();
    m_form.reset();
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST_F(FormTest, PreviewThatCannotBeOpenedSaysWhereAndWhy) {
    m_opener.works = false;
    m_form->trigger(Command::Preview);
    ASSERT_TRUE(m_form->previewFile().has_value());
    EXPECT_NE(onlyMessage().find(pathFromUtf8("preview.html").u16string()), std::u16string::npos);
    EXPECT_NE(onlyMessage().find(messages::kReasonNoBrowser), std::u16string::npos)
        << "the system gave no reason";

    m_messages.shown.clear();
    m_opener.why = {OpenFailure::Cause::Other, 1155, "没有与之关联的应用"};
    m_form->trigger(Command::Preview);
    EXPECT_NE(onlyMessage().find(u"没有与之关联的应用"), std::u16string::npos);
}

TEST(OpenFailureText, IsChineseWithTheSystemsCodeAndWordsForTheRest) {
    using enum OpenFailure::Cause;
    for (const auto &[failure, expected] : {
             std::pair{OpenFailure{NoProgram, 1155, "No association"},
                       u"找不到可以打开网页的浏览器"},
             std::pair{OpenFailure{FileMissing, 2, "File not found"},
                       u"找不到这个文件或它所在的文件夹"},
             std::pair{OpenFailure{NoPermission, 5, "Access denied"},
                       u"系统不允许打开这个文件或启动浏览器"},
             std::pair{OpenFailure{NoMemory, 8, ""}, u"内存或系统资源不足"},
             std::pair{OpenFailure{NoAnswer, 1156, ""}, u"浏览器没有回应，请稍后再试"},
             std::pair{OpenFailure{InUse, 32, ""}, u"文件正被其他程序使用，请稍后再试"},
             std::pair{OpenFailure{Cancelled, 1223, ""}, u"打开已被取消"},
             std::pair{OpenFailure{Other, 87, "参数错误"},
                       u"系统未能打开这个文件，错误代码 87：参数错误"},
             std::pair{OpenFailure{Other, 4, ""}, u"系统未能打开这个文件，错误代码 4"},
         }) {
        EXPECT_EQ(openFailureText(failure), expected) << failure.code;
    }
}

TEST_F(FormTest, PreviewStopsQuietlyWhenItsFolderGoesAndF5MakesANewOne) {
    m_form->trigger(Command::Preview);
    ASSERT_TRUE(m_form->previewFile().has_value()) << utf8FromUtf16(onlyMessage());
    const std::filesystem::path first = *m_form->previewFile();
    const std::filesystem::path folder = first.parent_path();
    std::error_code removed;
    std::filesystem::remove_all(folder, removed);  // a temp cleaner
    if (removed || std::filesystem::exists(folder)) {
        // Windows: the window holds its folder, which cannot be removed while it is open.
        m_form->textEdited(1, u"#123456");
        m_form->refreshPreview();
        EXPECT_NE(readAll(first).find("color:#123456"), std::string::npos);
        return;
    }
#ifndef _WIN32
    // Someone else makes the name again, open to all, with the page a link to the user's file.
    const std::filesystem::path victim = m_dir / "victim.txt";
    std::string error;
    ASSERT_TRUE(writeFileAtomically(victim, "mine", error));
    ASSERT_EQ(::mkdir(folder.c_str(), 0777), 0);
    ::chmod(folder.c_str(), 0777);
    std::filesystem::create_symlink(victim, first);
#endif
    m_form->textEdited(1, u"#123456");
    m_form->refreshPreview();
    EXPECT_TRUE(m_messages.shown.empty()) << "no message for a refresh nobody asked for";
    EXPECT_FALSE(m_form->previewFile().has_value());
#ifndef _WIN32
    EXPECT_EQ(readAll(victim), "mine") << "nothing written through the planted link";
#endif
    m_form->textEdited(1, u"#654321");
    EXPECT_EQ(m_view.refreshesAsked, 1) << "no longer following";

    m_form->trigger(Command::Preview);
    ASSERT_TRUE(m_form->previewFile().has_value()) << utf8FromUtf16(onlyMessage());
    EXPECT_NE(m_form->previewFile()->parent_path(), folder);
    EXPECT_NE(readAll(*m_form->previewFile()).find("color:#654321"), std::string::npos);
    EXPECT_EQ(m_opener.opened.back(), fileUrl(*m_form->previewFile()));
    std::filesystem::remove_all(folder, removed);
}

TEST_F(FormTest, ClearAsksThenEmptiesSlotsOneToSixteen) {
    m_messages.answerYes = true;
    m_form->trigger(Command::Clear);
    StyleValues expected = startValues();
    clearValues(expected);
    EXPECT_EQ(m_form->values(), expected);
    EXPECT_EQ(m_view.texts[0], u"");
}

TEST_F(FormTest, ACopyThatNeverLandsEndsWithinAboutASecond) {
    m_clipboard.fault = FakeClipboard::Fault::OtherProgramWrites;
    m_clipboard.readDelay = std::chrono::milliseconds(5);  // 10000 attempts would take 50 s
    const auto start = std::chrono::steady_clock::now();
    m_form->trigger(Command::Generate);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::milliseconds(2500));
    EXPECT_LT(m_clipboard.reads, kMaxCopyAttempts);
    EXPECT_EQ(onlyMessage(), messages::kCopyFailedPrompt);

    m_clipboard = FakeClipboard{};  // the other program let go: a later Generate works
    m_messages.shown.clear();
    m_form->trigger(Command::Generate);
    EXPECT_EQ(onlyMessage(), messages::kCopiedPrompt);
}

/** A change of the whole form, then the owner's typing, then the undo entry. */
struct UndoCase {
    const char *name;
    /// "clear", "import", "values" (a dropped file), "palette N" (the built-in palette of
    /// index N), "brand" (the look derived from #123456 in the colour dialog) or "none"
    const char *change;
    std::u16string_view entry;  ///< the undo entry's text after the change; empty: greyed
    int typedBox = -1;          ///< a box typed in after the change, or -1
    std::u16string_view slot2;  ///< slot 2 after the undo
    std::vector<std::pair<int, std::u16string_view>> after = {};  ///< boxes after the change
};
void PrintTo(const UndoCase &c, std::ostream *os) { *os << c.name; }

class FormUndoTest : public FormTest, public testing::WithParamInterface<UndoCase> {};

TEST_P(FormUndoTest, TakesBackTheWholeChangeButNeverWhatWasTypedSince) {
    const UndoCase &c = GetParam();
    const std::string change = c.change;
    m_form->textEdited(1, u"#111111");
    StyleValues before = m_form->values();
    if (change == "clear") {
        m_messages.answerYes = true;
        m_form->trigger(Command::Clear);
    } else if (change == "import") {
        StyleValues code = startValues();
        code.slot(2) = u"#222222";
        m_clipboard.contents = generateCss(code);
        m_form->trigger(Command::Import);
    } else if (change == "values") {
        const std::filesystem::path file = m_dir / "方案.txt";
        std::string error;
        ASSERT_TRUE(writeFileAtomically(file, "slot.2=#333333\n", error));
        m_form->filesDropped({file});
    } else if (change.starts_with("palette ")) {
        m_form->applyPalette(std::stoi(change.substr(8)));
    } else if (change == "brand") {
        m_dialogs.colour = Rgb{0x12, 0x34, 0x56};
        m_form->trigger(Command::PaletteFromColour);
        EXPECT_EQ(m_dialogs.colourAsked, std::vector<Rgb>{kWhite}) << "white at first";
    }
    for (const auto &[box, value] : c.after) {
        EXPECT_EQ(m_form->values().box(box), value) << box;
        EXPECT_EQ(m_view.texts[box], value) << box;
    }
    EXPECT_EQ(m_form->undoText().value_or(u""), c.entry);
    if (c.typedBox >= 0) {
        m_form->textEdited(c.typedBox, u"#444444");
        m_view.texts[c.typedBox] = u"#444444";  // the box shows what was typed in it
        before.box(c.typedBox) = u"#444444";
    }
    m_form->trigger(Command::UndoWhole);
    EXPECT_EQ(m_form->values(), before);
    if (!c.slot2.empty()) {
        EXPECT_EQ(m_view.texts[1], c.slot2);
    }
    EXPECT_FALSE(m_form->undoText().has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Changes, FormUndoTest,
    testing::Values(UndoCase{"Clear", "clear", u"撤销整体修改（清空）", -1, u"#111111"},
                    UndoCase{"Import", "import", u"撤销整体修改（导入代码）", -1, u"#111111"},
                    UndoCase{"ValuesFile", "values", u"撤销整体修改（打开方案）", -1, u"#111111"},
                    UndoCase{"TypedSinceIsKept", "clear", u"撤销整体修改（清空）", 1, u"#444444"},
                    UndoCase{"OtherBoxTypedSince", "clear", u"撤销整体修改（清空）", 6, u"#111111"},
                    UndoCase{"NothingToUndo", "none", u"", -1, u""},
                    // 经典红 as --list-palettes prints it; slot 5, hidden, keeps its start value.
                    UndoCase{"Palette",
                             "palette 0",
                             u"撤销整体修改（配色方案）",
                             -1,
                             u"#111111",
                             {{0, u"#C40000"},
                              {1, u"#FFFFFF"},
                              {3, u"#8E0000"},
                              {9, u"#B20000"},
                              {15, u"#FFFFFF"},
                              {imageBoxNumber(2), u"#6B0000"},
                              {4, u"Text4"}}},
                    UndoCase{"PaletteTypedSinceIsKept", "palette 11", u"撤销整体修改（配色方案）",
                             3, u"#111111"},
                    UndoCase{"NoSuchPalette", "palette 12", u"", -1, u"", {{0, kImageA}}},
                    UndoCase{"FromBrandColour",
                             "brand",
                             u"撤销整体修改（配色方案）",
                             -1,
                             u"#111111",
                             {{0, u"#123456"}, {1, u"#FFFFFF"}, {4, u"Text4"}}}),
    [](const testing::TestParamInfo<UndoCase> &info) { return info.param.name; });

TEST_F(FormTest, TheLastTwentyWholeChangesAreKept) {
    std::string error;
    for (int change = 1; change <= 21; ++change) {
        const std::string number = std::to_string(change);
        const std::filesystem::path file = m_dir / ("v" + number + ".txt");
        ASSERT_TRUE(
            writeFileAtomically(file, "slot.2=#0000" + std::to_string(10 + change) + "\n", error));
        m_form->filesDropped({file});
    }
    EXPECT_EQ(m_form->values().slot(2), u"#000031");
    for (int undo = 0; undo < 20; ++undo) {
        m_form->trigger(Command::UndoWhole);
    }
    EXPECT_EQ(m_form->values().slot(2), u"#000011") << "as after the first change";
    EXPECT_FALSE(m_form->undoText().has_value());
}

TEST_F(FormTest, WholeChangesAreTakenBackLatestFirst) {
    m_messages.answerYes = true;
    m_form->trigger(Command::Clear);  // nothing to clear the second time: not remembered
    m_form->trigger(Command::Clear);
    m_clipboard.contents = generateCss(startValues());
    m_form->trigger(Command::Import);
    EXPECT_EQ(m_form->undoText(), u"撤销整体修改（导入代码）");
    m_form->trigger(Command::UndoWhole);
    EXPECT_EQ(m_form->undoText(), u"撤销整体修改（清空）");
    m_form->trigger(Command::UndoWhole);
    EXPECT_EQ(m_form->values(), startValues());
}

struct ImportCase {
    const char *name;
    bool fromFile;      ///< a dropped .css file rather than the clipboard
    std::string bytes;  ///< empty: the code of `made`; "LF": with LF line ends; "BOM": after a
                        ///< byte order mark
    bool accepted;
    std::u16string_view says;  ///< a part of the refusal
};
void PrintTo(const ImportCase &c, std::ostream *os) { *os << c.name; }

class FormImportTest : public FormTest, public testing::WithParamInterface<ImportCase> {};

TEST_P(FormImportTest, SetsEveryBoxOrChangesNothing) {
    const ImportCase &c = GetParam();
    StyleValues made = startValues();
    made.slot(1) = u"https://img.alicdn.com/imgextra/i1/上衣.jpg";
    made.slot(3) = u"#123";  // hidden
    made.slot(17) = u"hidden too";
    made.images[2] = u"https://img.alicdn.com/x.gif";
    std::string bytes = c.bytes.empty() ? utf8FromUtf16(generateCss(made)) : c.bytes;
    if (c.bytes == "LF") {
        bytes.clear();
        for (char ch : utf8FromUtf16(generateCss(made))) {
            if (ch != '\r') bytes.push_back(ch);
        }
    } else if (c.bytes == "BOM") {
        bytes = "\xEF\xBB\xBF" + utf8FromUtf16(generateCss(made));
    }
    m_form->textEdited(14 - 1, u"kept: never in the code");
    const StyleValues before = m_form->values();
    if (c.fromFile) {
        const std::filesystem::path file = m_dir / "last season.CSS";
        std::string error;
        ASSERT_TRUE(writeFileAtomically(file, bytes, error));
        m_form->filesDropped({file});
    } else {
        m_clipboard.contents = *utf16FromUtf8(bytes);
        m_form->trigger(Command::Import);
    }
    if (c.accepted) {
        made.slot(14) = before.slot(14);
        EXPECT_EQ(m_form->values(), made);
        EXPECT_EQ(m_view.texts[16], u"hidden too");
        EXPECT_TRUE(m_messages.shown.empty());
    } else {
        EXPECT_EQ(m_form->values(), before);
        ASSERT_EQ(m_messages.shown.size(), 1U);
        EXPECT_NE(onlyMessage().find(c.says), std::u16string::npos) << utf8FromUtf16(onlyMessage());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sources, FormImportTest,
    testing::Values(ImportCase{"Clipboard", false, "", true, u""},
                    ImportCase{"DroppedFile", true, "", true, u""},
                    ImportCase{"LineEndsChangedToLf", false, "LF", true, u""},
                    ImportCase{"ByteOrderMark", false, "BOM", true, u""},
                    ImportCase{"ByteOrderMarkInAFile", true, "BOM", true, u""},
                    ImportCase{"OtherCss", false, ".nav{color:red}\r\n", false,
                               u"第 1 行第 2 个字符"},
                    ImportCase{"OtherCssInAFile", true, "body{}", false, u"last season.CSS"},
                    ImportCase{"Empty", false, " ", false, messages::kImportClipboardRefused},
                    ImportCase{"NotUtf8", true, "\xff\xfe", false, messages::kImportNotUtf8},
                    ImportCase{"Nul", false, std::string(".a{}\r\n\0", 7), false,
                               u"第 2 行第 1 个字符是空字符"},
                    ImportCase{"NulInAFile", true, std::string("x\0", 2), false,
                               u"第 1 行第 2 个字符是空字符"}),
    [](const testing::TestParamInfo<ImportCase> &info) { return info.param.name; });

TEST_F(FormTest, FailuresAreReportedAndTheFormCarriesOn) {
    m_clipboard.fault = FakeClipboard::Fault::Throws;
    m_form->trigger(Command::Generate);
    EXPECT_NE(onlyMessage().find(u"the clipboard service went away"), std::u16string::npos);
    EXPECT_EQ(m_form->values(), startValues());
}

}  // namespace
}  // namespace velmora
