#include "win32window.h"

#include <commctrl.h>
#include <oleacc.h>
#include <windowsx.h>

#include <optional>
#include <stdexcept>
#include <vector>

#include "platform/win32/dpi.h"
#include "ui/win32/contextmenu.h"
#include "ui/win32/controlcolours.h"
#include "ui/win32/drops.h"
#include "ui/win32/linklabel.h"
#include "ui/win32/placement.h"
#include "ui/win32/win32text.h"

namespace velmora {

namespace {

constexpr wchar_t kWindowClass[] = L"VelmoraWindow";
constexpr UINT kPreviewDelayMs = 200;
constexpr UINT_PTR kPreviewTimer = 1;
// Asks for the colour dialog once the double click that wanted it is over (wParam: the box).
constexpr UINT kBoxDoubleClickMessage = WM_APP + 1;
// Makes the tooltips once the window is on the screen: nobody points at a box before that.
constexpr UINT kCreateTooltipsMessage = WM_APP + 2;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExStyle = WS_EX_ACCEPTFILES;

HICON loadIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric),
                                         GetSystemMetrics(heightMetric), LR_SHARED));
}

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance, FormServices services, const Screen &screen,
                                 std::string shopUrl)
    : m_form(std::make_unique<Form>(static_cast<FormView &>(*this), services, std::move(shopUrl))),
      m_screen(screen),
      m_scroller(screen, kWindowExStyle),
      m_boxes(m_form, m_controls, services.clipboard, m_accessibility),
      m_commands(m_form, m_controls) {
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
    const UINT dpi = systemDpi();
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
        m_controls.create(m_window, dpi, m_form->values(), &Win32MainWindow::controlProc,
                          reinterpret_cast<DWORD_PTR>(this));
        m_accelerators = createShortcuts();
        if (windowDpi(m_window) != dpi) {
            layout(windowDpi(m_window));  // a monitor of its own scale
        } else {
            m_scroller.showBars(fit);
        }
        m_boxes.keepTexts(true);  // the boxes already show the start values
        m_form->start();
        m_boxes.keepTexts(false);
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
    m_boxes.clearLooks();
    if (m_accelerators != nullptr) {
        DestroyAcceleratorTable(m_accelerators);
        m_accelerators = nullptr;
    }
}

HWND Win32MainWindow::control(const std::string &id) const { return m_controls.control(id); }

HMENU Win32MainWindow::createContextMenu(HWND target) const {
    return m_commands.createContextMenu(target);
}

void Win32MainWindow::runMenuEntry(UINT id, HWND target) { m_commands.runMenuEntry(id, target); }

void Win32MainWindow::layout(UINT dpi) {
    m_controls.layout(dpi);
    m_boxes.restyleTooltips(dpi);
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
    if (HWND generate = m_controls.withRole(Role::Generate)) {
        SetFocus(generate);
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

void Win32MainWindow::showText(int box, const std::u16string &text) { m_boxes.showText(box, text); }

void Win32MainWindow::putText(int box, const std::u16string &text) { m_boxes.putText(box, text); }

void Win32MainWindow::showLook(int box, const BoxLook &look) { m_boxes.showLook(box, look); }

void Win32MainWindow::schedulePreviewRefresh() {
    SetTimer(m_window, kPreviewTimer, kPreviewDelayMs, nullptr);
}

void Win32MainWindow::showBusy(bool busy) {
    if (busy) {
        m_cursorBeforeBusy = SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    } else {
        // No cursor before (none set yet) would leave none at all until the mouse moves.
        SetCursor(m_cursorBeforeBusy != nullptr
                      ? m_cursorBeforeBusy
                      : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
    }
}

void Win32MainWindow::onCommand(WPARAM wParam, HWND source) {
    const int id = LOWORD(wParam);
    const int box = m_controls.boxOf(source);
    if (id != IDOK && box >= 0) {
        if (HIWORD(wParam) == EN_CHANGE) {
            m_boxes.edited(box);
        }
        return;
    }
    m_commands.onCommand(id, HIWORD(wParam), source);
}

void Win32MainWindow::onDropFiles(HDROP drop, int box) {
    const std::optional<std::vector<std::filesystem::path>> files = takeDroppedFiles(drop);
    if (files && m_form) {
        m_form->filesDropped(*files, box);
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
        self->m_focus.attach(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        scaleFrameByMonitor(window);
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
    const ControlDef &def = *m_controls.def(control);
    const int box = def.role == Role::Box ? def.box : -1;
    if (box >= 0) {
        if (const std::optional<LRESULT> result =
                m_boxes.handleMessage(control, box, message, wParam, lParam)) {
            return *result;
        }
    }
    switch (message) {
        case WM_SETFOCUS:
            m_focus.focused(control);
            m_scroller.scrollIntoView(control);
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
                text.description = m_boxes.description(box);
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
                m_commands.showContextMenu(m_window, control, lParam);
                return 0;
            }
            break;
        case WM_DROPFILES:
            onDropFiles(reinterpret_cast<HDROP>(wParam), box);
            return 0;
        default:
            break;
    }
    if (def.role == Role::ShopLink) {
        const LinkMessage link = linkMessage(control, message, wParam, lParam);
        if (link.pressed) {
            m_commands.trigger(Command::ShopLink);
        }
        if (link.handled) {
            return link.result;
        }
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

LRESULT Win32MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(wParam, reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<LRESULT>(
                staticColours(m_controls.def(reinterpret_cast<HWND>(lParam)),
                              reinterpret_cast<HDC>(wParam), m_boxes.painter()));
        case WM_CTLCOLOREDIT:
            if (HBRUSH brush = editColours(m_controls.def(reinterpret_cast<HWND>(lParam)),
                                           reinterpret_cast<HDC>(wParam), m_boxes.painter())) {
                return reinterpret_cast<LRESULT>(brush);
            }
            break;
        case WM_SETCURSOR: {
            const ControlDef *def = m_controls.def(reinterpret_cast<HWND>(wParam));
            if (def != nullptr && def->role == Role::ShopLink) {
                return showLinkCursor();
            }
            break;
        }
        case WM_CONTEXTMENU:
            m_commands.showContextMenu(m_window, reinterpret_cast<HWND>(wParam), lParam);
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
            m_boxes.createTooltips(m_window, windowDpi(m_window));
            return 0;
        case kBoxDoubleClickMessage:
            m_commands.onDoubleClick(static_cast<int>(wParam));
            return 0;
        case WM_ACTIVATE:
            if (m_focus.onActivate(wParam)) {
                return 0;
            }
            break;
        case WM_SETFOCUS:
            if (m_focus.giveBack()) {
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
