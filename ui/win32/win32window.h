#pragma once

// The Velmora window on the Win32 API, for the native Windows build.
//
// Built from the same window table as the Qt window (windowtable.h): the visible controls
// become native controls, placed at the system's DPI. The form (form.h) owns the values and does
// all the work; this class shows what the form tells it (FormView) and forwards the user's
// clicks, edits, menu entries, shortcuts and dropped files, each routed by the control's role.
// On a work area smaller than the window, the window shrinks to fit and scrolls its controls.

#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/screen.h"
#include "ui/form.h"
#include "ui/win32/accessibility.h"
#include "ui/win32/boxpainter.h"
#include "ui/win32/boxtooltips.h"
#include "ui/win32/contextmenu.h"
#include "ui/win32/scroller.h"
#include "ui/windowtable.h"

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
    void showLook(int box, const BoxLook &look) override;
    void schedulePreviewRefresh() override;

    void createControls(UINT dpi);
    void layout(UINT dpi);
    int boxOf(HWND control) const;
    void onCommand(int id, int code, HWND source);
    void trigger(Command command, int box = -1);
    // box: the box the files were dropped on, or -1 for the window elsewhere.
    void onDropFiles(HDROP drop, int box);
    void showContextMenu(HWND target, LPARAM where);
    void replaceValue(int box, std::u16string value);
    void closeForm();
    void release();

    std::unique_ptr<Form> m_form;
    Clipboard &m_clipboard;  // the form's, for a box's whole value when it shows it shortened
    const Screen &m_screen;
    Scroller m_scroller;
    BoxPainter m_painter;
    BoxTooltips m_tooltips;
    HWND m_window = nullptr;
    HWND m_lastFocus = nullptr;  // the control that gets the focus back on activation
    HFONT m_font = nullptr;
    HACCEL m_accelerators = nullptr;
    HWND m_frameCaption = nullptr;      // the frame's caption, drawn in its own colour
    bool m_showingText = false;         // the form is setting a box's text: no edit to report
    bool m_creatingWithValues = false;  // the boxes were made with the texts the form shows
    std::map<std::string, HWND> m_controls;
    std::map<HWND, const ControlDef *> m_defs;
    std::array<HWND, kBoxCount> m_boxes{};
    std::array<std::wstring, kBoxCount> m_descriptions;  // what a screen reader adds to each box
    ControlAccessibility m_accessibility;
};

}  // namespace velmora
