#include "win32screen.h"

#include <windows.h>

namespace velmora {

namespace {

MONITORINFO primaryMonitor() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info;
}

Rect toRect(const RECT &r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

}  // namespace

Rect Win32Screen::geometry() const { return toRect(primaryMonitor().rcMonitor); }

Rect Win32Screen::availableGeometry() const { return toRect(primaryMonitor().rcWork); }

}  // namespace velmora
