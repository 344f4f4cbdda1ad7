#include "scroller.h"

#include <algorithm>

#include "platform/win32/dpi.h"
#include "ui/win32/win32text.h"
#include "ui/windowtable.h"

namespace velmora {

namespace {

constexpr int kScrollLinePx = 16;

}  // namespace

WindowFit Scroller::fit(DWORD style, UINT dpi) {
    m_content = {scaled(kClientWidthTwips, dpi), scaled(kClientHeightTwips, dpi)};
    m_scroll = {};
    RECT frame{};
    adjustWindowRectForDpi(frame, style & ~(WS_HSCROLL | WS_VSCROLL), m_exStyle, dpi);
    return fitToWorkArea(
        m_content, {frame.right - frame.left, frame.bottom - frame.top},
        {systemMetricForDpi(SM_CXVSCROLL, dpi), systemMetricForDpi(SM_CYHSCROLL, dpi)},
        m_screen.availableGeometry());
}

void Scroller::showBars(const WindowFit &fit) {
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

void Scroller::scrollTo(int x, int y) {
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

void Scroller::onScroll(int bar, WPARAM request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(m_window, bar, &info);
    const int line = scaledPx(kScrollLinePx, windowDpi(m_window));
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

void Scroller::onWheel(int delta) {
    const int line = scaledPx(kScrollLinePx, windowDpi(m_window));
    scrollTo(m_scroll.x, m_scroll.y - MulDiv(delta, 3 * line, WHEEL_DELTA));
}

void Scroller::scrollIntoView(HWND control) {
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

}  // namespace velmora
