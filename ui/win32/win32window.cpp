#include "win32window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <vector>

#include "platform/win32/systemfunction.h"
#include "ui/win32/placement.h"
#include "ui/win32/uifont.h"

namespace velmora {

namespace {

constexpr wchar_t kWindowClass[] = L"VelmoraWindow";
constexpr int kFirstControlId = 100;
constexpr int kCaptionIndentPx = 8;
constexpr int kTooltipWidthPx = 360;
constexpr int kScrollLinePx = 16;
constexpr UINT kPreviewDelayMs = 200;
constexpr UINT_PTR kPreviewTimer = 1;
constexpr UINT_PTR kSubclassId = 1;
// Asks for the colour dialog once the double click that wanted it is over (wParam: the box).
constexpr UINT kPickColourMessage = WM_APP + 1;
// Makes the tooltips once the window is on the screen: nobody points at a box before that.
constexpr UINT kCreateTooltipsMessage = WM_APP + 2;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExStyle = WS_EX_ACCEPTFILES;

// Menu entry ids, apart from the controls' ids (from kFirstControlId) and IDOK.
constexpr UINT kCommandIdBase = 0x1000;
constexpr UINT kEditIdBase = 0x2000;

/** A box's own edit entries, as the system's edit menu has them. */
struct EditEntry {
    std::u16string_view text;  // empty: a separator
    UINT message;
};

constexpr std::array<EditEntry, 8> kEditEntries{{
    {u"撤销", WM_UNDO},
    {u"", 0},
    {u"剪切", WM_CUT},
    {u"复制", WM_COPY},
    {u"粘贴", WM_PASTE},
    {u"删除", WM_CLEAR},
    {u"", 0},
    {u"全选", EM_SETSEL},
}};

UINT commandId(Command command) { return kCommandIdBase + static_cast<UINT>(command); }

const wchar_t *wide(std::u16string_view text) {
    return reinterpret_cast<const wchar_t *>(text.data());
}

std::wstring wideString(std::u16string_view text) { return {text.begin(), text.end()}; }

std::u16string windowText(HWND window) {
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    const int length = GetWindowTextW(window, reinterpret_cast<wchar_t *>(text.data()),
                                      static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return text;
}

int scaled(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

int scaledPx(int pixels, UINT dpi) { return MulDiv(pixels, static_cast<int>(dpi), 96); }

COLORREF colourRef(TextColour colour) {
    return colour == TextColour::Red    ? RGB(255, 0, 0)
           : colour == TextColour::Blue ? RGB(0, 0, 255)
                                        : GetSysColor(COLOR_BTNTEXT);
}

COLORREF colourRef(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

bool focusable(const ControlDef &def) {
    return def.kind == ControlKind::TextBox || def.kind == ControlKind::MultiLineTextBox ||
           def.kind == ControlKind::Button;
}

std::optional<Command> buttonCommand(Role role) {
    switch (role) {
        case Role::Generate:
            return Command::Generate;
        case Role::Clear:
            return Command::Clear;
        default:
            return std::nullopt;
    }
}

/** The menu text of an entry: its text, then its shortcut after a tab. */
std::wstring menuText(const MenuEntry &entry) {
    std::wstring text = wideString(entry.text);
    if (!entry.keys.empty()) {
        text += L'\t';
        text.append(entry.keys.begin(), entry.keys.end());
    }
    return text;
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

HICON loadIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric),
                                         GetSystemMetrics(heightMetric), LR_SHARED));
}

TOOLINFOW toolFor(HWND window, HWND box) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(box);
    return tool;
}

}  // namespace

std::optional<ACCEL> acceleratorFor(std::string_view keys, WORD command) {
    ACCEL accel{FVIRTKEY, 0, command};
    for (std::size_t plus = keys.find('+'); plus != std::string_view::npos; plus = keys.find('+')) {
        const std::string_view modifier = keys.substr(0, plus);
        if (modifier == "Ctrl") {
            accel.fVirt |= FCONTROL;
        } else if (modifier == "Shift") {
            accel.fVirt |= FSHIFT;
        } else if (modifier == "Alt") {
            accel.fVirt |= FALT;
        } else {
            return std::nullopt;
        }
        keys.remove_prefix(plus + 1);
    }
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (keys.size() == 1 && std::isalnum(static_cast<unsigned char>(keys[0]))) {
        accel.key = static_cast<WORD>(std::toupper(static_cast<unsigned char>(keys[0])));
        return accel;
    }
    if (keys.size() >= 2 && keys.size() <= 3 && keys[0] == 'F' &&
        std::all_of(keys.begin() + 1, keys.end(), isDigit)) {
        int number = 0;
        for (char digit : keys.substr(1)) {
            number = number * 10 + (digit - '0');
        }
        if (number >= 1 && number <= 24) {
            accel.key = static_cast<WORD>(VK_F1 + number - 1);
            return accel;
        }
    }
    return std::nullopt;
}

