// The native window under wine: driven through Win32 messages, the clipboard checked through
// the Win32 API, message boxes and the system's dialogs answered from another thread.
#include "ui/win32/win32window.h"

#include <colordlg.h>
#include <commctrl.h>
#include <dlgs.h>
#include <gtest/gtest.h>
#include <oleacc.h>
#include <shlobj.h>
#include <windows.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <memory>
#include <set>
#include <stdexcept>
#include <thread>

#include "core/generator.h"
#include "core/png.h"
#include "core/preview.h"
#include "core/utf.h"
#include "core/valuecheck.h"
#include "core/valuesfile.h"
#include "fakes/fakedialogs.h"
#include "fakes/fakemessageboxes.h"
#include "fakes/fakescreen.h"
#include "fakes/fakeurlopener.h"
#include "heard.h"
#include "platform/files.h"
#include "platform/win32/dpi.h"
#include "platform/win32/win32clipboard.h"
#include "platform/win32/win32dialogs.h"
#include "platform/win32/win32messageboxes.h"
#include "platform/win32/win32urlopener.h"
#include "ui/messages.h"
#include "ui/win32/linklabel.h"
#include "ui/win32/program.h"

namespace velmora {
namespace {

const std::string kShopUrl = "https://shop.example.com/velmora";

std::u16string text(HWND window) {
    std::u16string value(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    const int length = GetWindowTextW(window, reinterpret_cast<wchar_t *>(value.data()),
                                      static_cast<int>(value.size()));
    value.resize(static_cast<std::size_t>(length));
    return value;
}

const wchar_t *wide(std::u16string_view value) {
    return reinterpret_cast<const wchar_t *>(value.data());
}

void setText(HWND window, std::u16string_view value) {
    const std::u16string terminated(value);
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(terminated)));
}

std::string readAll(const std::filesystem::path &file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/** A new empty folder under the temporary folder, with a Chinese name. */
std::filesystem::path freshFolder(const char *name) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / (u"velmora 测试 " + utf16FromUtf8(name).value());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

/** The clipboard's text, read with the plain Win32 calls. */
std::u16string clipboardText() {
    std::u16string value;
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt) {
        Sleep(10);
    }
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        value = static_cast<const char16_t *>(GlobalLock(memory));
        GlobalUnlock(memory);
    }
    CloseClipboard();
    return value;
}

/** Waits up to 20 seconds for a window that found() returns. */
HWND waitFor(const std::function<HWND()> &found) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    HWND window = nullptr;
    while (window == nullptr && std::chrono::steady_clock::now() < deadline) {
        window = found();
        Sleep(window == nullptr ? 20 : 0);
    }
    return window;
}

/**
 * The dialog with this title (any, for nullptr) once it shows: a dialog is found as soon as it
 * is made, before its controls are filled in.
 */
HWND shownDialog(const wchar_t *title) {
    HWND found = FindWindowW(L"#32770", title);
    return found != nullptr && IsWindowVisible(found) ? found : nullptr;
}

/** What a message box showed before it was answered. */
struct Answered {
    bool seen = false;
    std::u16string prompt;
};

/**
 * Waits on another thread for the message box with this caption (any, for an empty one), does
 * what is meanwhile, if anything, and presses one of its buttons.
 */
std::future<Answered> answer(std::u16string caption, int button,
                             std::function<void()> meanwhile = {}) {
    return std::async(std::launch::async, [caption, button, meanwhile] {
        Answered answered;
        HWND box = waitFor([&] { return shownDialog(caption.empty() ? nullptr : wide(caption)); });
        if (box != nullptr) {
            answered.seen = true;
            if (meanwhile) {
                meanwhile();
            }
            HWND prompt = GetDlgItem(box, 0xFFFF);  // the message box's text
            answered.prompt = prompt ? text(prompt) : u"";
            SendMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
        }
        return answered;
    });
}

/** The descendant of parent that is an edit box with that id, or sits in a combo box with it. */
HWND editWithId(HWND parent, int id) {
    struct Search {
        int id;
        HWND found = nullptr;
    } search{id};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto *s = reinterpret_cast<Search *>(data);
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            const bool edit = lstrcmpiW(name, L"Edit") == 0;
            if (edit && (GetDlgCtrlID(child) == s->id || GetDlgCtrlID(GetParent(child)) == s->id)) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

/** Presses a dialog's button as a click would. */
void pressButton(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

/**
 * Waits on another thread for a common file dialog with this title, types path as the file's
 * name and presses its OK button; cancels it when it has no field for the name.
 * @return whether the name was typed.
 */
std::future<bool> answerFileDialog(std::u16string title, std::filesystem::path path) {
    return std::async(std::launch::async, [title, path] {
        HWND dialog = waitFor([&] { return shownDialog(wide(title)); });
        if (dialog == nullptr) {
            return false;
        }
        HWND name = editWithId(dialog, edt1);
        if (name == nullptr) {
            name = editWithId(dialog, cmb13);
        }
        if (name == nullptr) {
            pressButton(dialog, IDCANCEL);
            return false;
        }
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        pressButton(dialog, IDOK);
        return true;
    });
}

/** A screen whose metrics cannot be had. */
class BrokenScreen final : public Screen {
public:
    Rect geometry() const override { throw std::runtime_error("no monitor answers"); }
    Rect availableGeometry() const override { return geometry(); }
};

/** What a control is painted with, as its parent answers WM_CTLCOLOREDIT or WM_CTLCOLORSTATIC. */
struct Paint {
    COLORREF brush, background, text;
};

class Win32WindowTest : public testing::Test {
protected:
    void SetUp() override {
        m_screen.whole = {0, 0, 1280, 800};
        m_screen.available = {0, 0, 1280, 800};
        open(m_messages, m_dialogs);
    }

    void TearDown() override {
        m_window.reset();
        pump();  // the quit message of a closed window
    }

    /** (Re)creates the window on these services, shows it and runs its first messages. */
    void open(MessageBoxes &messages, Dialogs &dialogs) { open(messages, dialogs, m_opener); }

    void open(MessageBoxes &messages, Dialogs &dialogs, UrlOpener &opener) {
        m_window.reset();
        m_window = std::make_unique<Win32MainWindow>(
            GetModuleHandleW(nullptr), FormServices{m_clipboard, messages, opener, dialogs},
            m_screen, kShopUrl);
        m_clipboard.setOwner(m_window->handle());
        m_messages.setOwner(m_window->handle());
        m_realDialogs.setOwner(m_window->handle());
        m_window->show(SW_SHOW);
        pump();
    }

    HWND control(const std::string &id) {
        HWND found = m_window->control(id);
        EXPECT_NE(found, nullptr) << id;
        return found;
    }

    Form &form() { return *m_window->form(); }

    /** Runs the queued messages through the window as its message loop would. */
    void pump(int rounds = 5) {
        MSG message;
        for (int round = 0; round < rounds; ++round) {
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (!m_window || !m_window->preTranslate(message)) {
                    TranslateMessage(&message);
                    DispatchMessageW(&message);
                }
            }
            Sleep(10);
        }
    }

    void pressKey(UINT key) {
        HWND focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
        pump();
    }

    /** Presses a shortcut on the focused control: "F5", "Ctrl+S". */
    void pressShortcut(std::string_view keys) {
        const std::optional<ACCEL> accel = acceleratorFor(keys, 0);
        ASSERT_TRUE(accel) << keys;
        BYTE state[256] = {};
        GetKeyboardState(state);
        const BYTE control = state[VK_CONTROL];
        const BYTE alt = state[VK_MENU];
        // Posted keys leave the key state alone: hold Ctrl and Alt here.
        state[VK_CONTROL] = (accel->fVirt & FCONTROL) ? 0x80 : control;
        state[VK_MENU] = (accel->fVirt & FALT) ? 0x80 : alt;
        SetKeyboardState(state);
        pressKey(accel->key);
        state[VK_CONTROL] = control;
        state[VK_MENU] = alt;
        SetKeyboardState(state);
    }

    /** Presses key on the focused control with modifier (VK_CONTROL, VK_SHIFT; 0: none) held. */
    void pressKeyWith(BYTE modifier, UINT key) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        const BYTE before = state[modifier];
        if (modifier != 0) {
            state[modifier] = 0x80;  // posted keys leave the key state alone: hold it here
            SetKeyboardState(state);
        }
        pressKey(key);
        state[modifier] = before;
        SetKeyboardState(state);
    }

    /** The colours of the box's outermost frame, down its left edge between the corners. */
    std::set<COLORREF> frameOf(HWND box) {
        RedrawWindow(box, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        RECT r{};
        GetWindowRect(box, &r);
        HDC dc = GetWindowDC(box);
        std::set<COLORREF> colours;
        for (int y = 2; y < r.bottom - r.top - 2; ++y) {
            colours.insert(GetPixel(dc, 0, y));
        }
        ReleaseDC(box, dc);
        return colours;
    }

    Paint paintOf(HWND box, UINT message = WM_CTLCOLOREDIT) {
        HDC dc = GetDC(box);
        const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(m_window->handle(), message,
                                                                 reinterpret_cast<WPARAM>(dc),
                                                                 reinterpret_cast<LPARAM>(box)));
        LOGBRUSH logBrush{};
        GetObjectW(brush, sizeof logBrush, &logBrush);
        const Paint paint{logBrush.lbColor, GetBkColor(dc), GetTextColor(dc)};
        ReleaseDC(box, dc);
        return paint;
    }

    /** The tooltip text the window gives a box. */
    std::u16string tooltipOf(HWND box) {
        struct Search {
            HWND owner;
            HWND found = nullptr;
        } search{m_window->handle()};
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM data) -> BOOL {
                auto *s = reinterpret_cast<Search *>(data);
                wchar_t name[64] = {};
                GetClassNameW(window, name, 64);
                if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0 &&
                    GetWindow(window, GW_OWNER) == s->owner) {
                    s->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        EXPECT_NE(search.found, nullptr);
        std::wstring buffer(4096, L'\0');
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = m_window->handle();
        tool.uId = reinterpret_cast<UINT_PTR>(box);
        tool.lpszText = buffer.data();
        SendMessageW(search.found, TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&tool));
        return {buffer.c_str(), buffer.c_str() + wcslen(buffer.c_str())};
    }

    /** Where a control stands in the window's client area. */
    RECT clientRect(HWND control) {
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(HWND_DESKTOP, m_window->handle(), reinterpret_cast<POINT *>(&r), 2);
        return r;
    }

    /** Every visible box, with its box number. */
    std::vector<std::pair<HWND, int>> visibleBoxes() {
        std::vector<std::pair<HWND, int>> boxes;
        for (const ControlDef &def : windowControls()) {
            if (def.role == Role::Box && def.visible) {
                boxes.emplace_back(control(controlId(def)), def.box);
            }
        }
        return boxes;
    }

    Win32Clipboard m_clipboard;
    Win32MessageBoxes m_messages;
    FakeMessageBoxes m_fakeMessages;
    FakeUrlOpener m_opener;
    FakeDialogs m_dialogs;
    Win32Dialogs m_realDialogs;
    FakeScreen m_screen;
    std::unique_ptr<Win32MainWindow> m_window;
};

