#pragma once

// The screen's DPI and the sizes that follow from it, on every Windows from 7 on: through the
// per-monitor functions where Windows has them, otherwise through what Windows 7 offers (there
// the program is system-DPI aware and every window has the system's DPI).

#include <windows.h>

namespace velmora {

/** The DPI the program was started with (the primary monitor's where it is DPI aware). */
UINT systemDpi();

/** The DPI of the monitor that window is on, as the window sees it. */
UINT windowDpi(HWND window);

/**
 * Grows client, a client area, to the outer rectangle of a window without a menu, of style and
 * exStyle, at dpi. Where Windows cannot scale a window's frame by monitor (before Windows 10
 * version 1607), the frame is the system's, as Windows draws it.
 */
void adjustWindowRectForDpi(RECT &client, DWORD style, DWORD exStyle, UINT dpi);

/** GetSystemMetrics's value at dpi, or the system's where Windows has none by DPI. */
int systemMetricForDpi(int index, UINT dpi);

/**
 * Lets Windows scale window's frame (title bar, scroll bars) when it moves to a monitor of
 * another scale: on Windows 10 version 1607 this is not done by itself. For WM_NCCREATE.
 */
void scaleFrameByMonitor(HWND window);

}  // namespace velmora
