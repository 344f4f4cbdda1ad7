#pragma once

// The boxes as the form shows them and as the user edits them: the texts and looks the form
// sets (its colours, mark, tooltip and what a screen reader adds), the edits the user makes
// reported back, and a long value edited whole in place of its control (longvalues.h).
//
// Ctrl+Z takes back every edit of a box. The edit control's own undo holds what it edits itself
// and what the form puts in for the owner; a replacement it cannot hold (a long value typed,
// pasted or deleted over) is kept here, whole, and taken back while the control has nothing of
// its own to take back.

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "platform/clipboard.h"
#include "ui/form.h"
#include "ui/win32/accessibility.h"
#include "ui/win32/boxpainter.h"
#include "ui/win32/boxtooltips.h"
#include "ui/win32/controls.h"

namespace velmora {

/** The boxes of one window, between its controls and its form. */
class BoxEdits final {
public:
    /**
     * The boxes of controls, whose values form (empty once the window closes it) keeps; clipboard
     * is the form's, accessibility the window's controls'. All borrowed.
     */
    BoxEdits(const std::unique_ptr<Form> &form, const WindowControls &controls,
             Clipboard &clipboard, ControlAccessibility &accessibility)
        : m_form(form),
          m_controls(controls),
          m_clipboard(clipboard),
          m_accessibility(accessibility) {}

    /**
     * While keep is true the boxes already show the texts the form sets (they were made with its
     * start values), and showText leaves them alone.
     */
    void keepTexts(bool keep) { m_keepingTexts = keep; }

    /**
     * Shows text in box, shortened where it is long, with nothing to take back and without
     * reporting it as an edit.
     */
    void showText(int box, const std::u16string &text);

    /**
     * Puts text in box for the owner (a picked colour, a made or dropped image) as an edit that
     * Ctrl+Z takes back; the form takes it from the form's own call.
     */
    void putText(int box, const std::u16string &text);

    /** Shows box's look: its colours and mark, its tooltip and its accessible description. */
    void showLook(int box, const BoxLook &look);

    /** The user changed box's text (EN_CHANGE): the form takes it. */
    void edited(int box);

    /**
     * The boxes' handling of message to box's control, before the control's own: edits of a long
     * value made whole in the form, Ctrl+Z (WM_UNDO, EM_UNDO) giving back a value replaced whole,
     * and the mark drawn over a marked box's border. Nothing for every other message.
     */
    std::optional<LRESULT> handleMessage(HWND edit, int box, UINT message, WPARAM wParam,
                                         LPARAM lParam);

    /** What a screen reader adds to box: why it is marked, or empty. */
    const std::wstring &description(int box) const {
        return m_descriptions.at(static_cast<std::size_t>(box));
    }

    /** The boxes' colours, for WM_CTLCOLOREDIT and WM_CTLCOLORSTATIC. */
    const BoxPainter &painter() const { return m_painter; }

    /**
     * Makes the boxes' tooltips, as children of window at dpi, unless they are made; where the
     * system cannot make them the boxes go without (their marks still show in their colours).
     */
    void createTooltips(HWND window, UINT dpi);

    /** Gives the tooltips the controls' font and width at dpi, once they are made. */
    void restyleTooltips(UINT dpi) { m_tooltips.restyle(m_controls.font(), dpi); }

    /** Forgets the boxes' colours: every box has the system's again. */
    void clearLooks() { m_painter.clear(); }

private:
    /** The user replaced box's value whole with value: the one replaced is kept for Ctrl+Z. */
    void replaceValue(int box, std::u16string value);
    /** Shows value in box, the value replaced kept for Ctrl+Z, the caret after a short one. */
    void showReplacing(int box, std::u16string replaced, const std::u16string &value);
    /** Gives back box's value replaced whole, if the control has no undo of its own. */
    bool undoReplacement(HWND edit, int box);

    const std::unique_ptr<Form> &m_form;
    const WindowControls &m_controls;
    Clipboard &m_clipboard;  // for a box's whole value when it shows it shortened
    ControlAccessibility &m_accessibility;
    BoxPainter m_painter;
    BoxTooltips m_tooltips;
    std::array<std::wstring, kBoxCount> m_descriptions;
    std::array<std::optional<std::u16string>, kBoxCount> m_replaced;  // for Ctrl+Z, per box
    bool m_showingText = false;   // the form is setting a box's text: no edit to report
    bool m_keepingTexts = false;  // the boxes were made with the texts the form shows
};

}  // namespace velmora