TEST_F(Win32WindowTest, VisibleControlsStandAsTheTableSays) {
    const UINT dpi = windowDpi(m_window->handle());
    const auto px = [dpi](int twips) { return MulDiv(twips, static_cast<int>(dpi), 1440); };
    RECT client{};
    GetClientRect(m_window->handle(), &client);
    EXPECT_EQ(client.right, px(kClientWidthTwips));
    EXPECT_EQ(client.bottom, px(kClientHeightTwips));
    EXPECT_EQ(GetWindowLongW(m_window->handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0)
        << "no scroll bars where the screen is large enough";
    EXPECT_EQ(GetMenu(m_window->handle()), nullptr);
    for (const ControlDef &def : windowControls()) {
        HWND hwnd = m_window->control(controlId(def));
        if (!def.visible) {
            EXPECT_EQ(hwnd, nullptr) << controlId(def);
            continue;
        }
        ASSERT_NE(hwnd, nullptr) << controlId(def);
        const RECT r = clientRect(hwnd);
        const ControlDef *frame = def.container.empty() ? nullptr : &controlById(def.container);
        EXPECT_EQ(r.left, px(def.left) + (frame ? px(frame->left) : 0)) << controlId(def);
        EXPECT_EQ(r.top, px(def.top) + (frame ? px(frame->top) : 0)) << controlId(def);
        // A prompt ends where its box begins (see the placement tests).
        const RECT place = controlRect(def, 96);
        EXPECT_EQ(r.right - r.left, place.right - place.left) << controlId(def);
        EXPECT_EQ(r.bottom - r.top, px(def.height)) << controlId(def);
        if (def.kind != ControlKind::Frame) {
            EXPECT_EQ(text(hwnd), def.text) << controlId(def);
        }
    }
}

TEST_F(Win32WindowTest, MadeWhereItShowsAndActivatedOnlyThen) {
    m_window.reset();
    pump();
    Win32MainWindow window(GetModuleHandleW(nullptr),
                           FormServices{m_clipboard, m_fakeMessages, m_opener, m_dialogs}, m_screen,
                           kShopUrl);
    EXPECT_FALSE(IsWindowVisible(window.handle()));
    EXPECT_NE(GetActiveWindow(), window.handle()) << "a hidden window took the activation";
    RECT made{};
    GetWindowRect(window.handle(), &made);
    window.show(SW_SHOW);
    RECT shown{};
    GetWindowRect(window.handle(), &shown);
    EXPECT_TRUE(EqualRect(&made, &shown)) << "moved after it was made";
    EXPECT_EQ((made.left + made.right) / 2, 640);
    EXPECT_EQ(GetActiveWindow(), window.handle());
}

TEST_F(Win32WindowTest, IconsAreTheirOwnImages) {
    for (const auto &[index, widthMetric] :
         {std::pair{GCLP_HICON, SM_CXICON}, std::pair{GCLP_HICONSM, SM_CXSMICON}}) {
        const auto icon = reinterpret_cast<HICON>(GetClassLongPtrW(m_window->handle(), index));
        ASSERT_NE(icon, nullptr) << index;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(widthMetric)) << index;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

TEST_F(Win32WindowTest, FocusStartsOnGenerateAndTabWalksTheTable) {
    EXPECT_EQ(GetFocus(), control("Command2"));
    for (const char *next :
         {"Text4(4)", "Text4(1)", "Text4(6)", "Text4(8)", "Text4(10)", "Text7", "Text1", "Text2",
          "Command1", "Text4(2)", "Text4(7)", "Text4(16)", "Text4(11)", "Label3", "Command2"}) {
        pressKey(VK_TAB);
        EXPECT_EQ(GetFocus(), control(next)) << next;
    }
}

TEST_F(Win32WindowTest, GenerateCopiesTheCoreTextAndSaysSo) {
    SendMessageW(control("Text4(2)"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"#333333"));
    SendMessageW(control("Text1"), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"https://img.example/二级.jpg"));
    auto message = answer(std::u16string(messages::kCopiedCaption), IDOK);
    SendMessageW(control("Command2"), BM_CLICK, 0, 0);
    const Answered answered = message.get();
    EXPECT_TRUE(answered.seen);
    EXPECT_EQ(answered.prompt, messages::kCopiedPrompt);

    StyleValues expected = startValues();
    expected.slot(2) = u"#333333";
    expected.images[1] = u"https://img.example/二级.jpg";
    EXPECT_EQ(clipboardText(), generateCss(expected));  // CR LF and all
}

// Every control Tab reaches, as a screen reader hears it through oleacc: named as the window
// table says, so that a control added without a name fails here.
TEST_F(Win32WindowTest, ScreenReadersHearEveryControlByItsName) {
    for (const ControlDef *def : tabOrder()) {
        const Heard heard = hear(control(controlId(*def)));
        EXPECT_FALSE(accessibleName(*def).empty()) << controlId(*def) << " has no name";
        EXPECT_EQ(heard.name, accessibleName(*def)) << controlId(*def);
        const LONG role = def->kind == ControlKind::Button ? ROLE_SYSTEM_PUSHBUTTON
                          : def->role == Role::ShopLink    ? ROLE_SYSTEM_LINK
                                                           : ROLE_SYSTEM_TEXT;
        EXPECT_EQ(heard.role, role) << controlId(*def);
    }
}

TEST_F(Win32WindowTest, SpaceAndEnterPressTheFocusedButton) {
    for (UINT key : {VK_SPACE, VK_RETURN}) {
        SetFocus(control("Label3"));  // the shop link, as a button
        pressKey(key);
        EXPECT_EQ(m_opener.opened.size(), key == VK_SPACE ? 1U : 2U) << "link, key " << key;

        SetFocus(control("Command2"));
        auto generated = answer(std::u16string(messages::kCopiedCaption), IDOK);
        pressKey(key);
        EXPECT_TRUE(generated.get().seen) << "Generate, key " << key;

        SetFocus(control("Command1"));
        auto asked = answer(std::u16string(messages::kClearCaption), IDNO);
        pressKey(key);
        EXPECT_TRUE(asked.get().seen) << "Clear, key " << key;
    }
}

TEST_F(Win32WindowTest, ClearAsksAndYesEmptiesTheBoxes) {
    SendMessageW(control("Text7"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"a"));
    const StyleValues before = form().values();
    EXPECT_EQ(before.images[0], u"a");
    auto no = answer(std::u16string(messages::kClearCaption), IDNO);
    SendMessageW(control("Command1"), BM_CLICK, 0, 0);
    EXPECT_EQ(no.get().prompt, messages::kClearPrompt);
    EXPECT_EQ(form().values(), before);

    auto yes = answer(std::u16string(messages::kClearCaption), IDYES);
    SendMessageW(control("Command1"), BM_CLICK, 0, 0);
    EXPECT_TRUE(yes.get().seen);
    StyleValues cleared = before;
    clearValues(cleared);
    EXPECT_EQ(form().values(), cleared);
    EXPECT_EQ(GetWindowTextLengthW(control("Text4(1)")), 0);
    EXPECT_EQ(GetWindowTextLengthW(control("Text7")), 0);
}

TEST_F(Win32WindowTest, ShopLinkOpensOrGivesTheAddress) {
    HWND link = control("Label3");
    const auto click = [&] {
        SendMessageW(m_window->handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), STN_CLICKED),
                     reinterpret_cast<LPARAM>(link));
    };
    click();
    EXPECT_EQ(m_opener.opened, std::vector<std::string>{kShopUrl});

    m_opener.works = false;
    auto message = answer(u"提示", IDOK);
    click();
    const Answered answered = message.get();
    EXPECT_TRUE(answered.seen);
    EXPECT_TRUE(answered.prompt.ends_with(u"https://shop.example.com/velmora"))
        << answered.prompt.size();
}

