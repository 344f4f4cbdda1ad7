#pragma once

// The system functions the program uses that came after Windows 7 SP1. The program is built for
// Windows 7 (the headers declare nothing later), so these are looked up while it runs, and each
// use has a fallback for a Windows that lacks them (dpi.h).

#include <windows.h>

namespace velmora {

/** Later system functions, each null where this Windows lacks it. */
struct LaterFunctions {
    // Windows 10 version 1607.
    UINT(WINAPI *getDpiForWindow)(HWND) = nullptr;
    UINT(WINAPI *getDpiForSystem)() = nullptr;
    BOOL(WINAPI *adjustWindowRectExForDpi)(RECT *, DWORD, BOOL, DWORD, UINT) = nullptr;
    int(WINAPI *getSystemMetricsForDpi)(int, UINT) = nullptr;
    BOOL(WINAPI *enableNonClientDpiScaling)(HWND) = nullptr;
    // Windows 8.1, in shcore.dll (the monitor's DPI; its second argument is the kind of DPI).
    HRESULT(WINAPI *getDpiForMonitor)(HMONITOR, int, UINT *, UINT *) = nullptr;
};

/**
 * The later functions this Windows has, looked up on the first call (shcore.dll only when the
 * Windows 10 ones are missing). Tests that need a Windows without any link their own.
 */
const LaterFunctions &laterFunctions();

}  // namespace velmora
