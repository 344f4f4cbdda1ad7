#include "win32window.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace velmora {

namespace {

constexpr wchar_t kWindowClass[] = L"VelmoraWindow";
constexpr int kFirstControlId = 100;
constexpr int kFontPoints = 9;
constexpr int kCaptionIndentPx = 8;

const wchar_t *wide(std::u16string_view text) {
    return reinterpret_cast<const wchar_t *>(text.data());
}

std::u16string windowText(HWND window) {
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    const int length = GetWindowTextW(window, reinterpret_cast<wchar_t *>(text.data()),
                                      static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return text;
}

void setWindowText(HWND window, const std::u16string &text) {
    SetWindowTextW(window, reinterpret_cast<const wchar_t *>(text.c_str()));
}

int scaled(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

COLORREF colourRef(TextColour colour) {
    return colour == TextColour::Red    ? RGB(255, 0, 0)
           : colour == TextColour::Blue ? RGB(0, 0, 255)
                                        : GetSysColor(COLOR_BTNTEXT);
}

bool focusable(const ControlDef &def) {
    return def.kind == ControlKind::TextBox || def.kind == ControlKind::MultiLineTextBox ||
           def.kind == ControlKind::Button;
}

int CALLBACK noteFontFound(const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM found) {
    *reinterpret_cast<bool *>(found) = true;
    return 0;
}

/** The first installed face that has the Chinese glyphs: Windows' own, or one a wine system
 *  may have from the desktop. */
const wchar_t *chineseFace() {
    HDC dc = GetDC(nullptr);
    const wchar_t *chosen = L"Microsoft YaHei";
    for (const wchar_t *face : {L"Microsoft YaHei", L"SimSun", L"Noto Sans CJK SC"}) {
        LOGFONTW query{};
        query.lfCharSet = DEFAULT_CHARSET;
        wcscpy_s(query.lfFaceName, face);
        bool found = false;
        EnumFontFamiliesExW(dc, &query, &noteFontFound, reinterpret_cast<LPARAM>(&found), 0);
        if (found) {
            chosen = face;
            break;
        }
    }
    ReleaseDC(nullptr, dc);
    return chosen;
}

/** The controls to create, in the order that makes Tab walk them by tab index. */
std::vector<const ControlDef *> creationOrder() {
    std::vector<const ControlDef *> order = tabOrder();
    for (const ControlDef &def : windowControls()) {
        if (def.visible && !focusable(def) && def.kind != ControlKind::Frame) {
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

Win32MainWindow::Win32MainWindow(HINSTANCE instance, Clipboard &clipboard, MessageBoxes &messages,
                                 UrlOpener &urlOpener, const Screen &screen, std::string shopUrl)
    : m_commands(clipboard, messages, urlOpener, std::move(shopUrl)),
      m_screen(screen),
      m_values(startValues()) {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Win32MainWindow::windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);  // fails harmlessly when already registered

    m_window =
        CreateWindowExW(0, kWindowClass, wide(kWindowCaption),
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                        CW_USEDEFAULT, 100, 100, nullptr, nullptr, instance, this);
    if (m_window == nullptr) {
        throw std::runtime_error("cannot create the window");
    }
    createControls();
    layout(GetDpiForWindow(m_window));
    showValues(m_values);
}

Win32MainWindow::~Win32MainWindow() {
    if (m_window != nullptr) {
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
    }
    if (m_font != nullptr) {
        DeleteObject(m_font);
    }
}

HWND Win32MainWindow::control(const std::string &id) const {
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

void Win32MainWindow::createControls() {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_window, GWLP_HINSTANCE));
    int id = kFirstControlId;
    for (const ControlDef *def : creationOrder()) {
        const wchar_t *windowClass = L"STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
        DWORD exStyle = 0;
        std::u16string_view text = def->text;
        switch (def->kind) {
            case ControlKind::Frame:
                windowClass = L"BUTTON";
                style |= BS_GROUPBOX;
                text = {};  // drawn by m_frameCaption, in the frame's colour
                break;
            case ControlKind::Label:
                style |=
                    (def->align == TextAlign::Right ? SS_RIGHT : SS_LEFT) | SS_NOPREFIX | SS_NOTIFY;
                break;
            case ControlKind::TextBox:
            case ControlKind::MultiLineTextBox:
                windowClass = L"EDIT";
                style |= WS_TABSTOP | ES_AUTOHSCROLL;
                exStyle = WS_EX_CLIENTEDGE;
                break;
            case ControlKind::Button:
                windowClass = L"BUTTON";
                style |= WS_TABSTOP | BS_PUSHBUTTON;
                break;
        }
        const std::u16string ownText(text);
        HWND hwnd = CreateWindowExW(
            exStyle, windowClass, reinterpret_cast<const wchar_t *>(ownText.c_str()), style, 0, 0,
            0, 0, m_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
        if (hwnd == nullptr) {
            throw std::runtime_error("cannot create the control " + controlId(*def));
        }
        if (def->kind == ControlKind::TextBox || def->kind == ControlKind::MultiLineTextBox) {
            SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);  // no limit short of memory
        }
        m_controls[controlId(*def)] = hwnd;
        m_defs[hwnd] = def;
        if (def->name == "Text4") {
            m_slotBoxes[static_cast<std::size_t>(def->index - 1)] = hwnd;
        }
        for (std::size_t box = 0; box < kImageBoxes.size(); ++box) {
            if (kImageBoxes[box].name == def->name) {
                m_imageBoxes[box] = hwnd;
            }
        }
        if (def->kind == ControlKind::Frame) {
            m_frameCaption = CreateWindowExW(0, L"STATIC", wide(def->text),
                                             WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0,
                                             0, m_window, nullptr, instance, nullptr);
            m_defs[m_frameCaption] = def;
            SetWindowPos(m_frameCaption, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        }
    }
}

void Win32MainWindow::layout(UINT dpi) {
    LOGFONTW logFont{};
    logFont.lfHeight = -MulDiv(kFontPoints, static_cast<int>(dpi), 72);
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = CLEARTYPE_QUALITY;
    wcscpy_s(logFont.lfFaceName, chineseFace());
    HFONT font = CreateFontIndirectW(&logFont);

    for (const auto &[hwnd, def] : m_defs) {
        int left = scaled(def->left, dpi);
        int top = scaled(def->top, dpi);
        if (!def->container.empty()) {
            const ControlDef &frame = controlById(def->container);
            left += scaled(frame.left, dpi);
            top += scaled(frame.top, dpi);
        }
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (hwnd == m_frameCaption) {
            HDC dc = GetDC(hwnd);
            HGDIOBJ old = SelectObject(dc, font);
            SIZE extent{};
            GetTextExtentPoint32W(dc, wide(def->text), static_cast<int>(def->text.size()), &extent);
            SelectObject(dc, old);
            ReleaseDC(hwnd, dc);
            MoveWindow(hwnd, left + MulDiv(kCaptionIndentPx, static_cast<int>(dpi), 96), top,
                       extent.cx + 4, extent.cy, TRUE);
        } else {
            MoveWindow(hwnd, left, top, scaled(def->width, dpi), scaled(def->height, dpi), TRUE);
        }
    }
    if (m_font != nullptr) {
        DeleteObject(m_font);
    }
    m_font = font;

    RECT outer{0, 0, scaled(kClientWidthTwips, dpi), scaled(kClientHeightTwips, dpi)};
    AdjustWindowRectExForDpi(&outer, static_cast<DWORD>(GetWindowLongW(m_window, GWL_STYLE)), FALSE,
                             0, dpi);
    SetWindowPos(m_window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32MainWindow::show(int showCommand) {
    RECT outer{};
    GetWindowRect(m_window, &outer);
    const Point corner =
        centredTopLeft(m_screen, outer.right - outer.left, outer.bottom - outer.top);
    SetWindowPos(m_window, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(m_window, showCommand);
    UpdateWindow(m_window);
    SetFocus(control("Command2"));
}

bool Win32MainWindow::preTranslate(MSG &message) {
    return IsDialogMessageW(m_window, &message) != 0;
}

StyleValues Win32MainWindow::values() const {
    StyleValues values = m_values;
    for (std::size_t i = 0; i < m_slotBoxes.size(); ++i) {
        if (m_slotBoxes[i] != nullptr) {
            values.slots[i] = windowText(m_slotBoxes[i]);
        }
    }
    for (std::size_t i = 0; i < m_imageBoxes.size(); ++i) {
        values.images[i] = windowText(m_imageBoxes[i]);
    }
    return values;
}

void Win32MainWindow::showValues(const StyleValues &values) {
    m_values = values;
    for (std::size_t i = 0; i < m_slotBoxes.size(); ++i) {
        if (m_slotBoxes[i] != nullptr) {
            setWindowText(m_slotBoxes[i], values.slots[i]);
        }
    }
    for (std::size_t i = 0; i < m_imageBoxes.size(); ++i) {
        setWindowText(m_imageBoxes[i], values.images[i]);
    }
}

void Win32MainWindow::pressButton(HWND button) {
    if (button == control("Command2")) {
        m_commands.run([this] { m_commands.generate(values(), m_output); });
    } else if (button == control("Command1")) {
        m_commands.run([this] {
            StyleValues current = values();
            if (m_commands.clear(current)) {
                showValues(current);
            }
        });
    }
}

void Win32MainWindow::onCommand(int id, int code) {
    if (id == IDOK) {
        // Enter, as the dialog manager reports it: press the focused button, if any.
        pressButton(GetFocus());
        return;
    }
    HWND source = GetDlgItem(m_window, id);
    if (source == control("Label3") && code == STN_CLICKED) {
        m_commands.run([this] { m_commands.openShopLink(); });
    } else if (code == BN_CLICKED) {
        pressButton(source);
    }
}

LRESULT CALLBACK Win32MainWindow::windowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto *self = static_cast<Win32MainWindow *>(
            reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto *self = reinterpret_cast<Win32MainWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self != nullptr ? self->handleMessage(message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC: {
            auto dc = reinterpret_cast<HDC>(wParam);
            const auto found = m_defs.find(reinterpret_cast<HWND>(lParam));
            if (found != m_defs.end()) {
                SetTextColor(dc, colourRef(found->second->colour));
            }
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == control("Label3")) {
                SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
                return TRUE;
            }
            break;
        case WM_DPICHANGED: {
            const auto *suggested = reinterpret_cast<const RECT *>(lParam);
            SetWindowPos(m_window, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            layout(HIWORD(wParam));
            return 0;
        }
        case WM_CLOSE:
            DestroyWindow(m_window);
            return 0;
        case WM_DESTROY:
            m_window = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

}  // namespace velmora