TEST_F(Win32WindowTest, LabelsShowTheirColoursAndTheLinkTheHand) {
    const HCURSOR hand = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
    const struct {
        const char *label;
        COLORREF text;
        bool hand;
    } cases[] = {
        {"Label3", RGB(255, 0, 0), true},  // the shop link
        {"Label7", RGB(255, 0, 0), false},
        {"Label9(0)", GetSysColor(COLOR_BTNTEXT), false},
    };
    for (const auto &c : cases) {
        const Paint paint = paintOf(control(c.label), WM_CTLCOLORSTATIC);
        EXPECT_EQ(paint.text, c.text) << c.label;
        EXPECT_EQ(paint.background, GetSysColor(COLOR_BTNFACE)) << c.label;
        EXPECT_EQ(paint.brush, GetSysColor(COLOR_BTNFACE)) << c.label;
        SetCursor(nullptr);
        SendMessageW(m_window->handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(control(c.label)),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor() == hand, c.hand) << c.label;
    }
}

TEST(LinkLabel, OnlyAFreshSpacePressesTheLink) {
    const struct {
        UINT message;
        WPARAM key;
        LPARAM data;
        bool pressed;
    } cases[] = {
        {WM_KEYDOWN, VK_SPACE, 0x00390001, true},
        {WM_KEYDOWN, VK_SPACE, 0x40390001, false},   // held down: the key repeats
        {WM_KEYDOWN, VK_RETURN, 0x001C0001, false},  // Enter reaches the window as IDOK
        {WM_CHAR, L' ', 0x00390001, false},
    };
    for (const auto &c : cases) {
        const LinkMessage link = linkMessage(nullptr, c.message, c.key, c.data);
        EXPECT_EQ(link.pressed, c.pressed) << c.message << ' ' << c.key << ' ' << c.data;
        EXPECT_EQ(link.handled, c.pressed) << c.message << ' ' << c.key << ' ' << c.data;
    }
}

TEST_F(Win32WindowTest, ClipboardHeldByAnotherProgram) {
    for (const bool released : {true, false}) {
        HANDLE holding = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::thread holder([&] {
            OpenClipboard(nullptr);
            SetEvent(holding);
            WaitForSingleObject(release, released ? 20 : INFINITE);
            CloseClipboard();
        });
        WaitForSingleObject(holding, INFINITE);
        const StyleValues before = form().values();
        auto message = answer(
            std::u16string(released ? messages::kCopiedCaption : messages::kCopyFailedCaption),
            IDOK);
        SendMessageW(control("Command2"), BM_CLICK, 0, 0);
        const Answered answered = message.get();
        SetEvent(release);
        holder.join();
        CloseHandle(holding);
        CloseHandle(release);
        EXPECT_TRUE(answered.seen) << (released ? "held briefly" : "held throughout");
        EXPECT_EQ(form().values(), before);
        if (released) {
            EXPECT_EQ(clipboardText(), generateCss(before));
        } else {
            EXPECT_EQ(answered.prompt, messages::kCopyFailedPrompt);
        }
    }
}

// Typing in a box: the form keeps the text, and the box shows the look the form gives it.
struct TypingCase {
    const char *name;
    const char *box;
    std::u16string typed;
    std::optional<COLORREF> background;  // nothing: the system's own
    COLORREF textColour;
    bool marked = false;  // a red frame, which no background can pass for
};
void PrintTo(const TypingCase &c, std::ostream *os) { *os << c.name; }

class Win32TypingTest : public Win32WindowTest, public testing::WithParamInterface<TypingCase> {};

TEST_P(Win32TypingTest, ReachesTheFormAndColoursTheBox) {
    const TypingCase &c = GetParam();
    HWND box = control(c.box);
    const int number = controlById(c.box).box;
    setText(box, c.typed);
    EXPECT_EQ(form().values().box(number), c.typed);

    const Paint paint = paintOf(box);
    const COLORREF background = c.background.value_or(GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(paint.brush, background);
    EXPECT_EQ(paint.background, background);
    EXPECT_EQ(paint.text, c.background ? c.textColour : GetSysColor(COLOR_WINDOWTEXT));
    // Read-only, showing a long value shortened, it is painted as a static and looks the same.
    const Paint asStatic = paintOf(box, WM_CTLCOLORSTATIC);
    EXPECT_EQ(asStatic.brush, background);
    EXPECT_EQ(asStatic.background, background);
    EXPECT_EQ(asStatic.text, paint.text);
    EXPECT_EQ(tooltipOf(box), form().look(number).tooltip);
    // Red and white dashes, which show on any colour the box shows.
    const std::set<COLORREF> frame = frameOf(box);
    EXPECT_EQ(frame.contains(RGB(220, 0, 0)), c.marked);
    EXPECT_EQ(frame.contains(RGB(255, 255, 255)), c.marked);
    if (c.marked) {
        EXPECT_FALSE(form().look(number).tooltip.empty()) << "a marked box says why";
    }
    // Its reason or colour reaches screen readers, after its name.
    const Heard heard = hear(box);
    EXPECT_EQ(heard.description, form().look(number).description);
    EXPECT_EQ(heard.name, accessibleName(controlById(c.box)));
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, Win32TypingTest,
    testing::Values(
        TypingCase{"DarkColour", "Text4(2)", u"#336699", RGB(0x33, 0x66, 0x99), RGB(255, 255, 255)},
        TypingCase{"LightColour", "Text4(16)", u"rgb(255,238,0)", RGB(255, 238, 0), RGB(0, 0, 0)},
        TypingCase{"NotAColour", "Text4(7)", u"红色", RGB(255, 214, 214), RGB(0, 0, 0), true},
        TypingCase{"MarkersColourUnmarked", "Text4(7)", u"#FFD6D6", RGB(255, 214, 214),
                   RGB(0, 0, 0)},
        TypingCase{"SpacedColourShownMarked", "Text4(2)", u"#000080 ", RGB(0, 0, 128),
                   RGB(255, 255, 255), true},
        TypingCase{"MarkedFramesRed", "Text4(2)", u" #DC0000", RGB(220, 0, 0), RGB(255, 255, 255),
                   true},
        TypingCase{"MarkedWhite", "Text4(7)", u"#FFFFFF\t", RGB(255, 255, 255), RGB(0, 0, 0), true},
        TypingCase{"MarkedBlack", "Text4(16)", u" #000000", RGB(0, 0, 0), RGB(255, 255, 255), true},
        TypingCase{"EmptyColour", "Text4(11)", u"", std::nullopt, 0},
        TypingCase{"HttpImage", "Text7", u"http://img.alicdn.com/a.jpg", RGB(255, 214, 214),
                   RGB(0, 0, 0), true},
        TypingCase{"GoodImage", "Text4(1)", u"https://img.alicdn.com/a.jpg", std::nullopt, 0},
        TypingCase{"EmptyImage", "Text2", u"", std::nullopt, 0},
        // A translucent colour as it looks over white; an image box's colour with a space
        // around it is written as an address and shows no colour.
        TypingCase{"TranslucentOverWhite", "Text7", u"rgba(196,0,0,0.5)", RGB(225, 127, 127),
                   RGB(0, 0, 0)},
        TypingCase{"SpacedImageColour", "Text1", u"#C40000 ", RGB(255, 214, 214), RGB(0, 0, 0),
                   true}),
    [](const testing::TestParamInfo<TypingCase> &info) { return info.param.name; });

// A hidden slot has no box: its text colour that reads poorly marks its background's box.
TEST_F(Win32WindowTest, HiddenTextColourIsToldInItsBackgroundsBox) {
    form().textEdited(8, u"#FEFEFE");  // hidden slot 9, the all-categories title under the mouse
    HWND box = control("Text4(6)");
    setText(box, u"#FFFFFF");
    EXPECT_TRUE(frameOf(box).contains(RGB(220, 0, 0)));
    EXPECT_NE(tooltipOf(box).find(u"隐藏的文字颜色 #FEFEFE（第 9 项）"), std::u16string::npos);
}

// A double click on any box opens the colour dialog, at the box's colour; an image box holding
// none starts at the colour chosen last. The colour goes into the box, with no save dialog.
TEST_F(Win32WindowTest, DoubleClickPicksAColourOrMakesABackground) {
    m_dialogs.colour = Rgb{0x12, 0x34, 0xAB};
    const struct {
        const char *id;
        std::u16string_view typed;
        Rgb start;
    } cases[] = {{"Text4(2)", u"#0000FF", Rgb{0, 0, 255}},
                 {"Text4(7)", u"#0000FF", Rgb{0, 0, 255}},
                 {"Text4(1)", u"https://img.alicdn.com/a.jpg", Rgb{0x12, 0x34, 0xAB}},
                 {"Text7", u"#0000FF", Rgb{0, 0, 255}}};
    for (const auto &c : cases) {
        m_dialogs.colourAsked.clear();
        HWND box = control(c.id);
        setText(box, c.typed);
        PostMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        pump();
        EXPECT_EQ(m_dialogs.colourAsked, std::vector<Rgb>{c.start}) << c.id;
        EXPECT_EQ(text(box), u"#1234AB") << c.id;
        EXPECT_EQ(paintOf(box).background, RGB(0x12, 0x34, 0xAB)) << c.id;
    }
    EXPECT_TRUE(m_dialogs.saveAsked.empty());
}

// Each shortcut works wherever the focus is.
TEST_F(Win32WindowTest, ShortcutsReachTheFormWhereverTheFocusIs) {
    open(m_fakeMessages, m_dialogs);
    for (const char *focus : {"Command2", "Text4(4)", "Text7", "Command1"}) {
        SetFocus(control(focus));
        m_opener.opened.clear();
        m_dialogs.fileAsked.clear();
        pressShortcut("F5");
        ASSERT_EQ(m_opener.opened.size(), 1U) << focus;
        EXPECT_TRUE(m_opener.opened[0].starts_with("file:")) << m_opener.opened[0];
        pressShortcut("Ctrl+S");
        pressShortcut("Ctrl+O");
        EXPECT_EQ(m_dialogs.fileAsked, (std::vector<bool>{true, false})) << focus;
        EXPECT_EQ(GetFocus(), control(focus));
    }
    EXPECT_TRUE(m_fakeMessages.shown.empty());
}

struct ShortcutCase {
    const char *keys;
    std::optional<ACCEL> expected;
};

TEST(AcceleratorFor, ReadsTheKeysAsTheMenusShowThem) {
    const ShortcutCase cases[] = {
        {"F5", ACCEL{FVIRTKEY, VK_F5, 7}},
        {"F12", ACCEL{FVIRTKEY, VK_F12, 7}},
        {"Ctrl+O", ACCEL{FVIRTKEY | FCONTROL, 'O', 7}},
        {"Ctrl+s", ACCEL{FVIRTKEY | FCONTROL, 'S', 7}},
        {"Ctrl+Shift+S", ACCEL{FVIRTKEY | FCONTROL | FSHIFT, 'S', 7}},
        {"Alt+1", ACCEL{FVIRTKEY | FALT, '1', 7}},
        {"", std::nullopt},
        {"F0", std::nullopt},
        {"F25", std::nullopt},
        {"Ctrl+", std::nullopt},
        {"Meta+S", std::nullopt},
        {"Ctrl+Tab", std::nullopt},
    };
    for (const ShortcutCase &c : cases) {
        const std::optional<ACCEL> accel = acceleratorFor(c.keys, 7);
        ASSERT_EQ(accel.has_value(), c.expected.has_value()) << c.keys;
        if (accel) {
            EXPECT_EQ(accel->fVirt, c.expected->fVirt) << c.keys;
            EXPECT_EQ(accel->key, c.expected->key) << c.keys;
            EXPECT_EQ(accel->cmd, 7) << c.keys;
        }
    }
    for (const MenuEntry &entry : kMenuEntries) {
        EXPECT_TRUE(acceleratorFor(entry.keys, 1)) << entry.keys;
    }
}

TEST_F(Win32WindowTest, SaveThenOpenRestoresEveryBox) {
    open(m_fakeMessages, m_dialogs);
    const std::filesystem::path folder = freshFolder("save-open");
    m_dialogs.file = folder / L"方案.txt";
    std::vector<std::pair<HWND, int>> boxes = visibleBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        setText(boxes[i].first, Form::isColourBox(boxes[i].second)
                                    ? hexColour(Rgb{static_cast<std::uint8_t>(i * 10), 1, 2})
                                    : u"https://img.alicdn.com/" + std::u16string(i + 1, u'图'));
    }
    const StyleValues saved = form().values();
    SetFocus(control("Text7"));
    pressShortcut("Ctrl+S");
    ASSERT_TRUE(std::filesystem::exists(*m_dialogs.file));

    for (const auto &[box, number] : boxes) {
        setText(box, u"changed");
    }
    pressShortcut("Ctrl+O");
    EXPECT_EQ(form().values(), saved);
    for (const auto &[box, number] : boxes) {
        EXPECT_EQ(text(box), saved.box(number)) << number;
    }
    EXPECT_TRUE(m_fakeMessages.shown.empty());
    std::filesystem::remove_all(folder);
}

