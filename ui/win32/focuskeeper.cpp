#include "focuskeeper.h"

namespace velmora {

bool FocusKeeper::onActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(m_window, focus)) {
            m_last = focus;
        }
        return false;
    }
    return HIWORD(wParam) == 0 && giveBack();
}

bool FocusKeeper::giveBack() {
    if (m_last != nullptr && IsWindow(m_last)) {
        SetFocus(m_last);
        return true;
    }
    return false;
}

}  // namespace velmora
