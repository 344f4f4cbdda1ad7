#include "win32window.h"

#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "platform/win32/systemfunction.h"
#include "ui/win32/accessibility.h"
#include "ui/win32/contextmenu.h"
#include "ui/win32/longvalues.h"
#include "ui/win32/placement.h"
#include "ui/win32/uifont.h"
#include "ui/win32/win32text.h"

namespace velmora {

namespace {

constexpr wchar_t kWindowClass[] = L"VelmoraWindow";
constexpr int kFirstControlId = 100;
constexpr int kCaptionIndentPx = 8;
constexpr UINT kPreviewDelayMs = 200;
constexpr UINT_PTR kPreviewTimer = 1;
constexpr UINT_PTR kSubclassId = 1;
// Asks for the colour dialog once the double click that wanted it is over (wParam: the box).
constexpr UINT kBoxDoubleClickMessage = WM_APP + 1;
// Makes the tooltips once the window is on the screen: nobody points at a box before that.
constexpr UINT kCreateTooltipsMessage = WM_APP + 2;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExStyle = WS_EX_ACCEPTFILES;

COLORREF colourRef(TextColour colour) {
    return colour == TextColour::Red    ? RGB(255, 0, 0)
           : colour == TextColour::Blue ? RGB(0, 0, 255)
                                        : GetSysColor(COLOR_BTNTEXT);
}

/** What Space or Enter does on a focused control: press a button or follow the shop link. */
std::optional<Command> pressCommand(Role role) {
    switch (role) {
        case Role::Generate:
            return Command::Generate;
        case Role::Clear:
            return Command::Clear;
        case Role::ShopLink:
            return Command::ShopLink;
        default:
            return std::nullopt;
    }
}

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

HICON loadIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric),
                                         GetSystemMetrics(heightMetric), LR_SHARED));
}

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance, FormServices services, const Screen &screen,
                                 std::string shopUrl)
    : m_form(std::make_unique<Form>(static_cast<FormView &>(*this), services, std::move(shopUrl))),
      m_clipboard(services.clipboard),
      m_screen(screen),
      m_scroller(screen, kWindowExStyle) {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                  ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Win32MainWindow::windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = loadIcon(instance, SM_CXICON, SM_CYICON);
    // The icon's own small image: the large one scaled down is blurred in the title bar.
    windowClass.hIconSm = loadIcon(instance, SM_CXSMICON, SM_CYSMICON);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);  // fails harmlessly when already registered

    // Everything is made once, at its size, in its place, with its font and its text: under
    // wine each later move, font change or text change costs a round of server calls.
    const UINT dpi = GetDpiForSystem();
    const WindowFit fit = m_scroller.fit(kWindowStyle, dpi);
    const POINT corner =
        placeOnScreen(m_screen.geometry(), m_screen.availableGeometry(), fit.outer);
    m_window =
        CreateWindowExW(kWindowExStyle, kWindowClass, wide(kWindowCaption), kWindowStyle, corner.x,
                        corner.y, fit.outer.cx, fit.outer.cy, nullptr, nullptr, instance, this);
    if (m_window == nullptr) {
        throw std::runtime_error("cannot create the window");
    }
    try {
        m_font = createUiFont(dpi);
        createControls(dpi);
        m_accelerators = createShortcuts();
        if (GetDpiForWindow(m_window) != dpi) {
            layout(GetDpiForWindow(m_window));  // a monitor of its own scale
        } else {
            m_scroller.showBars(fit);
        }
        m_creatingWithValues = true;  // the boxes already show the start values
        m_form->start();
        m_creatingWithValues = false;
    } catch (...) {
        release();
        throw;
    }
}

Win32MainWindow::~Win32MainWindow() { release(); }

void Win32MainWindow::release() {
    if (m_window != nullptr) {
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
        m_window = nullptr;
    }
    m_form.reset();
    m_painter.clear();
    if (m_accelerators != nullptr) {
        DestroyAcceleratorTable(m_accelerators);
        m_accelerators = nullptr;
    }
    if (m_font != nullptr) {
        DeleteObject(m_font);
        m_font = nullptr;
    }
}