/** Drops files on a window as the shell does. */
void dropFiles(HWND onto, const std::vector<std::filesystem::path> &files) {
    std::wstring names;
    for (const std::filesystem::path &file : files) {
        names += file.wstring() + L'\0';
    }
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (names.size() + 1) * sizeof(wchar_t));
    auto *drop = static_cast<DROPFILES *>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::copy(names.begin(), names.end(),
              reinterpret_cast<wchar_t *>(reinterpret_cast<BYTE *>(drop) + sizeof(DROPFILES)));
    GlobalUnlock(memory);
    SendMessageW(onto, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

void dropFile(HWND onto, const std::filesystem::path &file) { dropFiles(onto, {file}); }

TEST_F(Win32WindowTest, DroppedImageLandsInItsImageBox) {
    open(m_fakeMessages, m_dialogs);
    const std::filesystem::path image = freshFolder("image") / L"店招 1.PNG";
    std::ofstream(image, std::ios::binary) << "\x89PNG\r\n\x1A\n";
    for (const char *id : {"Text4(6)", "Text2"}) {
        dropFile(control(id), image);
        EXPECT_EQ(text(control(id)), utf16FromUtf8(fileUrl(image)).value()) << id;
        EXPECT_TRUE(text(control(id)).starts_with(u"file:///")) << id;
        EXPECT_EQ(paintOf(control(id)).background, RGB(255, 214, 214)) << id;
    }
    const StyleValues before = form().values();
    dropFile(control("Text4(2)"), image);  // a colour box: told where images go
    EXPECT_EQ(form().values(), before);
    ASSERT_EQ(m_fakeMessages.shown.size(), 1U);
    EXPECT_NE(m_fakeMessages.shown[0].prompt.find(messages::kDropImageElsewhere),
              std::u16string::npos);

    // Every file of a drop reaches the form: the first image is taken, the second told of.
    const std::filesystem::path second = image.parent_path() / L"b.gif";
    std::ofstream(second, std::ios::binary) << "GIF89a";
    dropFiles(control("Text2"), {second, image});
    EXPECT_TRUE(text(control("Text2")).ends_with(u"/b.gif"));
    ASSERT_EQ(m_fakeMessages.shown.size(), 2U);
    EXPECT_NE(m_fakeMessages.shown[1].prompt.find(messages::kDropOnePicture), std::u16string::npos);
    std::filesystem::remove_all(image.parent_path());
}

TEST_F(Win32WindowTest, DroppedValuesFileIsLoaded) {
    open(m_fakeMessages, m_dialogs);
    const std::filesystem::path folder = freshFolder("drop");
    StyleValues dropped = startValues();
    dropped.slot(2) = u"#010203";
    dropped.images[0] = u"https://img.alicdn.com/拖放.jpg";
    const std::filesystem::path file = folder / L"拖放 方案.txt";
    std::ofstream(file, std::ios::binary) << presetText(dropped);

    for (const char *target : {"", "Text4(2)"}) {
        setText(control("Text4(2)"), u"#FFFFFF");
        setText(control("Text7"), u"");
        dropFile(*target ? control(target) : m_window->handle(), file);
        EXPECT_EQ(form().values(), dropped) << target;
        EXPECT_EQ(text(control("Text7")), dropped.images[0]) << target;
    }
    EXPECT_TRUE(GetWindowLongW(m_window->handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_TRUE(GetWindowLongW(control("Text4(2)"), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_TRUE(m_fakeMessages.shown.empty());

    // An image box takes images only: a values file dropped there is told of, not read.
    setText(control("Text4(2)"), u"#FFFFFF");
    const StyleValues before = form().values();
    dropFile(control("Text7"), file);
    EXPECT_EQ(form().values(), before);
    ASSERT_EQ(m_fakeMessages.shown.size(), 1U);
    EXPECT_NE(m_fakeMessages.shown[0].prompt.find(messages::kDropNotAPicture),
              std::u16string::npos);
    std::filesystem::remove_all(folder);
}

// The context menus: the window's entries everywhere, a box's own edit entries first.
struct MenuCase {
    const char *name;
    const char *target;  // empty: the window itself
    std::vector<std::u16string> entries;
};
void PrintTo(const MenuCase &c, std::ostream *os) { *os << c.name; }

/** The window's entries, the whole-form undo's saying undo. */
std::vector<std::u16string> windowEntries(std::u16string undo = u"撤销整体修改") {
    return {u"预览\tF5",          u"导入代码\tCtrl+I", u"打开方案…\tCtrl+O",
            u"保存方案…\tCtrl+S", u"配色方案",         undo + u"\tCtrl+Alt+Z"};
}
const std::vector<std::u16string> kWindowEntries = windowEntries();

std::vector<std::u16string> boxEntries(bool colour) {
    std::vector<std::u16string> entries{u"撤销", u"", u"剪切", u"复制", u"粘贴",
                                        u"删除", u"", u"全选", u""};
    entries.insert(entries.end(), kWindowEntries.begin(), kWindowEntries.end());
    entries.push_back(u"选择颜色…");
    if (!colour) {
        entries.push_back(u"制作背景图…");
    }
    return entries;
}

std::vector<std::u16string> menuTexts(HMENU menu) {
    std::vector<std::u16string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t buffer[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), buffer, 128, MF_BYPOSITION);
        texts.emplace_back(buffer, buffer + wcslen(buffer));
    }
    return texts;
}

/** The id of the entry with this text, or 0. */
UINT entryId(HMENU menu, std::u16string_view entry) {
    const std::vector<std::u16string> texts = menuTexts(menu);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i] == entry) {
            return GetMenuItemID(menu, static_cast<int>(i));
        }
    }
    return 0;
}

bool greyed(HMENU menu, std::u16string_view entry) {
    const std::vector<std::u16string> texts = menuTexts(menu);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i] == entry) {
            return (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED) != 0;
        }
    }
    ADD_FAILURE() << "no entry";
    return false;
}

class Win32MenuTest : public Win32WindowTest, public testing::WithParamInterface<MenuCase> {};

