// The baseline of win32_startup_bench: the least Win32 window that shows what Velmora's
// does at start-up in kind: a 732 x 441 client area (at 96 dpi) with one line of Chinese in
// the face Velmora's window uses, chosen the same way.
#include <windows.h>

#include "ui/win32/uifont.h"

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"MinimalWindow";
    RegisterClassW(&windowClass);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT outer{0, 0, 732, 441};
    AdjustWindowRect(&outer, style, FALSE);
    HWND window = CreateWindowW(L"MinimalWindow", L"Velmora", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                nullptr, instance, nullptr);

    HFONT font = velmora::createUiFont(96);
    HWND label = CreateWindowW(L"STATIC", L"导航背景图：", WS_CHILD | WS_VISIBLE, 8, 8, 300, 20,
                               window, nullptr, instance, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DeleteObject(font);
    return 0;
}
