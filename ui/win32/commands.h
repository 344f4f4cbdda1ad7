#pragma once

// What the user asks of the form through the window: a button's click, the shop link's, Enter on
// the focused button or link, a shortcut, a context menu's entry and a double click on a box each
// become one of the form's commands (form.h). Menus and commands added to the window go here.

#include <windows.h>

#include <memory>

#include "ui/form.h"
#include "ui/win32/controls.h"

namespace velmora {

/** The commands of one window's controls, carried out by its form. */
class WindowCommands final {
public:
    /**
     * Carries out commands on form (empty once the window closes it) for the controls of
     * controls; both are the window's and borrowed.
     */
    WindowCommands(const std::unique_ptr<Form> &form, const WindowControls &controls)
        : m_form(form), m_controls(controls) {}

    /** Has the form carry out command on box (-1: on none); nothing once it is closed. */
    void trigger(Command command, int box = -1);

    /**
     * A WM_COMMAND of id and notification code from source: Enter (IDOK) presses the focused
     * button or link, an id without source is a shortcut's or a menu's, a click presses its
     * button or the link. A box's notifications are no command and are left alone.
     */
    void onCommand(int id, int code, HWND source);

    /** A double click on box picks its colour, an image box's background as a colour box's text. */
    void onDoubleClick(int box);

    /**
     * The context menu for a right click on target: a box's gets its edit entries first. The
     * caller destroys it with destroyContextMenu; an entry's id goes to runMenuEntry.
     */
    HMENU createContextMenu(HWND target) const;

    /** Carries out the entry with that id of target's context menu, a palette's included. */
    void runMenuEntry(UINT id, HWND target);

    /**
     * Shows target's context menu, owned by window, at where (WM_CONTEXTMENU's point; -1, from
     * the keyboard: below target), and carries out the entry chosen.
     */
    void showContextMenu(HWND window, HWND target, LPARAM where);

private:
    const std::unique_ptr<Form> &m_form;
    const WindowControls &m_controls;
};

}  // namespace velmora