TEST_P(Win32MenuTest, HasItsEntriesAndEachReachesTheForm) {
    const MenuCase &c = GetParam();
    open(m_fakeMessages, m_dialogs);
    HWND target = *c.target ? control(c.target) : m_window->handle();
    HMENU menu = m_window->createContextMenu(target);
    EXPECT_EQ(menuTexts(menu), c.entries);

    m_window->runMenuEntry(entryId(menu, u"预览\tF5"), target);
    EXPECT_EQ(m_opener.opened.size(), 1U);
    m_window->runMenuEntry(entryId(menu, u"保存方案…\tCtrl+S"), target);
    m_window->runMenuEntry(entryId(menu, u"打开方案…\tCtrl+O"), target);
    EXPECT_EQ(m_dialogs.fileAsked, (std::vector<bool>{true, false}));
    if (const UINT pick = entryId(menu, u"选择颜色…")) {
        m_dialogs.colour = Rgb{1, 2, 3};
        m_window->runMenuEntry(pick, target);
        EXPECT_EQ(text(target), u"#010203");
    }
    if (const UINT make = entryId(menu, u"制作背景图…")) {
        m_dialogs.colour = Rgb{1, 2, 3};
        m_window->runMenuEntry(make, target);  // cancelled in the save dialog
        EXPECT_EQ(m_dialogs.saveAsked.size(), 1U);
    }
    // Every menu has the palettes, each by name with its swatch at the window's dpi (经典红:
    // its bar's colour, opaque); the first fills the boxes, the undo entry then takes it back.
    HMENU palettes = GetSubMenu(
        menu, static_cast<int>(std::find(c.entries.begin(), c.entries.end(), u"配色方案") -
                               c.entries.begin()));
    EXPECT_EQ(menuTexts(palettes),
              (std::vector<std::u16string>{u"经典红", u"活力橙", u"清新绿", u"商务蓝", u"深海蓝",
                                           u"典雅紫", u"樱花粉", u"黑金", u"高级灰", u"咖啡棕",
                                           u"薄荷青", u"柠檬黄", u"", u"按主色生成…"}));
    const int size = MulDiv(16, static_cast<int>(windowDpi(m_window->handle())), 96);
    for (const int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13}) {  // 13: 按主色生成…
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_BITMAP;
        ASSERT_TRUE(GetMenuItemInfoW(palettes, static_cast<UINT>(i), TRUE, &item));
        DIBSECTION dib{};
        ASSERT_EQ(GetObjectW(item.hbmpItem, sizeof dib, &dib), static_cast<int>(sizeof dib)) << i;
        EXPECT_EQ(dib.dsBm.bmWidth, 2 * size);
        EXPECT_EQ(dib.dsBm.bmHeight, size);
        if (i == 0) {
            EXPECT_EQ(static_cast<const DWORD *>(dib.dsBm.bmBits)[size / 2 * size * 2 + 2],
                      0xFFC40000U);
        }
    }
    const StyleValues before = form().values();  // a colour picked above, perhaps
    m_window->runMenuEntry(GetMenuItemID(palettes, 0), target);
    EXPECT_EQ(text(control("Text4(1)")), u"#C40000");
    EXPECT_EQ(text(control("Text2")), u"#6B0000");
    destroyContextMenu(menu);
    menu = m_window->createContextMenu(target);
    m_window->runMenuEntry(entryId(menu, u"撤销整体修改（配色方案）\tCtrl+Alt+Z"), target);
    EXPECT_EQ(form().values(), before);
    EXPECT_EQ(text(control("Text4(1)")), before.slot(1));
    destroyContextMenu(menu);
    EXPECT_TRUE(m_fakeMessages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Targets, Win32MenuTest,
                         testing::Values(MenuCase{"Window", "", kWindowEntries},
                                         MenuCase{"Label", "Label6(2)", kWindowEntries},
                                         MenuCase{"Button", "Command2", kWindowEntries},
                                         MenuCase{"ColourBox", "Text4(2)", boxEntries(true)},
                                         MenuCase{"ImageSlot", "Text4(1)", boxEntries(false)},
                                         MenuCase{"ImageBox", "Text2", boxEntries(false)}),
                         [](const testing::TestParamInfo<MenuCase> &info) {
                             return info.param.name;
                         });

// The whole-form undo: greyed until a whole change, then named for it; Ctrl+Alt+Z from a box
// takes it back, and leaves the box's own Ctrl+Z alone.
TEST_F(Win32WindowTest, WholeChangesAreTakenBackFromTheMenuOrTheKeys) {
    HMENU menu = m_window->createContextMenu(m_window->handle());
    EXPECT_TRUE(greyed(menu, u"撤销整体修改\tCtrl+Alt+Z"));
    DestroyMenu(menu);
    m_clipboard.clear();
    StyleValues code = startValues();
    code.slot(2) = u"#123456";
    ASSERT_TRUE(m_clipboard.setText(generateCss(code)));
    menu = m_window->createContextMenu(m_window->handle());
    m_window->runMenuEntry(entryId(menu, u"导入代码\tCtrl+I"), nullptr);
    DestroyMenu(menu);
    ASSERT_EQ(text(control("Text4(2)")), u"#123456");
    menu = m_window->createContextMenu(control("Text4(2)"));
    EXPECT_FALSE(greyed(menu, u"撤销整体修改（导入代码）\tCtrl+Alt+Z"));
    DestroyMenu(menu);
    SetFocus(control("Text4(2)"));
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_CONTROL] = state[VK_MENU] = 0x80;  // posted keys leave the key state alone
    SetKeyboardState(state);
    pressKey('Z');
    state[VK_CONTROL] = state[VK_MENU] = 0;
    SetKeyboardState(state);
    EXPECT_EQ(form().values(), startValues());
    EXPECT_EQ(text(control("Text4(2)")), u"#FFFFFF");
}

TEST_F(Win32WindowTest, EditEntriesActOnTheBoxAndGreyWhereTheyCannot) {
    HWND box = control("Text4(7)");
    setText(box, u"#00FF00");
    m_clipboard.clear();
    SendMessageW(box, EM_SETSEL, 0, 0);
    HMENU menu = m_window->createContextMenu(box);
    for (const char16_t *entry : {u"撤销", u"剪切", u"复制", u"删除", u"粘贴"}) {
        EXPECT_TRUE(greyed(menu, entry)) << utf8FromUtf16(entry);
    }
    EXPECT_FALSE(greyed(menu, u"全选"));
    m_window->runMenuEntry(entryId(menu, u"全选"), box);
    destroyContextMenu(menu);

    menu = m_window->createContextMenu(box);
    EXPECT_TRUE(greyed(menu, u"全选"));
    for (const char16_t *entry : {u"剪切", u"复制", u"删除"}) {
        EXPECT_FALSE(greyed(menu, entry)) << utf8FromUtf16(entry);
    }
    m_window->runMenuEntry(entryId(menu, u"复制"), box);
    EXPECT_EQ(clipboardText(), u"#00FF00");
    m_window->runMenuEntry(entryId(menu, u"删除"), box);
    EXPECT_EQ(text(box), u"");
    EXPECT_EQ(form().values().slot(7), u"") << "the edit reaches the form";
    destroyContextMenu(menu);

    menu = m_window->createContextMenu(box);
    EXPECT_FALSE(greyed(menu, u"撤销"));
    EXPECT_FALSE(greyed(menu, u"粘贴"));
    m_window->runMenuEntry(entryId(menu, u"撤销"), box);
    EXPECT_EQ(form().values().slot(7), u"#00FF00");
    SendMessageW(box, EM_SETSEL, 0, -1);
    m_window->runMenuEntry(entryId(menu, u"剪切"), box);
    EXPECT_EQ(form().values().slot(7), u"");
    m_window->runMenuEntry(entryId(menu, u"粘贴"), box);
    m_window->runMenuEntry(entryId(menu, u"粘贴"), box);
    EXPECT_EQ(form().values().slot(7), u"#00FF00#00FF00");
    destroyContextMenu(menu);
}

TEST_F(Win32WindowTest, RightClickShowsTheMenuAndItsChoiceRuns) {
    open(m_fakeMessages, m_dialogs);
    m_dialogs.colour = Rgb{0xAA, 0xBB, 0xCC};
    const std::vector<WPARAM> toPalettes(5, VK_DOWN);  // the fifth entry: 配色方案
    const struct {
        const char *target;        // empty: the window itself
        std::vector<WPARAM> keys;  // down: the first entry, up: the last; right: into a submenu
        std::vector<std::u16string> entries;
        std::pair<const char *, std::u16string> then = {};  // a box's text after the choice
    } cases[] = {
        {"", {VK_DOWN}, kWindowEntries},
        {"Text4(2)", {VK_UP}, boxEntries(true)},
        {"",
         {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT},
         kWindowEntries,
         {"Text4(1)", u"#C40000"}},  // 经典红
        {"",
         {VK_UP},
         windowEntries(u"撤销整体修改（配色方案）"),
         {"Text4(1)", std::u16string(kImageA)}},
        {"",
         {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN},
         kWindowEntries,
         {"Text4(1)", u"#FF7A00"}},  // 活力橙
    };
    for (const auto &c : cases) {
        HWND onto = *c.target ? control(c.target) : m_window->handle();
        // Chooses an entry with the keyboard, as a person could.
        auto shown = std::async(std::launch::async, [keys = c.keys] {
            HWND popup = waitFor([] {
                HWND found = FindWindowW(L"#32768", nullptr);
                return found && IsWindowVisible(found) ? found : nullptr;
            });
            if (popup == nullptr) {
                return std::vector<std::u16string>{};
            }
            const auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
            std::vector<std::u16string> texts = menuTexts(menu);
            for (const WPARAM key : keys) {
                PostMessageW(popup, WM_KEYDOWN, key, 0);
            }
            PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
            return texts;
        });
        RECT r{};
        GetWindowRect(onto, &r);
        SendMessageW(onto, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(onto),
                     MAKELPARAM(r.left + 4, r.top + 4));
        EXPECT_EQ(shown.get(), c.entries) << c.target;
        pump();
        if (c.then.first != nullptr) {
            EXPECT_EQ(text(control(c.then.first)), c.then.second) << c.keys.size();
        }
    }
    pressShortcut("Ctrl+Alt+Z");  // takes back 活力橙
    EXPECT_EQ(text(control("Text4(1)")), kImageA);
    EXPECT_EQ(m_opener.opened.size(), 1U) << "the window's first entry: 预览";
    EXPECT_EQ(text(control("Text4(2)")), u"#AABBCC") << "the colour box's last: 选择颜色…";
}

