// Start-up to a visible window of a Windows program against a baseline program, measured
// alternately in one run. Run it under wine (scripts/wine-run.sh) so that all programs start
// with the wineserver already running, as they do on a desktop where wine is in use.
//
// Usage: win32_startup_bench PROGRAM BASELINE [RUNS [FLOOR]]
// Each run starts the program and polls, every millisecond, for a visible top-level window of
// its process; then closes it and waits for it to end. Prints the medians and the ratio
// program / baseline (target: <= 1.3). With FLOOR, a program that shows only what PROGRAM
// cannot do without, it is measured in the same runs and its ratio to the baseline printed too.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr double kTarget = 1.3;

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK noteVisibleWindow(HWND window, LPARAM lParam) {
    auto *search = reinterpret_cast<Search *>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

double nowMs() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

/** Milliseconds from starting program to its first visible top-level window, or -1. */
double measure(const std::wstring &program) {
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = nowMs();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", program.c_str(), GetLastError());
        return -1;
    }
    Search search{process.dwProcessId, nullptr};
    double elapsed = -1;
    while (nowMs() - start < 20000) {
        EnumWindows(&noteVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            elapsed = nowMs() - start;
            break;
        }
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) {
            break;  // it ended without showing a window
        }
    }
    if (search.found != nullptr) {
        Sleep(200);  // let it paint and settle before it is closed
        PostMessageW(search.found, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (elapsed < 0) {
        std::fwprintf(stderr, L"%ls showed no window within 20 s\n", program.c_str());
    }
    return elapsed;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t **argv) {
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: %ls PROGRAM BASELINE [RUNS [FLOOR]]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 15;
    std::vector<std::wstring> programs{argv[1], argv[2]};
    if (argc > 4) {
        programs.emplace_back(argv[4]);
    }
    // The first runs only warm the file cache and wine's font cache for each.
    for (const std::wstring &program : programs) {
        if (measure(program) < 0) {
            return 1;
        }
    }
    std::vector<std::vector<double>> ms(programs.size());
    for (int run = 0; run < runs; ++run) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            const double elapsed = measure(programs[i]);
            if (elapsed < 0) {
                return 1;
            }
            ms[i].push_back(elapsed);
        }
    }
    const double program = median(ms[0]);
    const double baseline = median(ms[1]);
    const double ratio = program / baseline;
    std::printf(
        "start-up to a visible window: %.1f ms, baseline %.1f ms, ratio %.2f (target <= %.1f)%s\n",
        program, baseline, ratio, kTarget, ratio <= kTarget ? "" : "  OVER TARGET");
    if (programs.size() > 2) {
        const double floor = median(ms[2]);
        std::printf("  the floor: %.1f ms, %.2f times the baseline; the program is %.2f times it\n",
                    floor, floor / baseline, program / floor);
    }
    return ratio <= kTarget ? 0 : 1;
}
