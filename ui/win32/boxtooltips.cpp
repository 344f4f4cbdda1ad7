#include "boxtooltips.h"

#include <commctrl.h>

#include <stdexcept>

#include "ui/win32/win32text.h"

namespace velmora {

namespace {

constexpr int kTooltipWidthPx = 360;

TOOLINFOW toolFor(HWND window, HWND box) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(box);
    return tool;
}

}  // namespace

void BoxTooltips::setTip(int box, HWND edit, std::u16string_view text) {
    std::wstring &tip = m_tips.at(static_cast<std::size_t>(box));
    tip = wideString(text);
    if (m_tooltip != nullptr) {
        TOOLINFOW tool = toolFor(m_window, edit);
        tool.lpszText = tip.data();
        SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void BoxTooltips::create(HWND window, const std::array<HWND, kBoxCount> &boxes, HFONT font,
                         UINT dpi) {
    m_window = window;
    m_tooltip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, nullptr, nullptr);
    if (m_tooltip == nullptr) {
        throw std::runtime_error("cannot create the tooltips");
    }
    for (std::size_t box = 0; box < boxes.size(); ++box) {
        if (boxes[box] != nullptr) {
            TOOLINFOW tool = toolFor(window, boxes[box]);
            tool.lpszText = m_tips[box].data();
            SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    restyle(font, dpi);
}

void BoxTooltips::restyle(HFONT font, UINT dpi) {
    if (m_tooltip == nullptr) {
        return;
    }
    SendMessageW(m_tooltip, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, scaledPx(kTooltipWidthPx, dpi));
}

}  // namespace velmora
