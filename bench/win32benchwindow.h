#pragma once

// The plain top-level window of the start-up bench's own programs: the system's colours and
// cursor, and a window procedure that only ends the program when the window closes.

#include <windows.h>

namespace velmora::bench {

inline LRESULT CALLBACK plainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

/**
 * Makes a hidden captioned window named "Velmora" whose client area is width x height pixels,
 * of a class of that name registered here.
 */
inline HWND createPlainWindow(HINSTANCE instance, const wchar_t *className, int width, int height) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &plainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT outer{0, 0, width, height};
    AdjustWindowRect(&outer, style, FALSE);
    return CreateWindowW(className, L"Velmora", style, CW_USEDEFAULT, CW_USEDEFAULT,
                         outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                         instance, nullptr);
}

/** Shows window, paints it and runs its messages until it closes. @return the exit code. */
inline int showAndRun(HWND window, int showCommand) {
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace velmora::bench
