#include "boxedits.h"

#include <commctrl.h>

#include <exception>
#include <utility>

#include "ui/win32/longvalues.h"
#include "ui/win32/win32text.h"

namespace velmora {

void BoxEdits::showText(int box, const std::u16string &text) {
    HWND edit = m_controls.box(box);
    if (edit == nullptr || m_keepingTexts) {
        return;
    }
    m_showingText = true;
    showValue(edit, text);
    m_showingText = false;
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
    m_form->textEdited(box, std::move(text));
    if (m_form->values().box(box).size() > kLargeValue) {
        showText(box, m_form->values().box(box));  // set whole, as a drop does
    }
}

void BoxEdits::replaceValue(int box, std::u16string value) {
    if (m_form) {
        m_form->textEdited(box, std::move(value));
        showText(box, m_form->values().box(box));
    }
}

std::optional<LRESULT> BoxEdits::handleMessage(HWND edit, int box, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    if (m_form) {
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
