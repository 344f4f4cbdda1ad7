#include "dpi.h"

#include "platform/win32/laterfunctions.h"

namespace velmora {

UINT systemDpi() {
    if (const auto later = laterFunctions().getDpiForSystem) {
        return later();
    }
    // The system's DPI cannot change while the program runs (Windows asks to sign out first).
    static const UINT dpi = [] {
        HDC screen = GetDC(nullptr);
        const int pixels = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen != nullptr) {
            ReleaseDC(nullptr, screen);
        }
        return pixels > 0 ? static_cast<UINT>(pixels) : USER_DEFAULT_SCREEN_DPI;
    }();
    return dpi;
}

UINT windowDpi(HWND window) {
    const LaterFunctions &later = laterFunctions();
    if (later.getDpiForWindow != nullptr) {
        return later.getDpiForWindow(window);
    }
    if (later.getDpiForMonitor != nullptr) {  // Windows 8.1: the monitor's effective DPI
        constexpr int kEffectiveDpi = 0;
        UINT x = 0;
        UINT y = 0;
        HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
        if (SUCCEEDED(later.getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && y > 0) {
            return y;
        }
    }
    return systemDpi();
}

void adjustWindowRectForDpi(RECT &client, DWORD style, DWORD exStyle, UINT dpi) {
    if (const auto later = laterFunctions().adjustWindowRectExForDpi) {
        later(&client, style, FALSE, exStyle, dpi);
    } else {
        AdjustWindowRectEx(&client, style, FALSE, exStyle);
    }
}

int systemMetricForDpi(int index, UINT dpi) {
    if (const auto later = laterFunctions().getSystemMetricsForDpi) {
        return later(index, dpi);
    }
    return GetSystemMetrics(index);
}

void scaleFrameByMonitor(HWND window) {
    if (const auto later = laterFunctions().enableNonClientDpiScaling) {
        later(window);
    }
}

}  // namespace velmora
