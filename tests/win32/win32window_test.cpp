// The native window under wine: driven through Win32 messages, the clipboard checked through
// the Win32 API, message boxes answered by pressing their buttons from another thread.
#include "ui/win32/win32window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "core/generator.h"
#include "ui/messages.h"
#include "fakes/fakeurlopener.h"
#include "platform/win32/win32clipboard.h"
#include "platform/win32/win32messageboxes.h"
#include "platform/win32/win32screen.h"

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

/** What a message box showed before it was answered. */
struct Answered {
    bool seen = false;
    std::u16string prompt;
};

/** Waits on another thread for the message box with this caption and presses one of its buttons. */
std::future<Answered> answer(std::u16string caption, int button) {
    return std::async(std::launch::async, [caption, button] {
        Answered answered;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        HWND box = nullptr;
        while (box == nullptr && std::chrono::steady_clock::now() < deadline) {
            box = FindWindowW(L"#32770", wide(caption));
            Sleep(box == nullptr ? 20 : 0);
        }
        if (box != nullptr) {
            answered.seen = true;
            HWND prompt = GetDlgItem(box, 0xFFFF);  // the message box's text
            answered.prompt = prompt ? text(prompt) : u"";
            SendMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
        }
        return answered;
    });
}

class Win32WindowTest : public testing::Test {
protected:
    void SetUp() override {
        m_window = std::make_unique<Win32MainWindow>(GetModuleHandleW(nullptr), m_clipboard,
                                                     m_messages, m_opener, m_screen, kShopUrl);
        m_clipboard.setOwner(m_window->handle());
        m_messages.setOwner(m_window->handle());
        m_window->show(SW_SHOW);
        pump();
    }

    HWND control(const std::string &id) {
        HWND found = m_window->control(id);
        EXPECT_NE(found, nullptr) << id;
        return found;
    }

    /** Runs the queued messages through the window as its message loop would. */
    void pump() {
        MSG message;
        for (int round = 0; round < 5; ++round) {
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (!m_window->preTranslate(message)) {
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

    Win32Clipboard m_clipboard;
    Win32MessageBoxes m_messages;
    FakeUrlOpener m_opener;
    Win32Screen m_screen;
    std::unique_ptr<Win32MainWindow> m_window;
};

TEST_F(Win32WindowTest, VisibleControlsStandAsTheTableSays) {
    const UINT dpi = GetDpiForWindow(m_window->handle());
    const auto px = [dpi](int twips) { return MulDiv(twips, static_cast<int>(dpi), 1440); };
    RECT client{};
    GetClientRect(m_window->handle(), &client);
    EXPECT_EQ(client.right, px(kClientWidthTwips));
    EXPECT_EQ(client.bottom, px(kClientHeightTwips));
    for (const ControlDef &def : windowControls()) {
        HWND hwnd = m_window->control(controlId(def));
        if (!def.visible) {
            EXPECT_EQ(hwnd, nullptr) << controlId(def);
            continue;
        }
        ASSERT_NE(hwnd, nullptr) << controlId(def);
        RECT r{};
        GetWindowRect(hwnd, &r);
        MapWindowPoints(HWND_DESKTOP, m_window->handle(), reinterpret_cast<POINT *>(&r), 2);
        const ControlDef *frame = def.container.empty() ? nullptr : &controlById(def.container);
        EXPECT_EQ(r.left, px(def.left) + (frame ? px(frame->left) : 0)) << controlId(def);
        EXPECT_EQ(r.top, px(def.top) + (frame ? px(frame->top) : 0)) << controlId(def);
        EXPECT_EQ(r.right - r.left, px(def.width)) << controlId(def);
        EXPECT_EQ(r.bottom - r.top, px(def.height)) << controlId(def);
        if (def.kind != ControlKind::Frame) {
            EXPECT_EQ(text(hwnd), def.text) << controlId(def);
        }
    }
}

TEST_F(Win32WindowTest, FocusStartsOnGenerateAndTabWalksTheTable) {
    EXPECT_EQ(GetFocus(), control("Command2"));
    for (const char *next :
         {"Text4(4)", "Text4(1)", "Text4(6)", "Text4(8)", "Text4(10)", "Text7", "Text1", "Text2",
          "Command1", "Text4(2)", "Text4(7)", "Text4(16)", "Text4(11)", "Command2"}) {
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

TEST_F(Win32WindowTest, SpaceAndEnterPressTheFocusedButton) {
    for (UINT key : {VK_SPACE, VK_RETURN}) {
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
    const StyleValues before = m_window->values();
    auto no = answer(std::u16string(messages::kClearCaption), IDNO);
    SendMessageW(control("Command1"), BM_CLICK, 0, 0);
    EXPECT_EQ(no.get().prompt, messages::kClearPrompt);
    EXPECT_EQ(m_window->values(), before);

    auto yes = answer(std::u16string(messages::kClearCaption), IDYES);
    SendMessageW(control("Command1"), BM_CLICK, 0, 0);
    EXPECT_TRUE(yes.get().seen);
    StyleValues cleared = before;
    clearValues(cleared);
    EXPECT_EQ(m_window->values(), cleared);
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
        const StyleValues before = m_window->values();
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
        EXPECT_EQ(m_window->values(), before);
        if (released) {
            EXPECT_EQ(clipboardText(), generateCss(before));
        } else {
            EXPECT_EQ(answered.prompt, messages::kCopyFailedPrompt);
        }
    }
}

TEST_F(Win32WindowTest, LongTextIsNeverCut) {
    const std::wstring address = L"https://img.example/" + std::wstring(100000, L'x');
    SendMessageW(control("Text4(1)"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(address.c_str()));
    EXPECT_EQ(GetWindowTextLengthW(control("Text4(1)")), static_cast<int>(address.size()));
}

}  // namespace
}  // namespace velmora
