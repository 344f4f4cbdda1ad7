// The baseline of win32_startup_bench: the least Win32 window that shows what Velmora's
// does at start-up in kind: a 732 x 441 client area (at 96 dpi) with one line of Chinese in
// the face Velmora's window uses, chosen the same way.
#include "bench/win32benchwindow.h"
#include "ui/win32/uifont.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    HWND window = velmora::bench::createPlainWindow(instance, L"MinimalWindow", 732, 441);
    HFONT font = velmora::createUiFont(96);
    HWND label = CreateWindowW(L"STATIC", L"导航背景图：", WS_CHILD | WS_VISIBLE, 8, 8, 300, 20,
                               window, nullptr, instance, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const int status = velmora::bench::showAndRun(window, showCommand);
    DeleteObject(font);
    return status;
}
