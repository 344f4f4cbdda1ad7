#pragma once

// The window's controls, made from the window table (windowtable.h): each visible row becomes a
// native control, created once in its place at the system's DPI, in the window's font and with
// its start text, and moved and given a new font when the window goes to a monitor of another
// scale. Also finds a control's table row, the way every message handler routes by role.

#include <windows.h>

#include <array>
#include <map>
#include <string>

#include "core/generator.h"
#include "ui/windowtable.h"

namespace velmora {

/** A subclass procedure (commctrl.h's SUBCLASSPROC). */
using SubclassProc = LRESULT(CALLBACK *)(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

/** The native controls of one window, with the font they are drawn in. */
class WindowControls final {
public:
    WindowControls() = default;
    /** Deletes the font; the controls go with their window. */
    ~WindowControls();

    WindowControls(const WindowControls &) = delete;
    WindowControls &operator=(const WindowControls &) = delete;

    /**
     * Makes the table's visible controls as children of window, in the window's font at dpi,
     * each in its place with its start text from values, in the order that makes Tab walk them
     * in the table's tab order. Each control that takes the focus is subclassed with proc, given
     * data. Throws std::runtime_error when the system cannot make one; what was made goes with
     * the window.
     */
    void create(HWND window, UINT dpi, const StyleValues &values, SubclassProc proc,
                DWORD_PTR data);

    /** Puts every control in its place at dpi, in a new font made for dpi. */
    void layout(UINT dpi);

    /** The font the controls are drawn in. */
    HFONT font() const { return m_font; }

    /** The control for a table id ("Text4(1)"), or nullptr for a hidden control. */
    HWND control(const std::string &id) const;

    /** The table row that control shows, or nullptr for a window that is none of them. */
    const ControlDef *def(HWND control) const;

    /** The box that control is, or -1 for any other control. */
    int boxOf(HWND control) const;

    /** The control of box, or nullptr where the box is not shown. */
    HWND box(int box) const { return m_boxes.at(static_cast<std::size_t>(box)); }

    /** Every box's control, nullptr where a box is not shown. */
    const std::array<HWND, kBoxCount> &boxes() const { return m_boxes; }

    /** The control of the table's row with role (a button's, the link's), or nullptr. */
    HWND withRole(Role role) const;

private:
    HWND m_window = nullptr;
    HFONT m_font = nullptr;
    HWND m_frameCaption = nullptr;  // the frame's caption, drawn in its own colour
    std::map<std::string, HWND> m_controls;
    std::map<HWND, const ControlDef *> m_defs;
    std::array<HWND, kBoxCount> m_boxes{};
};

}  // namespace velmora
