// The floor of win32_startup_bench: the least Win32 window that shows velmora.exe's boxes as
// velmora.exe does. It has the same manifest (the themed common controls), the same visible
// boxes with their start values and the two buttons, in the window's font, size and places,
// and nothing else: no captions, frame, tooltips, shortcuts or form. What velmora.exe takes
// beyond this window is the cost of everything else it shows and does.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <string>

#include "bench/win32benchwindow.h"
#include "core/generator.h"
#include "platform/win32/dpi.h"
#include "ui/win32/placement.h"
#include "ui/win32/uifont.h"
#include "ui/windowtable.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    using namespace velmora;
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    const UINT dpi = systemDpi();
    HWND window = bench::createPlainWindow(instance, L"BoxesWindow",
                                           MulDiv(kClientWidthTwips, static_cast<int>(dpi), 1440),
                                           MulDiv(kClientHeightTwips, static_cast<int>(dpi), 1440));

    HFONT font = createUiFont(dpi);
    const StyleValues values = startValues();
    for (const ControlDef &def : windowControls()) {
        const bool box = def.kind == ControlKind::TextBox;
        if (!def.visible || (!box && def.kind != ControlKind::Button)) {
            continue;
        }
        const std::u16string text(startText(def, values));
        const RECT place = controlRect(def, dpi);
        HWND control = CreateWindowExW(
            box ? WS_EX_CLIENTEDGE : 0, box ? L"EDIT" : L"BUTTON",
            reinterpret_cast<const wchar_t *>(text.c_str()),
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | (box ? ES_AUTOHSCROLL : BS_PUSHBUTTON), place.left,
            place.top, place.right - place.left, place.bottom - place.top, window, nullptr,
            instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }

    const int status = bench::showAndRun(window, showCommand);
    DeleteObject(font);
    return status;
}
