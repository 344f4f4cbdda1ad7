// velmora.exe as a screen reader in another process hears it, through the system's
// accessibility (oleacc): every control that Tab reaches is found once, by the name and role the
// window table gives it, and a colour box's description follows what is typed into it (the
// marker's reason, then the colour). Prints what it heard of each control.
// Usage: accessibility_probe VELMORA_EXE
#include <oleacc.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/utf.h"
#include "waitfor.h"
#include "heard.h"
#include "ui/form.h"
#include "ui/messages.h"
#include "ui/windowtable.h"

namespace {

using namespace velmora;

LONG expectedRole(const ControlDef &def) {
    return def.kind == ControlKind::Button ? ROLE_SYSTEM_PUSHBUTTON
           : def.role == Role::ShopLink    ? ROLE_SYSTEM_LINK
                                           : ROLE_SYSTEM_TEXT;
}

std::vector<HWND> tabStops(HWND window) {
    std::vector<HWND> found;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM list) -> BOOL {
            if (IsWindowVisible(child) && (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) != 0) {
                reinterpret_cast<std::vector<HWND> *>(list)->push_back(child);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

int failures = 0;

void check(bool holds, const std::string &what) {
    if (!holds) {
        ++failures;
        std::printf("FAIL: %s\n", what.c_str());
    }
}

std::string utf8(std::u16string_view text) { return utf8FromUtf16(text); }

int probe(HWND window) {
    const std::vector<HWND> stops = tabStops(window);
    check(stops.size() == tabOrder().size(), "Tab reaches " + std::to_string(stops.size()) +
                                                 " controls, the table names " +
                                                 std::to_string(tabOrder().size()));
    HWND colourBox = nullptr;
    for (const ControlDef *def : tabOrder()) {
        const std::u16string_view name = accessibleName(*def);
        check(!name.empty(), controlId(*def) + " has no name");
        int matches = 0;
        for (HWND stop : stops) {
            const Heard heard = hear(stop);
            if (heard.name == name && heard.role == expectedRole(*def)) {
                ++matches;
                std::printf("%-10s role %2ld  name \"%s\"  description \"%s\"\n",
                            controlId(*def).c_str(), heard.role, utf8(heard.name).c_str(),
                            utf8(heard.description).c_str());
                if (colourBox == nullptr && def->role == Role::Box && Form::isColourBox(def->box)) {
                    colourBox = stop;
                }
            }
        }
        check(matches == 1, controlId(*def) + " is heard " + std::to_string(matches) +
                                " times as \"" + utf8(name) + "\"");
    }
    if (colourBox == nullptr) {
        check(false, "no colour box heard");
        return 1;
    }
    const std::u16string reason(messages::kProblemDroppedColourName);
    const std::u16string colour = std::u16string(messages::kColourDescription) + u"#FF6600";
    for (const auto &[typed, description] : {std::pair{L"pink", reason}, {L"#FF6600", colour}}) {
        SendMessageW(colourBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed));
        check(waitFor([&] { return hear(colourBox).description == description; }),
              "after typing, the colour box's description is \"" +
                  utf8(hear(colourBox).description) + "\", not \"" + utf8(description) + "\"");
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: accessibility_probe VELMORA_EXE\n");
        return 2;
    }
    CoInitialize(nullptr);
    std::string command = std::string("\"") + argv[1] + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("FAIL: cannot start %s\n", argv[1]);
        return 1;
    }
    HWND window = nullptr;
    waitFor([&] {
        window = FindWindowW(L"VelmoraWindow", L"Velmora");
        return window != nullptr && IsWindowVisible(window);
    });
    int status = 1;
    if (window == nullptr) {
        std::printf("FAIL: the window did not show\n");
    } else {
        WaitForInputIdle(process.hProcess, 10000);
        status = probe(window);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        std::printf("FAIL: velmora.exe did not close\n");
        status = 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf(status == 0 ? "every control heard by its name, the description follows\n" : "");
    return status;
}