Win32MainWindow::Win32MainWindow(HINSTANCE instance, FormServices services, const Screen &screen,
                                 std::string shopUrl)
    : m_form(std::make_unique<Form>(static_cast<FormView &>(*this), services, std::move(shopUrl))),
      m_screen(screen) {
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
    m_content = {scaled(kClientWidthTwips, dpi), scaled(kClientHeightTwips, dpi)};
    const WindowFit fit = fitFor(kWindowStyle, dpi);
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
        createAccelerators();
        if (GetDpiForWindow(m_window) != dpi) {
            layout(GetDpiForWindow(m_window));  // a monitor of its own scale
        } else {
            showScrollBars(fit);
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
    for (BoxPaint &paint : m_paints) {
        if (paint.brush != nullptr) {
            DeleteObject(paint.brush);
        }
        paint = {};
    }
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
        if (focusable(*def) && !SetWindowSubclass(hwnd, &Win32MainWindow::controlProc, kSubclassId,
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

void Win32MainWindow::createTooltips() {
    m_tooltip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, m_window, nullptr, nullptr, nullptr);
    if (m_tooltip == nullptr) {
        throw std::runtime_error("cannot create the tooltips");
    }
    for (std::size_t box = 0; box < m_boxes.size(); ++box) {
        if (m_boxes[box] != nullptr) {
            TOOLINFOW tool = toolFor(m_window, m_boxes[box]);
            tool.lpszText = m_tips[box].data();
            SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    styleTooltips(GetDpiForWindow(m_window));
}

void Win32MainWindow::styleTooltips(UINT dpi) {
    SendMessageW(m_tooltip, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, scaledPx(kTooltipWidthPx, dpi));
}

void Win32MainWindow::createAccelerators() {
    std::vector<ACCEL> table;
    for (const MenuEntry &entry : kMenuEntries) {
        if (entry.keys.empty()) {
            continue;
        }
        const std::optional<ACCEL> accel =
            acceleratorFor(entry.keys, static_cast<WORD>(commandId(entry.command)));
        if (!accel) {
            throw std::logic_error("no key for the shortcut " + std::string(entry.keys));
        }
        table.push_back(*accel);
    }
    m_accelerators = CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
    if (m_accelerators == nullptr) {
        throw std::runtime_error("cannot create the shortcuts");
    }
}

void Win32MainWindow::layout(UINT dpi) {
    HFONT font = createUiFont(dpi);

    m_scroll = {};
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
            MoveWindow(hwnd, left + scaledPx(kCaptionIndentPx, dpi), top, extent.cx + 4, extent.cy,
                       TRUE);
        } else {
            MoveWindow(hwnd, left, top, scaled(def->width, dpi), scaled(def->height, dpi), TRUE);
        }
    }
    if (m_font != nullptr) {
        DeleteObject(m_font);
    }
    m_font = font;
    if (m_tooltip != nullptr) {
        styleTooltips(dpi);
    }
    m_content = {scaled(kClientWidthTwips, dpi), scaled(kClientHeightTwips, dpi)};
    const WindowFit fit = fitFor(static_cast<DWORD>(GetWindowLongW(m_window, GWL_STYLE)), dpi);
    SetWindowPos(m_window, nullptr, 0, 0, fit.outer.cx, fit.outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    showScrollBars(fit);
}

WindowFit Win32MainWindow::fitFor(DWORD style, UINT dpi) const {
    RECT frame{};
    AdjustWindowRectExForDpi(&frame, style & ~(WS_HSCROLL | WS_VSCROLL), FALSE, kWindowExStyle,
                             dpi);
    return fitToWorkArea(
        m_content, {frame.right - frame.left, frame.bottom - frame.top},
        {GetSystemMetricsForDpi(SM_CXVSCROLL, dpi), GetSystemMetricsForDpi(SM_CYHSCROLL, dpi)},
        m_screen.availableGeometry());
}

void Win32MainWindow::showScrollBars(const WindowFit &fit) {
    const auto style = static_cast<DWORD>(GetWindowLongW(m_window, GWL_STYLE));
    if (!fit.horizontalBar && !fit.verticalBar && (style & (WS_HSCROLL | WS_VSCROLL)) == 0) {
        return;  // the usual case: the whole content shows and no bar is there to hide
    }
    // A page as large as the content hides its bar.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = m_content.cx - 1;
    info.nPage = static_cast<UINT>(fit.client.cx);
    SetScrollInfo(m_window, SB_HORZ, &info, TRUE);
    info.nMax = m_content.cy - 1;
    info.nPage = static_cast<UINT>(fit.client.cy);
    SetScrollInfo(m_window, SB_VERT, &info, TRUE);
}

void Win32MainWindow::scrollTo(int x, int y) {
    RECT client{};
    GetClientRect(m_window, &client);
    x = std::clamp(x, 0, std::max(0, static_cast<int>(m_content.cx - client.right)));
    y = std::clamp(y, 0, std::max(0, static_cast<int>(m_content.cy - client.bottom)));
    if (x == m_scroll.x && y == m_scroll.y) {
        return;
    }
    ScrollWindowEx(m_window, m_scroll.x - x, m_scroll.y - y, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    m_scroll = {x, y};
    SetScrollPos(m_window, SB_HORZ, x, TRUE);
    SetScrollPos(m_window, SB_VERT, y, TRUE);
}

void Win32MainWindow::onScroll(int bar, int request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(m_window, bar, &info);
    const int line = scaledPx(kScrollLinePx, GetDpiForWindow(m_window));
    int position = info.nPos;
    switch (LOWORD(request)) {
        case SB_LINEUP:
            position -= line;
            break;
        case SB_LINEDOWN:
            position += line;
            break;
        case SB_PAGEUP:
            position -= static_cast<int>(info.nPage);
            break;
        case SB_PAGEDOWN:
            position += static_cast<int>(info.nPage);
            break;
        case SB_THUMBTRACK:
            position = info.nTrackPos;
            break;
        case SB_THUMBPOSITION:
            position = HIWORD(request);
            break;
        case SB_TOP:
            position = 0;
            break;
        case SB_BOTTOM:
            position = info.nMax;
            break;
        default:
            return;
    }
    if (bar == SB_HORZ) {
        scrollTo(position, m_scroll.y);
    } else {
        scrollTo(m_scroll.x, position);
    }
}

void Win32MainWindow::scrollIntoView(HWND control) {
    RECT shown{};
    GetWindowRect(control, &shown);
    MapWindowPoints(HWND_DESKTOP, m_window, reinterpret_cast<POINT *>(&shown), 2);
    RECT client{};
    GetClientRect(m_window, &client);
    // In the content's coordinates; where a control is larger than the client, its start wins.
    const auto into = [](int start, int end, int scroll, int page) {
        if (end + scroll > scroll + page) {
            scroll = end + scroll - page;
        }
        return std::min(scroll, start + scroll);
    };
    scrollTo(into(shown.left, shown.right, m_scroll.x, client.right),
             into(shown.top, shown.bottom, m_scroll.y, client.bottom));
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
    SetWindowTextW(edit, reinterpret_cast<const wchar_t *>(text.c_str()));
    m_showingText = false;
}

void Win32MainWindow::showLook(int box, const BoxLook &look) {
    HWND edit = m_boxes.at(static_cast<std::size_t>(box));
    if (edit == nullptr) {
        return;
    }
    BoxPaint &paint = m_paints.at(static_cast<std::size_t>(box));
    if (paint.brush != nullptr) {
        DeleteObject(paint.brush);
    }
    paint = {};
    if (look.background) {
        paint.background = colourRef(*look.background);
        paint.text = colourRef(look.text);
        paint.brush = CreateSolidBrush(paint.background);
    }
    InvalidateRect(edit, nullptr, TRUE);

    std::wstring &tip = m_tips.at(static_cast<std::size_t>(box));
    tip = wideString(look.tooltip);
    if (m_tooltip != nullptr) {
        TOOLINFOW tool = toolFor(m_window, edit);
        tool.lpszText = tip.data();
        SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
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
        // Enter, as the dialog manager reports it: press the focused button, if any.
        const auto focused = m_defs.find(GetFocus());
        if (focused != m_defs.end()) {
            if (const std::optional<Command> command = buttonCommand(focused->second->role)) {
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
            }
            break;
        case Role::Generate:
        case Role::Clear:
            if (code == BN_CLICKED) {
                trigger(*buttonCommand(def.role));
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

HMENU Win32MainWindow::createContextMenu(HWND target) const {
    HMENU menu = CreatePopupMenu();
    const auto found = m_defs.find(target);
    const int box =
        found != m_defs.end() && found->second->role == Role::Box ? found->second->box : -1;
    if (box >= 0) {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(target, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        const bool selection = start != end;
        const auto length = static_cast<DWORD>(GetWindowTextLengthW(target));
        for (std::size_t i = 0; i < kEditEntries.size(); ++i) {
            const EditEntry &entry = kEditEntries[i];
            if (entry.text.empty()) {
                AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            bool enabled = true;
            switch (entry.message) {
                case WM_UNDO:
                    enabled = SendMessageW(target, EM_CANUNDO, 0, 0) != 0;
                    break;
                case WM_CUT:
                case WM_COPY:
                case WM_CLEAR:
                    enabled = selection;
                    break;
                case WM_PASTE:
                    enabled = IsClipboardFormatAvailable(CF_UNICODETEXT) != 0;
                    break;
                case EM_SETSEL:
                    enabled = start != 0 || end != length;
                    break;
                default:
                    break;
            }
            AppendMenuW(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED),
                        kEditIdBase + static_cast<UINT>(i), wide(entry.text));
        }
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    }
    for (const MenuEntry &entry : kMenuEntries) {
        AppendMenuW(menu, MF_STRING, commandId(entry.command), menuText(entry).c_str());
    }
    if (Form::isColourBox(box)) {
        AppendMenuW(menu, MF_STRING, commandId(kPickColourEntry.command),
                    menuText(kPickColourEntry).c_str());
    }
    return menu;
}

void Win32MainWindow::runMenuEntry(UINT id, HWND target) {
    if (id >= kEditIdBase && id < kEditIdBase + kEditEntries.size()) {
        const UINT message = kEditEntries[id - kEditIdBase].message;
        SendMessageW(target, message, 0, message == EM_SETSEL ? -1 : 0);
        return;
    }
    if (id >= commandId(Command::Generate) &&
        id < commandId(Command::Generate) + static_cast<UINT>(kCommandCount)) {
        const auto found = m_defs.find(target);
        const int box =
            found != m_defs.end() && found->second->role == Role::Box ? found->second->box : -1;
        trigger(static_cast<Command>(id - kCommandIdBase), box);
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

void Win32MainWindow::onDropFiles(HDROP drop) {
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
        m_form->filesDropped(files);
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
    switch (message) {
        case WM_SETFOCUS:
            m_lastFocus = control;
            scrollIntoView(control);
            break;
        case WM_LBUTTONDBLCLK:
            if (Form::isColourBox(box)) {
                PostMessageW(m_window, kPickColourMessage, static_cast<WPARAM>(box), 0);
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
            return SendMessageW(m_window, message, wParam, lParam);
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
            if (found != m_defs.end()) {
                SetTextColor(dc, colourRef(found->second->colour));
            }
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_CTLCOLOREDIT: {
            const auto found = m_defs.find(reinterpret_cast<HWND>(lParam));
            if (found != m_defs.end() && found->second->role == Role::Box) {
                const BoxPaint &paint = m_paints.at(static_cast<std::size_t>(found->second->box));
                if (paint.brush != nullptr) {
                    auto dc = reinterpret_cast<HDC>(wParam);
                    SetTextColor(dc, paint.text);
                    SetBkColor(dc, paint.background);
                    return reinterpret_cast<LRESULT>(paint.brush);
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
            onDropFiles(reinterpret_cast<HDROP>(wParam));
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
            if (m_tooltip == nullptr) {
                try {
                    createTooltips();
                } catch (const std::exception &) {
                    // The boxes' marks still show in their colours; only the tips are missing.
                }
            }
            return 0;
        case kPickColourMessage:
            trigger(Command::PickColour, static_cast<int>(wParam));
            return 0;
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
            onScroll(SB_HORZ, static_cast<int>(wParam));
            return 0;
        case WM_VSCROLL:
            onScroll(SB_VERT, static_cast<int>(wParam));
            return 0;
        case WM_MOUSEWHEEL: {
            const int line = scaledPx(kScrollLinePx, GetDpiForWindow(m_window));
            scrollTo(m_scroll.x,
                     m_scroll.y - MulDiv(GET_WHEEL_DELTA_WPARAM(wParam), 3 * line, WHEEL_DELTA));
            return 0;
        }
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
