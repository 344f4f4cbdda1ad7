#pragma once

// The Velmora window on the Win32 API, for the native Windows build.
//
// Built from the same window table as the Qt window (windowtable.h): the visible controls
// become native controls, placed at the system's DPI. The form (form.h) owns the values and does
// all the work; this class shows what the form tells it (FormView) and forwards the user's
// clicks, edits, menu entries, shortcuts and dropped files, each routed by the control's role.
// On a work area smaller than the window, the window shrinks to fit and scrolls its controls.
//
// The window procedure and the focusable controls' subclass procedure are the one place where
// messages arrive; each goes on to the part that handles it: the controls and their layout
// (controls.h), the boxes (boxedits.h), what the user asks of the form (commands.h), the shop
// link (linklabel.h), dropped files (drops.h), the controls' colours (controlcolours.h),
// scrolling (scroller.h), the focus on activation (focuskeeper.h) and accessibility
// (accessibility.h).

#include <windows.h>

#include <memory>
#include <string>

#include "platform/screen.h"
#include "ui/form.h"
#include "ui/win32/accessibility.h"
#include "ui/win32/boxedits.h"
#include "ui/win32/commands.h"
#include "ui/win32/contextmenu.h"
#include "ui/win32/controls.h"
#include "ui/win32/focuskeeper.h"
#include "ui/win32/scroller.h"

namespace velmora {

/** The program's one window, as native Win32 controls. */
class Win32MainWindow final : private FormView {
public:
    /**
     * Creates the window, hidden, with its start values, sized to fit the screen's work area and
     * already in the place where it shows.
     * The platform services and the screen are borrowed and must outlive the window; shopUrl is
     * the address the shop link opens. Throws std::runtime_error when the system cannot create
     * it, leaving nothing behind.
     */
    Win32MainWindow(HINSTANCE instance, FormServices services, const Screen &screen,
                    std::string shopUrl);
    ~Win32MainWindow() override;

    Win32MainWindow(const Win32MainWindow &) = delete;
    Win32MainWindow &operator=(const Win32MainWindow &) = delete;

    /** The top-level window; nullptr once it is closed. */
    HWND handle() const { return m_window; }

    /** The native control for a table id ("Text4(1)"), or nullptr for a hidden control. */
    HWND control(const std::string &id) const;

    /** The form behind the window; nullptr once the window is closed (its preview is gone). */
    Form *form() { return m_form.get(); }

    /**
     * Shows the window, centred on the screen's work area, and puts the focus on Generate; the
     * boxes' tooltips are made once it has been painted.
     */
    void show(int showCommand);

    /**
     * Gives the window's shortcuts, then its keyboard handling (Tab, Enter), the first look at a
     * queued message. @return true when it was handled and must not be dispatched.
     */
    bool preTranslate(MSG &message);

    /**
     * The context menu the window shows for a right click on target: a box's gets its edit
     * entries first. The caller destroys it; an entry's id goes to runMenuEntry.
     */
    HMENU createContextMenu(HWND target) const;

    /** Carries out the entry with that id of target's context menu. */
    void runMenuEntry(UINT id, HWND target);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK controlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR self);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    void showText(int box, const std::u16string &text) override;
    void putText(int box, const std::u16string &text) override;
    void showLook(int box, const BoxLook &look) override;
    void schedulePreviewRefresh() override;
    // The wait cursor, until the work ends and the cursor shown before it comes back.
    void showBusy(bool busy) override;

    void layout(UINT dpi);
    void onCommand(WPARAM wParam, HWND source);
    // box: the box the files were dropped on, or -1 for the window elsewhere.
    void onDropFiles(HDROP drop, int box);
    void closeForm();
    void release();

    std::unique_ptr<Form> m_form;
    HCURSOR m_cursorBeforeBusy = nullptr;
    const Screen &m_screen;
    Scroller m_scroller;
    WindowControls m_controls;
    ControlAccessibility m_accessibility;
    BoxEdits m_boxes;
    WindowCommands m_commands;
    FocusKeeper m_focus;
    HWND m_window = nullptr;
    HACCEL m_accelerators = nullptr;
};

}  // namespace velmora