HWND Win32MainWindow::control(const std::string &id) const {
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

void Win32MainWindow::createControls(UINT dpi) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_window, GWLP_HINSTANCE));
    int id = kFirstControlId;
    for (const ControlDef *def : creationOrder()) {
        const wchar_t *windowClass = L"STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
        DWORD exStyle = 0;
        std::u16string_view text = startText(*def, m_form->values());
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
        if (takesFocus(*def) && !SetWindowSubclass(hwnd, &Win32MainWindow::controlProc, kSubclassId,
                                                   reinterpret_cast<DWORD_PTR>(this))) {
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

void Win32MainWindow::layout(UINT dpi) {
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
    m_tooltips.restyle(m_font, dpi);
    const WindowFit fit =
        m_scroller.fit(static_cast<DWORD>(GetWindowLongW(m_window, GWL_STYLE)), dpi);
    SetWindowPos(m_window, nullptr, 0, 0, fit.outer.cx, fit.outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_scroller.showBars(fit);
}

void Win32MainWindow::show(int showCommand) {
    RECT outer{};
    GetWindowRect(m_window, &outer);
    const POINT corner = placeOnScreen(m_screen.geometry(), m_screen.availableGeometry(),
                                       {outer.right - outer.left, outer.bottom - outer.top});
    if (corner.x != outer.left || corner.y != outer.top) {  // resized for another monitor's scale
        // Not activated while hidden: that would take the focus before the window shows.
        SetWindowPos(m_window, nullptr, corner.x, corner.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(m_window, showCommand);
    UpdateWindow(m_window);
    for (const auto &[hwnd, def] : m_defs) {
        if (def->role == Role::Generate) {
            SetFocus(hwnd);
        }
    }
    PostMessageW(m_window, kCreateTooltipsMessage, 0, 0);
}

bool Win32MainWindow::preTranslate(MSG &message) {
    if (m_window == nullptr || (message.hwnd != m_window && !IsChild(m_window, message.hwnd))) {
        return false;
    }
    return TranslateAcceleratorW(m_window, m_accelerators, &message) != 0 ||
           IsDialogMessageW(m_window, &message) != 0;
}

void Win32MainWindow::showText(int box, const std::u16string &text) {
    HWND edit = m_boxes.at(static_cast<std::size_t>(box));
    if (edit == nullptr) {
        return;
    }
    if (m_creatingWithValues) {
        return;
    }
    m_showingText = true;
    showValue(edit, text);
    m_showingText = false;
}

void Win32MainWindow::replaceValue(int box, std::u16string value) {
    if (m_form) {
        m_form->textEdited(box, std::move(value));
        showText(box, m_form->values().box(box));
    }
}

void Win32MainWindow::showLook(int box, const BoxLook &look) {
    HWND edit = m_boxes.at(static_cast<std::size_t>(box));
    if (edit == nullptr) {
        return;
    }
    m_painter.setLook(box, look);
    RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
    m_tooltips.setTip(box, edit, look.tooltip);
    std::wstring &description = m_descriptions.at(static_cast<std::size_t>(box));
    if (description != wideString(look.description)) {
        description = wideString(look.description);
        m_accessibility.textChanged(edit);
    }
}

void Win32MainWindow::schedulePreviewRefresh() {
    SetTimer(m_window, kPreviewTimer, kPreviewDelayMs, nullptr);
}

void Win32MainWindow::trigger(Command command, int box) {
    if (m_form) {
        m_form->trigger(command, box);
    }
}

void Win32MainWindow::onCommand(int id, int code, HWND source) {
    if (id == IDOK) {
        // Enter, as the dialog manager reports it: press the focused button or link, if any.
        const auto focused = m_defs.find(GetFocus());
        if (focused != m_defs.end()) {
            if (const std::optional<Command> command = pressCommand(focused->second->role)) {
                trigger(*command);
            }
        }
        return;
    }
    if (source == nullptr) {  // a menu entry or a shortcut
        runMenuEntry(static_cast<UINT>(id), nullptr);
        return;
    }
    const auto found = m_defs.find(source);
    if (found == m_defs.end()) {
        return;
    }
    const ControlDef &def = *found->second;
    switch (def.role) {
        case Role::Box:
            if (code == EN_CHANGE && !m_showingText && m_form) {
                m_form->textEdited(def.box, windowText(source));
                if (m_form->values().box(def.box).size() > kLargeValue) {
                    showText(def.box, m_form->values().box(def.box));  // set whole, as a drop does
                }
            }
            break;
        case Role::Generate:
        case Role::Clear:
            if (code == BN_CLICKED) {
                trigger(*pressCommand(def.role));
            }
            break;
        case Role::ShopLink:
            if (code == STN_CLICKED) {
                trigger(Command::ShopLink);
            }
            break;
        case Role::None:
            break;
    }
}

int Win32MainWindow::boxOf(HWND control) const {
    const auto found = m_defs.find(control);
    return found != m_defs.end() && found->second->role == Role::Box ? found->second->box : -1;
}

HMENU Win32MainWindow::createContextMenu(HWND target) const {
    return velmora::createContextMenu(target, boxOf(target));
}

void Win32MainWindow::runMenuEntry(UINT id, HWND target) {
    if (const std::optional<Command> command = velmora::runMenuEntry(id, target)) {
        trigger(*command, boxOf(target));
    }
}

void Win32MainWindow::showContextMenu(HWND target, LPARAM where) {
    POINT at{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    if (where == -1) {  // from the keyboard: below the control
        RECT r{};
        GetWindowRect(target, &r);
        at = {r.left, r.bottom};
    }
    HMENU menu = createContextMenu(target);
    const auto id = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, m_window, nullptr));
    DestroyMenu(menu);
    if (id != 0) {
        runMenuEntry(id, target);
    }
}

void Win32MainWindow::onDropFiles(HDROP drop, int box) {
    std::vector<std::filesystem::path> files;
    static auto *const queryFile =
        systemFunction<decltype(DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
    static auto *const finish = systemFunction<decltype(DragFinish)>(L"shell32.dll", "DragFinish");
    if (queryFile == nullptr || finish == nullptr) {
        return;
    }
    const UINT count = queryFile(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring name(queryFile(drop, i, nullptr, 0) + 1, L'\0');
        name.resize(queryFile(drop, i, name.data(), static_cast<UINT>(name.size())));
        files.emplace_back(name);
    }
    finish(drop);
    if (m_form) {
        m_form->filesDropped(files, box);
    }
}

void Win32MainWindow::closeForm() {
    KillTimer(m_window, kPreviewTimer);
    m_form.reset();
}

LRESULT CALLBACK Win32MainWindow::windowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto *self = static_cast<Win32MainWindow *>(
            reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        self->m_window = window;
        self->m_scroller.attach(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto *self = reinterpret_cast<Win32MainWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self != nullptr ? self->handleMessage(message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK Win32MainWindow::controlProc(HWND control, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR id, DWORD_PTR self) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, &Win32MainWindow::controlProc, id);
        return DefSubclassProc(control, message, wParam, lParam);
    }
    return reinterpret_cast<Win32MainWindow *>(self)->handleControlMessage(control, message, wParam,
                                                                           lParam);
}

LRESULT Win32MainWindow::handleControlMessage(HWND control, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    const ControlDef &def = *m_defs.at(control);
    const int box = def.role == Role::Box ? def.box : -1;
    if (box >= 0 && m_form) {
        LongValueEdit edit =
            editLongValue(control, message, wParam, m_form->values().box(box), m_clipboard);
        if (edit.value) {
            replaceValue(box, std::move(*edit.value));
        }
        if (edit.handled) {
            return 0;
        }
    }
    switch (message) {
        case WM_NCPAINT:
            if (box >= 0 && m_painter.marked(box)) {
                const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
                m_painter.paintMark(control);
                return result;
            }
            break;
        case WM_SETFOCUS:
            m_lastFocus = control;
            m_scroller.scrollIntoView(control);
            if (def.role == Role::ShopLink) {
                InvalidateRect(control, nullptr, TRUE);  // shows the focus frame
            }
            break;
        case WM_KILLFOCUS:
            if (def.role == Role::ShopLink) {
                InvalidateRect(control, nullptr, TRUE);
            }
            break;
        case WM_PAINT:
            if (def.role == Role::ShopLink && GetFocus() == control) {
                const LRESULT painted = DefSubclassProc(control, message, wParam, lParam);
                HDC dc = GetDC(control);
                RECT frame{};
                GetClientRect(control, &frame);
                DrawFocusRect(dc, &frame);
                ReleaseDC(control, dc);
                return painted;
            }
            break;
        case WM_KEYDOWN:
            // Space presses the link as it presses a button; Enter comes as IDOK.
            if (def.role == Role::ShopLink && wParam == VK_SPACE && (lParam & (1 << 30)) == 0) {
                trigger(Command::ShopLink);
                return 0;
            }
            break;
        case WM_GETOBJECT:
            if (const LRESULT object = m_accessibility.getObject(control, wParam, lParam)) {
                return object;
            }
            break;
        case kAccessibleTextMessage: {
            auto &text = *reinterpret_cast<AccessibleText *>(lParam);
            text.name = wideString(accessibleName(def));
            text.role = def.kind == ControlKind::Button ? ROLE_SYSTEM_PUSHBUTTON
                        : def.role == Role::ShopLink    ? ROLE_SYSTEM_LINK
                                                        : ROLE_SYSTEM_TEXT;
            if (box >= 0) {
                text.description = m_descriptions.at(static_cast<std::size_t>(box));
            }
            return TRUE;
        }
        case WM_LBUTTONDBLCLK:
            if (box >= 0) {
                PostMessageW(m_window, kBoxDoubleClickMessage, static_cast<WPARAM>(box), 0);
            }
            break;
        case WM_CONTEXTMENU:
            if (box >= 0) {
                // The edit control's own menu cannot take the window's entries: ours instead.
                showContextMenu(control, lParam);
                return 0;
            }
            break;
        case WM_DROPFILES:
            onDropFiles(reinterpret_cast<HDROP>(wParam), box);
            return 0;
        default:
            break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

LRESULT Win32MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_CTLCOLORSTATIC: {
            auto dc = reinterpret_cast<HDC>(wParam);
            const auto found = m_defs.find(reinterpret_cast<HWND>(lParam));
            if (found != m_defs.end() && found->second->role == Role::Box) {
                // A box showing its value shortened is read-only, but looks as the others do.
                HBRUSH brush = m_painter.prepare(found->second->box, dc);
                if (brush == nullptr) {
                    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
                    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
                    brush = GetSysColorBrush(COLOR_WINDOW);
                }
                return reinterpret_cast<LRESULT>(brush);
            }
            if (found != m_defs.end()) {
                SetTextColor(dc, colourRef(found->second->colour));
            }
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_CTLCOLOREDIT: {
            const auto found = m_defs.find(reinterpret_cast<HWND>(lParam));
            if (found != m_defs.end() && found->second->role == Role::Box) {
                HBRUSH brush = m_painter.prepare(found->second->box, reinterpret_cast<HDC>(wParam));
                if (brush != nullptr) {
                    return reinterpret_cast<LRESULT>(brush);
                }
            }
            break;
        }
        case WM_SETCURSOR: {
            const auto found = m_defs.find(reinterpret_cast<HWND>(wParam));
            if (found != m_defs.end() && found->second->role == Role::ShopLink) {
                SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
                return TRUE;
            }
            break;
        }
        case WM_CONTEXTMENU:
            showContextMenu(reinterpret_cast<HWND>(wParam), lParam);
            return 0;
        case WM_DROPFILES:
            onDropFiles(reinterpret_cast<HDROP>(wParam), -1);
            return 0;
        case WM_TIMER:
            if (wParam == kPreviewTimer) {
                KillTimer(m_window, kPreviewTimer);
                if (m_form) {
                    m_form->refreshPreview();
                }
                return 0;
            }
            break;
        case kCreateTooltipsMessage:
            if (!m_tooltips.created()) {
                try {
                    m_tooltips.create(m_window, m_boxes, m_font, GetDpiForWindow(m_window));
                } catch (const std::exception &) {
                    // The boxes' marks still show in their colours; only the tips are missing.
                }
            }
            return 0;
        case kBoxDoubleClickMessage: {
            const int box = static_cast<int>(wParam);
            trigger(Command::PickColour, box);
            return 0;
        }
        case WM_ACTIVATE:
            // As dialogs do: the keyboard goes back to the control the user left, not to the
            // window itself, when a message box or another program gives the activation back.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(m_window, focus)) {
                    m_lastFocus = focus;
                }
            } else if (HIWORD(wParam) == 0 && m_lastFocus != nullptr && IsWindow(m_lastFocus)) {
                SetFocus(m_lastFocus);
                return 0;
            }
            break;
        case WM_SETFOCUS:
            if (m_lastFocus != nullptr && IsWindow(m_lastFocus)) {
                SetFocus(m_lastFocus);
                return 0;
            }
            break;
        case WM_HSCROLL:
            m_scroller.onScroll(SB_HORZ, wParam);
            return 0;
        case WM_VSCROLL:
            m_scroller.onScroll(SB_VERT, wParam);
            return 0;
        case WM_MOUSEWHEEL:
            m_scroller.onWheel(GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_DPICHANGED: {
            const auto *suggested = reinterpret_cast<const RECT *>(lParam);
            SetWindowPos(m_window, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            layout(HIWORD(wParam));
            return 0;
        }
        case WM_ENDSESSION:
            // At log-off or shutdown the program is ended without WM_DESTROY: its preview
            // page and folder (the shop's values) are removed now, as on closing.
            if (wParam) {
                closeForm();
            }
            return 0;
        case WM_CLOSE:
            DestroyWindow(m_window);
            return 0;
        case WM_DESTROY:
            // The form goes with the window: its preview page and folder are removed now.
            closeForm();
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY: {
            HWND window = m_window;
            m_window = nullptr;
            return DefWindowProcW(window, message, wParam, lParam);
        }
        default:
            break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

}  // namespace velmora
