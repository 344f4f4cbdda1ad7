#include "boxedits.h"

#include <commctrl.h>

#include <exception>
#include <utility>

#include "ui/win32/longvalues.h"
#include "ui/win32/win32text.h"

namespace velmora {

namespace {

constexpr WPARAM kCtrlZ = 0x1A;

}  // namespace

void BoxEdits::showText(int box, const std::u16string &text) {
    HWND edit = m_controls.box(box);
    if (edit == nullptr || m_keepingTexts) {
        return;
    }
    m_replaced.at(static_cast<std::size_t>(box)).reset();
    m_showingText = true;
    showValue(edit, text);
    m_showingText = false;
}

void BoxEdits::putText(int box, const std::u16string &text) {
    HWND edit = m_controls.box(box);
    if (edit == nullptr || !m_form) {
        return;
    }
    const std::u16string &current = m_form->values().box(box);
    if (current.size() > kLargeValue || text.size() > kLargeValue) {
        showReplacing(box, current, text);
        return;
    }
    m_replaced.at(static_cast<std::size_t>(box)).reset();
    m_showingText = true;
    // The control's own edit, which its undo takes back.
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wideString(text).c_str()));
    m_showingText = false;
}

void BoxEdits::showReplacing(int box, std::u16string replaced, const std::u16string &value) {
    HWND edit = m_controls.box(box);
    m_showingText = true;
    showValue(edit, value);  // which empties the control's own undo
    m_showingText = false;
    m_replaced.at(static_cast<std::size_t>(box)) = std::move(replaced);
    if (value.size() <= kLargeValue) {
        // Typing goes on after what replaced the value, as after any typing.
        const auto end = static_cast<LPARAM>(value.size());
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
    }
}

bool BoxEdits::undoReplacement(HWND edit, int box) {
    std::optional<std::u16string> &replaced = m_replaced.at(static_cast<std::size_t>(box));
    if (!replaced || DefSubclassProc(edit, EM_CANUNDO, 0, 0) != 0) {
        return false;
    }
    // As the control's own undo does, a second Ctrl+Z gives back what the first took away.
    replaceValue(box, *std::move(replaced));
    return true;
}

void BoxEdits::showLook(int box, const BoxLook &look) {
    HWND edit = m_controls.box(box);
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

void BoxEdits::createTooltips(HWND window, UINT dpi) {
    if (m_tooltips.created()) {
        return;
    }
    try {
        m_tooltips.create(window, m_controls.boxes(), m_controls.font(), dpi);
    } catch (const std::exception &) {
        // Only the tips are missing: the window works without them.
    }
}

void BoxEdits::edited(int box) {
    if (m_showingText || !m_form) {
        return;
    }
    HWND edit = m_controls.box(box);
    std::u16string text = windowText(edit);
    // Under wine the control also reports a change when only its selection changed (Ctrl+A):
    // a box showing its value shortened still shows it, and keeps the value whole.
    if (showsShortened(edit) && text == shortenedText(m_form->values().box(box))) {
        return;
    }
    if (text.size() > kLargeValue) {
        // Set whole, as a drop does: shown shortened, which the control's undo cannot take back.
        replaceValue(box, std::move(text));
        return;
    }
    m_form->textEdited(box, std::move(text));
}

void BoxEdits::replaceValue(int box, std::u16string value) {
    if (m_form) {
        std::u16string replaced = m_form->values().box(box);
        m_form->textEdited(box, value);
        showReplacing(box, std::move(replaced), value);
    }
}

std::optional<LRESULT> BoxEdits::handleMessage(HWND edit, int box, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    if (m_form) {
        const bool undo =
            message == WM_UNDO || message == EM_UNDO || (message == WM_CHAR && wParam == kCtrlZ);
        if (undo && undoReplacement(edit, box)) {
            return TRUE;
        }
        if (message == EM_CANUNDO && m_replaced.at(static_cast<std::size_t>(box))) {
            return TRUE;
        }
        LongValueEdit longEdit =
            editLongValue(edit, message, wParam, m_form->values().box(box), m_clipboard);
        if (longEdit.value) {
            replaceValue(box, std::move(*longEdit.value));
        }
        if (longEdit.handled) {
            return 0;
        }
    }
    if (message == WM_NCPAINT && m_painter.marked(box)) {
        const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
        m_painter.paintMark(edit);
        return result;
    }
    return std::nullopt;
}

}  // namespace velmora
