#include "controls.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "ui/win32/placement.h"
#include "ui/win32/uifont.h"
#include "ui/win32/win32text.h"

namespace velmora {

namespace {

constexpr int kFirstControlId = 100;
constexpr int kCaptionIndentPx = 8;
constexpr UINT_PTR kSubclassId = 1;

/**
 * The controls to create, in the order that makes Tab walk them by tab index, each box's prompt
 * right before it: the system's accessibility names a box by the label before it.
 */
std::vector<const ControlDef *> creationOrder() {
    std::vector<const ControlDef *> order;
    for (const ControlDef *def : tabOrder()) {
        if (const ControlDef *prompt = promptOf(*def)) {
            order.push_back(prompt);
        }
        order.push_back(def);
    }
    for (const ControlDef &def : windowControls()) {
        if (def.visible && !takesFocus(def) && def.kind != ControlKind::Frame &&
            std::find(order.begin(), order.end(), &def) == order.end()) {
            order.push_back(&def);
        }
    }
    for (const ControlDef &def : windowControls()) {
        if (def.visible && def.kind == ControlKind::Frame) {
            order.push_back(&def);  // last, below the controls drawn over it
        }
    }
    return order;
}

}  // namespace

WindowControls::~WindowControls() {
    if (m_font != nullptr) {
        DeleteObject(m_font);
    }
}

void WindowControls::create(HWND window, UINT dpi, const StyleValues &values, SubclassProc proc,
                            DWORD_PTR data) {
    m_window = window;
    m_font = createUiFont(dpi);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_window, GWLP_HINSTANCE));
    int id = kFirstControlId;
    for (const ControlDef *def : creationOrder()) {
        const wchar_t *windowClass = L"STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
        DWORD exStyle = 0;
        std::u16string_view text = startText(*def, values);
        switch (def->kind) {
            case ControlKind::Frame:
                windowClass = L"BUTTON";
                style |= BS_GROUPBOX;
                text = {};  // drawn by m_frameCaption, in the frame's colour
                break;
            case ControlKind::Label:
                style |=
                    (def->align == TextAlign::Right ? SS_RIGHT : SS_LEFT) | SS_NOPREFIX | SS_NOTIFY;
                if (takesFocus(*def)) {
                    style |= WS_TABSTOP;  // the shop link, pressed by Space or Enter
                }
                break;
            case ControlKind::TextBox:
            case ControlKind::MultiLineTextBox:
                windowClass = L"EDIT";
                style |= WS_TABSTOP | ES_AUTOHSCROLL;
                // Files dropped on a box go to the window, as the ones dropped beside it.
                exStyle = WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES;
                break;
            case ControlKind::Button:
                windowClass = L"BUTTON";
                style |= WS_TABSTOP | BS_PUSHBUTTON;
                break;
        }
        const std::u16string ownText(text);
        const RECT place = controlRect(*def, dpi);
        HWND hwnd = CreateWindowExW(
            exStyle, windowClass, reinterpret_cast<const wchar_t *>(ownText.c_str()), style,
            place.left, place.top, place.right - place.left, place.bottom - place.top, m_window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
        if (hwnd == nullptr) {
            throw std::runtime_error("cannot create the control " + controlId(*def));
        }
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
        if (def->kind == ControlKind::TextBox || def->kind == ControlKind::MultiLineTextBox) {
            SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);  // no limit short of memory
        }
        m_controls[controlId(*def)] = hwnd;
        m_defs[hwnd] = def;
        if (def->role == Role::Box) {
            m_boxes.at(static_cast<std::size_t>(def->box)) = hwnd;
        }
        if (takesFocus(*def) && !SetWindowSubclass(hwnd, proc, kSubclassId, data)) {
            throw std::runtime_error("cannot subclass the control " + controlId(*def));
        }
        if (def->kind == ControlKind::Frame) {
            const SIZE extent = textExtent(m_font, def->text);
            m_frameCaption = CreateWindowExW(
                0, L"STATIC", wide(def->text), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                place.left + scaledPx(kCaptionIndentPx, dpi), place.top, extent.cx + 4, extent.cy,
                m_window, nullptr, instance, nullptr);
            if (m_frameCaption == nullptr) {
                throw std::runtime_error("cannot create the caption of " + controlId(*def));
            }
            m_defs[m_frameCaption] = def;
            SendMessageW(m_frameCaption, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
            SetWindowPos(m_frameCaption, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        }
    }
}

void WindowControls::layout(UINT dpi) {
    HFONT font = createUiFont(dpi);

    for (const auto &[hwnd, def] : m_defs) {
        const RECT place = controlRect(*def, dpi);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (hwnd == m_frameCaption) {
            HDC dc = GetDC(hwnd);
            HGDIOBJ old = SelectObject(dc, font);
            SIZE extent{};
            GetTextExtentPoint32W(dc, wide(def->text), static_cast<int>(def->text.size()), &extent);
            SelectObject(dc, old);
            ReleaseDC(hwnd, dc);
            MoveWindow(hwnd, place.left + scaledPx(kCaptionIndentPx, dpi), place.top, extent.cx + 4,
                       extent.cy, TRUE);
        } else {
            MoveWindow(hwnd, place.left, place.top, place.right - place.left,
                       place.bottom - place.top, TRUE);
        }
    }
    if (m_font != nullptr) {
        DeleteObject(m_font);
    }
    m_font = font;
}

HWND WindowControls::control(const std::string &id) const {
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

const ControlDef *WindowControls::def(HWND control) const {
    const auto found = m_defs.find(control);
    return found == m_defs.end() ? nullptr : found->second;
}

int WindowControls::boxOf(HWND control) const {
    const ControlDef *found = def(control);
    return found != nullptr && found->role == Role::Box ? found->box : -1;
}

HWND WindowControls::withRole(Role role) const {
    for (const auto &[hwnd, def] : m_defs) {
        if (def->role == role) {
            return hwnd;
        }
    }
    return nullptr;
}

}  // namespace velmora
