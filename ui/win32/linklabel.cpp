#include "linklabel.h"

#include <commctrl.h>

namespace velmora {

namespace {

bool repeated(LPARAM keyData) { return (keyData & (1 << 30)) != 0; }

}  // namespace

LinkMessage linkMessage(HWND link, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(link, nullptr, TRUE);  // shows or hides the focus frame
            return {};
        case WM_PAINT:
            if (GetFocus() == link) {
                const LRESULT painted = DefSubclassProc(link, message, wParam, lParam);
                HDC dc = GetDC(link);
                RECT frame{};
                GetClientRect(link, &frame);
                DrawFocusRect(dc, &frame);
                ReleaseDC(link, dc);
                return {true, painted, false};
            }
            return {};
        case WM_KEYDOWN:
            // Space presses the link as it presses a button; Enter comes as IDOK.
            if (wParam == VK_SPACE && !repeated(lParam)) {
                return {true, 0, true};
            }
            return {};
        default:
            return {};
    }
}

LRESULT showLinkCursor() {
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
    return TRUE;
}

}  // namespace velmora
