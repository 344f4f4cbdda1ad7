#include "longvalues.h"

#include "ui/form.h"
#include "ui/win32/win32text.h"

namespace velmora {

namespace {

constexpr WPARAM kCtrlC = 0x03;
constexpr WPARAM kCtrlV = 0x16;
constexpr WPARAM kCtrlX = 0x18;
constexpr WPARAM kBackspace = 0x08;

void copyWhole(std::u16string_view value, Clipboard &clipboard) {
    if (clipboard.clear()) {
        clipboard.setText(std::u16string(value));
    }
}

}  // namespace

bool showsShortened(HWND edit) { return (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0; }

void showValue(HWND edit, const std::u16string &value) {
    const bool shortened = value.size() > kLargeValue;
    SendMessageW(edit, EM_SETREADONLY, shortened, 0);
    SetWindowTextW(edit, wide(shortened ? shortenedText(value) : value));
}

LongValueEdit editLongValue(HWND edit, UINT message, WPARAM wParam, std::u16string_view value,
                            Clipboard &clipboard) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    if (message == WM_KEYDOWN && wParam == VK_INSERT && (shift || control)) {
        // The control copies and pastes these itself, without a WM_COPY or WM_PASTE to see.
        message = control ? WM_COPY : WM_PASTE;
    }
    if (!showsShortened(edit)) {
        if (message != WM_PASTE) {
            return {};
        }
        const std::optional<std::u16string> pasted = clipboard.text();
        if (!pasted || pasted->size() <= kLargeValue) {
            return {};
        }
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        const std::u16string current = windowText(edit);
        return {true, current.substr(0, start) + *pasted +
                          current.substr(std::min<std::size_t>(end, current.size()))};
    }
    if (message == WM_CHAR) {
        switch (wParam) {
            case kCtrlC:
                message = WM_COPY;
                break;
            case kCtrlX:
                message = WM_CUT;
                break;
            case kCtrlV:
                message = WM_PASTE;
                break;
            case kBackspace:
                message = WM_CLEAR;
                break;
            default:
                if (wParam >= 0x20) {
                    return {true, std::u16string(1, static_cast<char16_t>(wParam))};
                }
                return {};
        }
    } else if (message == WM_KEYDOWN && wParam == VK_DELETE) {
        message = shift ? WM_CUT : WM_CLEAR;
    }
    switch (message) {
        case WM_COPY:
            copyWhole(value, clipboard);
            return {true, std::nullopt};
        case WM_CUT:
            copyWhole(value, clipboard);
            return {true, std::u16string()};
        case WM_CLEAR:
            return {true, std::u16string()};
        case WM_PASTE:
            return {true, clipboard.text()};
        default:
            return {};
    }
}

}  // namespace velmora
