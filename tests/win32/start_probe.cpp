// velmora.exe started in another process, as a user starts it, at a screen DPI set for it: its
// window shows in the size and with the button where they are at that DPI, and Generate puts
// exactly the expected bytes on the clipboard and says so. Run with wine set to Windows 7, and
// on a build that finds none of the system functions later than Windows 7. Sets the DPI in
// wine's way (the user's LogPixels, read by each program as it starts) and leaves it at 96.
// With css:VELMORA_CSS_EXE, runs velmora-css.exe alone and checks that it prints the same bytes.
// Usage: start_probe EXPECTED_CSS DPI:VELMORA_EXE|css:VELMORA_CSS_EXE...
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>

#include "core/utf.h"
#include "waitfor.h"

namespace {

using namespace velmora;

/** The window at one DPI, in pixels: its client area and the Generate button in it. */
struct Layout {
    int dpi;
    SIZE client;
    RECT generate;
};

// The window's table is 10980 x 6615 twips, its Generate button 1335 x 495 at (9600, 6000).
constexpr Layout kLayouts[] = {
    {96, {732, 441}, {640, 400, 640 + 89, 400 + 33}},
    {120, {915, 551}, {800, 500, 800 + 111, 500 + 41}},
    {144, {1098, 662}, {960, 600, 960 + 134, 600 + 50}},
};

int failures = 0;

void check(bool holds, const std::string &what) {
    if (!holds) {
        ++failures;
        std::printf("FAIL: %s\n", what.c_str());
    }
}

std::string clipboardText() {
    std::u16string text;
    if (!OpenClipboard(nullptr)) {
        return {};
    }
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const char16_t *>(GlobalLock(memory));
        GlobalUnlock(memory);
    }
    CloseClipboard();
    return utf8FromUtf16(text);
}

std::string describe(const RECT &r) {
    char text[64];
    std::snprintf(text, sizeof text, "(%ld, %ld)-(%ld, %ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

void checkLayout(HWND window, HWND generate, int dpi) {
    const Layout *expected = nullptr;
    for (const Layout &layout : kLayouts) {
        expected = layout.dpi == dpi ? &layout : expected;
    }
    if (expected == nullptr) {
        check(false, "no layout known at " + std::to_string(dpi) + " DPI");
        return;
    }
    RECT client{};
    GetClientRect(window, &client);
    check(client.right == expected->client.cx && client.bottom == expected->client.cy,
          "the client area is " + describe(client) + " at " + std::to_string(dpi) + " DPI");
    RECT place{};
    GetWindowRect(generate, &place);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT *>(&place), 2);
    check(EqualRect(&place, &expected->generate) != 0,
          "Generate stands at " + describe(place) + ", not " + describe(expected->generate));
}

void checkGenerate(HWND generate, const std::string &expected) {
    if (OpenClipboard(nullptr)) {  // nothing left from before can pass for the code
        EmptyClipboard();
        CloseClipboard();
    }
    PostMessageW(generate, BM_CLICK, 0, 0);  // posted: the program then shows a message box
    HWND told = nullptr;
    check(waitFor([&] { return (told = FindWindowW(L"#32770", L"成功生成")) != nullptr; }),
          "Generate did not say 成功生成");
    const std::string copied = clipboardText();
    check(copied == expected, "the clipboard holds " + std::to_string(copied.size()) +
                                  " bytes that differ from the " + std::to_string(expected.size()) +
                                  " expected");
    if (told != nullptr) {
        PostMessageW(told, WM_COMMAND, IDOK, 0);
        check(waitFor([&] { return !IsWindow(told); }), "the message box did not close");
    }
}

bool setDpi(DWORD dpi) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD,
                           &dpi, sizeof dpi) == ERROR_SUCCESS;
}

/** Starts program at dpi and checks it; the window is closed at the end. */
void probe(const std::string &program, int dpi, const std::string &expected) {
    const int before = failures;
    check(setDpi(static_cast<DWORD>(dpi)), "cannot set the DPI");
    std::string command = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        check(false, "cannot start " + program);
        return;
    }
    HWND window = nullptr;
    waitFor([&] {
        window = FindWindowW(L"VelmoraWindow", L"Velmora");
        return window != nullptr && IsWindowVisible(window);
    });
    if (window == nullptr) {
        check(false, "the window did not show");
    } else {
        WaitForInputIdle(process.hProcess, 10000);
        HWND generate = FindWindowExW(window, nullptr, L"Button", L"生成代码");
        check(generate != nullptr, "no Generate button");
        if (generate != nullptr) {
            checkLayout(window, generate, dpi);
            checkGenerate(generate, expected);
        }
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    DWORD status = 1;
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        check(false, "velmora.exe did not close");
    }
    GetExitCodeProcess(process.hProcess, &status);
    check(status == 0, "velmora.exe ended with " + std::to_string(status));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("%s at %d DPI: %s\n", program.c_str(), dpi,
                failures == before ? "started, laid out, generated" : "FAILED");
}

/** Runs the command line program with no arguments and checks what it prints. */
void probeCommandLine(const std::string &program, const std::string &expected) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherited, 0)) {
        check(false, "cannot make a pipe");
        return;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    std::string command = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process) != 0;
    CloseHandle(writeEnd);  // the pipe ends when the program does
    std::string printed;
    char buffer[4096];
    DWORD got = 0;
    while (started && ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        printed.append(buffer, got);
    }
    CloseHandle(readEnd);
    DWORD status = 1;
    if (started) {
        WaitForSingleObject(process.hProcess, 10000);
        GetExitCodeProcess(process.hProcess, &status);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    check(started && status == 0 && printed == expected,
          program + " printed " + std::to_string(printed.size()) + " bytes, ended with " +
              std::to_string(status));
    std::printf("%s: %s\n", program.c_str(), printed == expected ? "printed the code" : "FAILED");
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: start_probe EXPECTED_CSS DPI:VELMORA_EXE|css:VELMORA_CSS_EXE...\n");
        return 2;
    }
    SetProcessDPIAware();  // sizes in the screen's pixels, as velmora.exe has them
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExW(&version);
    std::printf("on Windows %lu.%lu.%lu\n", version.dwMajorVersion, version.dwMinorVersion,
                version.dwBuildNumber);
    std::ifstream file(argv[1], std::ios::binary);
    const std::string expected{std::istreambuf_iterator<char>(file), {}};
    check(!expected.empty(), std::string("cannot read ") + argv[1]);
    for (int i = 2; i < argc; ++i) {
        const std::string run = argv[i];
        const std::size_t colon = run.find(':');
        if (run.starts_with("css:")) {
            probeCommandLine(run.substr(colon + 1), expected);
            continue;
        }
        probe(run.substr(colon + 1), std::atoi(run.substr(0, colon).c_str()), expected);
    }
    setDpi(96);
    return failures == 0 ? 0 : 1;
}