TEST_F(Win32WindowTest, PreviewFollowsEditsAndGoesWithTheWindow) {
    open(m_fakeMessages, m_dialogs);
    pressShortcut("F5");
    ASSERT_TRUE(form().previewFile());
    const std::filesystem::path page = *form().previewFile();
    setText(control("Text4(16)"), u"#ABCDEF");
    EXPECT_EQ(readAll(page).find("#ABCDEF"), std::string::npos) << "not at once: a moment later";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (readAll(page).find("#ABCDEF") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
        pump(1);
    }
    EXPECT_NE(readAll(page).find("#ABCDEF"), std::string::npos);

    SendMessageW(m_window->handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(m_window->handle(), nullptr);
    EXPECT_EQ(m_window->form(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(page));
    EXPECT_FALSE(std::filesystem::exists(page.parent_path()));
}

TEST_F(Win32WindowTest, SessionEndRemovesThePreview) {
    open(m_fakeMessages, m_dialogs);
    pressShortcut("F5");
    ASSERT_TRUE(form().previewFile());
    const std::filesystem::path page = *form().previewFile();
    SendMessageW(m_window->handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    SendMessageW(m_window->handle(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_TRUE(std::filesystem::exists(page)) << "the session goes on";
    SendMessageW(m_window->handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(std::filesystem::exists(page.parent_path()));
}

/**
 * Where the stand-in for the desktop's browser copies the pages it is given, or nothing outside
 * these tests under wine. Pages are opened with the program the wine prefix registers for .html
 * (scripts/wine-run.sh), winebrowser, which hands them to the desktop's xdg-open: here
 * tests/win32/browser/xdg-open, which copies them to the Unix file VELMORA_BROWSER_COPY names.
 */
std::optional<std::filesystem::path> standInBrowserCopy() {
    wchar_t unixName[1024] = {};
    using DosName = wchar_t *(CDECL *)(const char *);
    const auto dosName = reinterpret_cast<DosName>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    const DWORD length = GetEnvironmentVariableW(L"VELMORA_BROWSER_COPY", unixName, 1024);
    if (dosName == nullptr || length == 0 || length >= 1024) {
        return std::nullopt;
    }
    wchar_t *name = dosName(utf8FromUtf16(reinterpret_cast<const char16_t *>(unixName)).c_str());
    if (name == nullptr) {
        return std::nullopt;
    }
    std::filesystem::path copy(name);
    HeapFree(GetProcessHeap(), 0, name);
    return copy;
}

// F5 through the shell, to the program registered for pages, with the CSS velmora-css writes.
TEST_F(Win32WindowTest, PreviewReachesTheDefaultBrowser) {
    const std::optional<std::filesystem::path> copy = standInBrowserCopy();
    if (!copy) {
        GTEST_SKIP() << "the stand-in browser is reached through wine's winebrowser";
    }
    std::filesystem::remove(*copy);
    Win32UrlOpener opener;
    open(m_fakeMessages, m_dialogs, opener);
    setText(control("Text4(2)"), u"#1A2B3C");
    pressShortcut("F5");
    ASSERT_TRUE(m_fakeMessages.shown.empty()) << utf8FromUtf16(m_fakeMessages.shown[0].prompt);
    const std::string expected = previewPage(utf8FromUtf16(generateCss(form().values())), 1);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (readAll(*copy) != expected && std::chrono::steady_clock::now() < deadline) {
        pump(1);
    }
    EXPECT_EQ(readAll(*copy), expected);
    EXPECT_NE(expected.find("#1A2B3C"), std::string::npos);
    m_window.reset();
    std::filesystem::remove(*copy);
}

// After a message box, the keyboard is back on the control the user left.
TEST_F(Win32WindowTest, FocusComesBackAfterAMessageBox) {
    m_opener.works = false;
    const struct {
        const char *focus;
        const char *keys;
        std::u16string_view caption;
    } cases[] = {
        // Copied or, on a loaded machine where the clipboard is slow, not: either way a message.
        {"Command2", "Space", u""},
        {"Text4(4)", "F5", messages::kPreviewFailedCaption},
        {"Text4(11)", "F5", messages::kPreviewFailedCaption},
    };
    for (const auto &c : cases) {
        // Under load the focus can take a while to arrive: keys pressed before it would go
        // elsewhere and no message would come.
        ASSERT_NE(waitFor([&] {
                      SetFocus(control(c.focus));
                      pump(1);
                      return GetFocus() == control(c.focus) ? control(c.focus) : nullptr;
                  }),
                  nullptr)
            << c.focus;
        auto message = answer(std::u16string(c.caption), IDOK);
        if (std::string_view(c.keys) == "Space") {
            pressKey(VK_SPACE);
        } else {
            pressShortcut(c.keys);
        }
        EXPECT_TRUE(message.get().seen) << c.focus;
        pump();
        EXPECT_EQ(GetFocus(), control(c.focus)) << c.focus;
    }
}

// On a work area smaller than the window, the window fits it and every control can be reached.
struct SmallScreenCase {
    const char *name;
    Rect available;
    bool across, down;  // the scroll bars expected
};
void PrintTo(const SmallScreenCase &c, std::ostream *os) { *os << c.name; }

class Win32SmallScreenTest : public Win32WindowTest,
                             public testing::WithParamInterface<SmallScreenCase> {};

TEST_P(Win32SmallScreenTest, WindowFitsAndScrollsEveryControlIntoView) {
    const SmallScreenCase &c = GetParam();
    m_screen.whole = {0, 0, c.available.x + c.available.width,
                      c.available.y + c.available.height + 40};
    m_screen.available = c.available;
    open(m_messages, m_dialogs);
    HWND window = m_window->handle();

    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_GE(outer.left, c.available.x);
    EXPECT_GE(outer.top, c.available.y);
    EXPECT_LE(outer.right, c.available.x + c.available.width);
    EXPECT_LE(outer.bottom, c.available.y + c.available.height);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ((style & WS_HSCROLL) != 0, c.across);
    EXPECT_EQ((style & WS_VSCROLL) != 0, c.down);
    RECT client{};
    GetClientRect(window, &client);

    // Tab brings each control it reaches fully into view.
    EXPECT_EQ(GetFocus(), control("Command2"));
    for (std::size_t i = 0; i <= tabOrder().size(); ++i) {
        RECT r = clientRect(GetFocus());
        EXPECT_GE(r.left, 0) << "Tab pressed " << i << " times";
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.right, client.right);
        EXPECT_LE(r.bottom, client.bottom);
        pressKey(VK_TAB);
    }

    // The scroll bars reach every control, each shown whole where it fits.
    const UINT dpi = windowDpi(window);
    for (const ControlDef &def : windowControls()) {
        if (!def.visible) {
            continue;
        }
        const ControlDef *frame = def.container.empty() ? nullptr : &controlById(def.container);
        const int left = MulDiv(def.left + (frame ? frame->left : 0), static_cast<int>(dpi), 1440);
        const int top = MulDiv(def.top + (frame ? frame->top : 0), static_cast<int>(dpi), 1440);
        SendMessageW(window, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, left), 0);
        SendMessageW(window, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, top), 0);
        const RECT r = clientRect(control(controlId(def)));
        RECT shown{};
        IntersectRect(&shown, &r, &client);
        EXPECT_EQ(shown.right - shown.left, std::min(r.right - r.left, client.right))
            << controlId(def);
        EXPECT_EQ(shown.bottom - shown.top, std::min(r.bottom - r.top, client.bottom))
            << controlId(def);
    }
    SendMessageW(window, WM_HSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    SendMessageW(window, WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    EXPECT_EQ(clientRect(control("Text4(1)")).top, MulDiv(240 + 120, static_cast<int>(dpi), 1440));
}

INSTANTIATE_TEST_SUITE_P(
    Screens, Win32SmallScreenTest,
    testing::Values(SmallScreenCase{"Vga", Rect{0, 0, 640, 480}, true, true},
                    SmallScreenCase{"VgaPanelAbove", Rect{0, 30, 640, 450}, true, true},
                    SmallScreenCase{"Short", Rect{0, 0, 1024, 400}, false, true},
                    SmallScreenCase{"Narrow", Rect{100, 0, 600, 1000}, true, false}),
    [](const testing::TestParamInfo<SmallScreenCase> &info) { return info.param.name; });

TEST_F(Win32WindowTest, AFailureWhileStartingIsReported) {
    m_window.reset();
    pump();
    BrokenScreen broken;
    auto message = answer(std::u16string(messages::kStartFailedCaption), IDOK);
    EXPECT_NE(runProgram(GetModuleHandleW(nullptr), SW_SHOW, broken, kShopUrl), 0);
    const Answered answered = message.get();
    EXPECT_TRUE(answered.seen);
    EXPECT_TRUE(answered.prompt.starts_with(messages::kStartFailedPrompt));
    EXPECT_TRUE(answered.prompt.ends_with(u"no monitor answers"));
    EXPECT_EQ(FindWindowW(L"VelmoraWindow", nullptr), nullptr) << "nothing left behind";

    // And a start that works runs until the window is closed.
    auto closed = std::async(std::launch::async, [] {
        HWND window = waitFor([] { return FindWindowW(L"VelmoraWindow", nullptr); });
        if (window != nullptr) {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        return window != nullptr;
    });
    EXPECT_EQ(runProgram(GetModuleHandleW(nullptr), SW_SHOW, m_screen, kShopUrl), 0);
    EXPECT_TRUE(closed.get());
}

// End to end through the system's own dialogs.
TEST_F(Win32WindowTest, SaveAndOpenThroughTheSystemsDialogs) {
    open(m_messages, m_realDialogs);
    const std::filesystem::path folder = freshFolder("dialogs");
    const std::filesystem::path file = folder / L"我的方案.txt";
    std::vector<std::pair<HWND, int>> boxes = visibleBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        setText(boxes[i].first, Form::isColourBox(boxes[i].second)
                                    ? hexColour(Rgb{1, static_cast<std::uint8_t>(i * 9), 3})
                                    : u"https://img.alicdn.com/" + std::u16string(i + 1, u'存'));
    }
    const StyleValues saved = form().values();

    auto saving = answerFileDialog(std::u16string(messages::kSaveCaption), file);
    pressShortcut("Ctrl+S");
    ASSERT_TRUE(saving.get());
    ASSERT_TRUE(std::filesystem::exists(file));

    for (const auto &[box, number] : boxes) {
        setText(box, u"");
    }
    auto opening = answerFileDialog(std::u16string(messages::kOpenCaption), file);
    pressShortcut("Ctrl+O");
    ASSERT_TRUE(opening.get());
    EXPECT_EQ(form().values(), saved);
    for (const auto &[box, number] : boxes) {
        EXPECT_EQ(text(box), saved.box(number)) << number;
    }
    std::filesystem::remove_all(folder);
}

TEST_F(Win32WindowTest, PickAColourThroughTheSystemsDialog) {
    open(m_messages, m_realDialogs);
    // A colour box, and an image box, which takes the colour as its background: no save dialog.
    for (const auto &[id, number] : {std::pair{"Text4(2)", 1}, std::pair{"Text4(1)", 0}}) {
        HWND box = control(id);
        setText(box, u"#102030");
        auto answered = std::async(std::launch::async, [this] {
            HWND dialog = waitFor([this] {
                HWND found = shownDialog(nullptr);
                return found && GetWindow(found, GW_OWNER) == m_window->handle() ? found : nullptr;
            });
            if (dialog == nullptr) {
                return false;
            }
            // The red, green and blue fields of the opened dialog.
            for (const auto &[field, value] :
                 {std::pair{COLOR_RED, L"171"}, std::pair{COLOR_GREEN, L"205"},
                  std::pair{COLOR_BLUE, L"239"}}) {
                SendMessageW(GetDlgItem(dialog, field), WM_SETTEXT, 0,
                             reinterpret_cast<LPARAM>(value));
            }
            pressButton(dialog, IDOK);
            return true;
        });
        PostMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        pump();
        ASSERT_TRUE(answered.get()) << id;
        EXPECT_EQ(text(box), u"#ABCDEF") << id;
        EXPECT_EQ(form().values().box(number), u"#ABCDEF") << id;
        EXPECT_EQ(FindWindowW(L"#32770", wide(messages::kMakeImageCaption)), nullptr) << id;
    }
}

/** The width and height a PNG's header gives. */
std::pair<int, int> pngSize(const std::string &png) {
    const auto at = [&](std::size_t i) {
        return static_cast<int>(static_cast<unsigned char>(png.at(i)));
    };
    return {at(16) << 24 | at(17) << 16 | at(18) << 8 | at(19),
            at(20) << 24 | at(21) << 16 | at(22) << 8 | at(23)};
}

TEST_F(Win32WindowTest, MakeABackgroundThroughTheSystemsDialogs) {
    open(m_messages, m_realDialogs);
    const std::filesystem::path folder = freshFolder("背景");
    const std::filesystem::path file = folder / L"图片" / L"导航背景-FF6600.png";
    std::filesystem::create_directory(file.parent_path());
    PWSTR pictures = nullptr;
    // FOLDERID_Pictures, without the GUID library.
    constexpr GUID kPictures{
        0x33E28130, 0x4E1E, 0x4676, {0x83, 0x5A, 0x98, 0x39, 0x5C, 0x3B, 0xC3, 0xBB}};
    ASSERT_TRUE(SUCCEEDED(SHGetKnownFolderPath(kPictures, 0, nullptr, &pictures)));
    const std::wstring picturesFolder = pictures;
    CoTaskMemFree(pictures);
    struct Seen {
        bool answered = false;
        std::wstring name, folder;
    };
    auto answered = std::async(std::launch::async, [this, &file] {
        Seen seen;
        // Once shown with its fields filled in: typed earlier, a field is filled over.
        HWND colour = waitFor([this] {
            HWND found = shownDialog(nullptr);
            return found && GetWindow(found, GW_OWNER) == m_window->handle() &&
                           GetWindowTextLengthW(GetDlgItem(found, COLOR_RED)) > 0
                       ? found
                       : nullptr;
        });
        if (colour == nullptr) {
            return seen;
        }
        for (const auto &[id, value] :
             {std::pair{COLOR_RED, L"255"}, std::pair{COLOR_GREEN, L"102"},
              std::pair{COLOR_BLUE, L"0"}}) {
            SendMessageW(GetDlgItem(colour, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value));
        }
        pressButton(colour, IDOK);
        // Once shown with the name it suggests and the folder it opened.
        HWND save = nullptr, name = nullptr;
        wchar_t buffer[1024] = {};
        waitFor([&] {
            save = shownDialog(wide(messages::kMakeImageCaption));
            name = save != nullptr ? editWithId(save, edt1) : nullptr;
            name = name != nullptr || save == nullptr ? name : editWithId(save, cmb13);
            return name != nullptr && GetWindowTextLengthW(name) > 0 &&
                           SendMessageW(save, CDM_GETFOLDERPATH, 1024,
                                        reinterpret_cast<LPARAM>(buffer)) > 1
                       ? save
                       : nullptr;
        });
        if (name == nullptr) {
            if (save != nullptr) {
                pressButton(save, IDCANCEL);
            }
            return seen;
        }
        GetWindowTextW(name, buffer, 1024);
        seen.name = buffer;
        SendMessageW(save, CDM_GETFOLDERPATH, 1024, reinterpret_cast<LPARAM>(buffer));
        seen.folder = buffer;
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
        pressButton(save, IDOK);
        seen.answered = true;
        return seen;
    });
    HWND box = control("Text4(1)");
    HMENU menu = m_window->createContextMenu(box);
    m_window->runMenuEntry(entryId(menu, u"制作背景图…"), box);
    DestroyMenu(menu);
    pump();
    const Seen seen = answered.get();
    ASSERT_TRUE(seen.answered);
    EXPECT_EQ(seen.name, L"导航背景-FF6600.png");
    EXPECT_EQ(std::filesystem::path(seen.folder), std::filesystem::path(picturesFolder));

    std::string png, error;
    ASSERT_EQ(readFile(file, png, error), ReadResult::Read) << error;
    EXPECT_EQ(png, solidPng(Rgba{0xFF, 0x66, 0x00}));
    EXPECT_EQ(pngSize(png), std::make_pair(950, 30));
    const std::u16string url = text(box);
    EXPECT_EQ(url, utf16FromUtf8(fileUrl(file)).value());
    EXPECT_TRUE(url.starts_with(u"file:///") && url[9] == u':' && url[10] == u'/') << "a drive";
    EXPECT_TRUE(
        url.ends_with(u"/%E5%9B%BE%E7%89%87/%E5%AF%BC%E8%88%AA%E8%83%8C%E6%99%AF-FF6600.png"));
    EXPECT_EQ(paintOf(box).background, RGB(255, 214, 214));
    pump();
    // The file's own path, with its drive and backslashes, after the reason.
    const std::u16string tooltip = tooltipOf(box);
    const std::u16string before = std::u16string(messages::kProblemLocalFile) + u"\n本机文件：";
    EXPECT_TRUE(tooltip.starts_with(before) && tooltip[before.size() + 1] == u':' &&
                tooltip.ends_with(u"\\图片\\导航背景-FF6600.png"))
        << utf8FromUtf16(tooltip);

    pressShortcut("F5");
    ASSERT_TRUE(form().previewFile().has_value());
    std::string page;
    ASSERT_EQ(readFile(*form().previewFile(), page, error), ReadResult::Read);
    EXPECT_NE(page.find("url(" + fileUrl(file) + ")"), std::string::npos);
    std::filesystem::remove_all(folder);
}

/** Puts text on the clipboard as another program would, owned by no window of ours. */
void putOnClipboard(const std::u16string &value) {
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt) {
        Sleep(10);
    }
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (value.size() + 1) * sizeof(char16_t));
    std::memcpy(GlobalLock(memory), value.c_str(), (value.size() + 1) * sizeof(char16_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

// A value too long to lay out at each keystroke is shown shortened and read-only, but copied,
// replaced and deleted whole, as the form keeps it.
TEST_F(Win32WindowTest, LongTextIsShownShortenedAndNeverCut) {
    const std::u16string address = u"https://img.example/" + std::u16string(100000, u'x');
    HWND box = control("Text4(1)");
    setText(box, address);  // as an input method or a drop does
    EXPECT_EQ(form().values().slot(1), address);
    EXPECT_EQ(text(box), shortenedText(address));
    EXPECT_TRUE(GetWindowLongW(box, GWL_STYLE) & ES_READONLY);
    putOnClipboard(u"");
    SendMessageW(box, WM_CHAR, 0x03, 0);  // Ctrl+C
    EXPECT_EQ(clipboardText(), address);
    SendMessageW(box, WM_CHAR, u'a', 0);  // typing replaces it whole
    EXPECT_EQ(form().values().slot(1), u"a");
    EXPECT_EQ(text(box), u"a");
    EXPECT_FALSE(GetWindowLongW(box, GWL_STYLE) & ES_READONLY);

    putOnClipboard(address);
    SendMessageW(box, EM_SETSEL, 0, 0);
    SendMessageW(box, WM_CHAR, 0x16, 0);  // Ctrl+V: inserted, and shown shortened
    EXPECT_EQ(form().values().slot(1), address + u"a");
    EXPECT_EQ(text(box), shortenedText(address + u"a"));
    SendMessageW(box, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(form().values().slot(1), u"");
    EXPECT_EQ(text(box), u"");
}

// Keys and edit entries on a box showing a long value shortened: what the form keeps and what
// the clipboard holds after each, starting from the long value with a short text on the
// clipboard; Generate then copies the kept value whole, never the shortened text.
TEST_F(Win32WindowTest, LongValueKeysAndEntriesActOnTheWholeValue) {
    open(m_fakeMessages, m_dialogs);
    const std::u16string address = u"https://img.example/" + std::u16string(100000, u'x');
    const std::u16string held = u"https://img.alicdn.com/b.jpg";
    const struct {
        const char *name;
        UINT key;                   // 0: the context menu's entry
        BYTE modifier;              // held down with key: VK_CONTROL, VK_SHIFT or 0
        std::u16string_view entry;  // with key 0; neither: the text set as an input method does
        std::u16string kept, clipboard;
    } cases[] = {
        {"Ctrl+A", 'A', VK_CONTROL, u"", address, held},
        {"Shift+End", VK_END, VK_SHIFT, u"", address, held},
        {"Ctrl+C", 'C', VK_CONTROL, u"", address, address},
        {"Ctrl+Insert", VK_INSERT, VK_CONTROL, u"", address, address},
        {"Ctrl+X", 'X', VK_CONTROL, u"", u"", address},
        {"Shift+Delete", VK_DELETE, VK_SHIFT, u"", u"", address},
        {"Delete", VK_DELETE, 0, u"", u"", held},
        {"Backspace", VK_BACK, 0, u"", u"", held},
        {"typing q", 'Q', 0, u"", u"q", held},
        {"Ctrl+V", 'V', VK_CONTROL, u"", held, held},
        {"Shift+Insert", VK_INSERT, VK_SHIFT, u"", held, held},
        {"menu select all", 0, 0, u"全选", address, held},
        {"menu copy", 0, 0, u"复制", address, address},
        {"menu cut", 0, 0, u"剪切", u"", address},
        {"menu delete", 0, 0, u"删除", u"", held},
        {"menu paste", 0, 0, u"粘贴", held, held},
        {"set from outside", 0, 0, u"", held, held},
    };
    HWND box = control("Text4(1)");
    for (const auto &c : cases) {
        setText(box, address);
        ASSERT_TRUE(GetWindowLongW(box, GWL_STYLE) & ES_READONLY) << c.name;
        putOnClipboard(held);
        SetFocus(box);
        if (c.key != 0) {
            pressKeyWith(c.modifier, c.key);
        } else if (c.entry.empty()) {
            setText(box, held);
        } else {
            HMENU menu = m_window->createContextMenu(box);
            EXPECT_FALSE(greyed(menu, c.entry)) << c.name;
            m_window->runMenuEntry(entryId(menu, c.entry), box);
            DestroyMenu(menu);
            pump();
        }
        // Compared whole, reported by their beginnings and lengths.
        const auto brief = [](const std::u16string &value) {
            return utf8FromUtf16(value.substr(0, 40)) + "… (" + std::to_string(value.size()) + ")";
        };
        EXPECT_TRUE(form().values().slot(1) == c.kept)
            << c.name << " kept " << brief(form().values().slot(1));
        EXPECT_TRUE(clipboardText() == c.clipboard)
            << c.name << " copied " << brief(clipboardText());
        if (c.kept.size() < 100) {
            EXPECT_EQ(text(box), c.kept) << c.name;
        }
        SendMessageW(control("Command2"), BM_CLICK, 0, 0);
        EXPECT_NE(clipboardText().find(u"url(" + c.kept + u")"), std::u16string::npos) << c.name;
    }
}

// Ctrl+Z in a box takes back a value Velmora put in for the owner, and a long value replaced
// whole; what is typed over a long value is what the box holds.
TEST_F(Win32WindowTest, CtrlZTakesBackWhatVelmoraPutsInAndLongValuesWhole) {
    open(m_fakeMessages, m_dialogs);
    const std::u16string address = u"https://img.alicdn.com/a.jpg";
    const std::u16string longValue = u"https://img.alicdn.com/" + std::u16string(70004, u'x');
    const std::filesystem::path image = freshFolder("undo") / L"b.gif";
    std::ofstream(image, std::ios::binary) << "GIF89a";
    const struct {
        const char *name;
        const std::u16string &before;
        const char *how;  // "pick", "drop", or the keys pressed then the text typed
        std::vector<UINT> keys;
        std::u16string_view typed;
        bool undone;  // whether Ctrl+Z then gives back the value before
    } cases[] = {
        {"double click", address, "pick", {}, u"", true},
        {"dropped image", address, "drop", {}, u"", true},
        {"double click on a long value", longValue, "pick", {}, u"", true},
        {"End, Backspace", longValue, "keys", {VK_END, VK_BACK}, u"", true},
        {"Delete", longValue, "keys", {VK_DELETE}, u"", true},
        {"colour typed over", longValue, "keys", {}, u"#C40000", false},
    };
    m_dialogs.colour = Rgb{255, 255, 255};
    HWND box = control("Text4(1)");
    for (const auto &c : cases) {
        setText(box, c.before);
        SetFocus(box);
        const std::string how = c.how;
        if (how == "pick") {
            PostMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
            PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
            pump();
        } else if (how == "drop") {
            dropFile(box, image);
        } else {
            for (const UINT key : c.keys) {
                pressKey(key);
            }
            for (const char16_t typed : c.typed) {
                SendMessageW(box, WM_CHAR, typed, 0);
            }
            EXPECT_EQ(form().values().slot(1), c.typed) << c.name;
            EXPECT_EQ(text(box), c.typed) << c.name;
        }
        EXPECT_NE(form().values().slot(1), c.before) << c.name;
        if (c.undone) {
            pressKeyWith(VK_CONTROL, 'Z');
            EXPECT_TRUE(form().values().slot(1) == c.before) << c.name;
            EXPECT_EQ(text(box), c.before.size() > kLargeValue ? shortenedText(c.before) : c.before)
                << c.name;
        }
    }
    std::filesystem::remove_all(image.parent_path());
}

// A change of the whole form leaves the boxes it does not change, and what Ctrl+Z takes back in
// them; no file dropped while the window asks is taken.
TEST_F(Win32WindowTest, WholeChangesLeaveOtherBoxesAndNoDropIsTakenWhileAsking) {
    const std::filesystem::path folder = freshFolder("whole");
    const std::filesystem::path file = folder / L"v.txt";
    std::ofstream(file, std::ios::binary) << "slot.16=#222222\n";
    HWND box = control("Text4(1)");
    const std::u16string start = text(box);
    SetFocus(box);
    SendMessageW(box, WM_CHAR, u'a', 0);
    dropFile(m_window->handle(), file);
    EXPECT_EQ(form().values().slot(16), u"#222222");
    pressKeyWith(VK_CONTROL, 'Z');
    EXPECT_EQ(text(box), start);

    std::ofstream(file, std::ios::binary) << "slot.2=#333333\n";
    HWND window = m_window->handle();
    auto no = answer(std::u16string(messages::kClearCaption), IDNO,
                     [window, file] { dropFile(window, file); });
    SendMessageW(control("Command1"), BM_CLICK, 0, 0);
    EXPECT_TRUE(no.get().seen);
    EXPECT_EQ(form().values().slot(2), startValues().slot(2));
    std::filesystem::remove_all(folder);
}

struct ImportCase {
    const char *name;
    bool navigationCode;
};
void PrintTo(const ImportCase &c, std::ostream *os) { *os << c.name; }

class Win32ImportTest : public Win32WindowTest, public testing::WithParamInterface<ImportCase> {};

TEST_P(Win32ImportTest, CtrlIReadsTheClipboardIntoEveryBoxOrChangesNothing) {
    open(m_fakeMessages, m_dialogs);
    StyleValues made = startValues();
    made.slot(2) = u"#123456";
    made.slot(9) = u"orange";  // hidden
    made.images[0] = u"https://img.alicdn.com/上衣.jpg";
    putOnClipboard(GetParam().navigationCode ? generateCss(made) : u"body{color:red}");
    SetFocus(control("Text4(6)"));
    pressShortcut("Ctrl+I");
    if (GetParam().navigationCode) {
        EXPECT_EQ(m_window->form()->values(), made);
        EXPECT_EQ(text(control("Text4(2)")), u"#123456");
        EXPECT_EQ(text(control("Text7")), made.images[0]);
        EXPECT_TRUE(m_fakeMessages.shown.empty());
    } else {
        EXPECT_EQ(m_window->form()->values(), startValues());
        ASSERT_EQ(m_fakeMessages.shown.size(), 1U);
        EXPECT_EQ(m_fakeMessages.shown[0].caption, messages::kImportFailedCaption);
    }
}

INSTANTIATE_TEST_SUITE_P(Clipboard, Win32ImportTest,
                         testing::Values(ImportCase{"NavigationCode", true},
                                         ImportCase{"OtherText", false}),
                         [](const testing::TestParamInfo<ImportCase> &info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace velmora
