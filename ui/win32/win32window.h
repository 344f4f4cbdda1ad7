#pragma once

// The Velmora window on the Win32 API, for the native Windows build.
//
// Built from the same window table as the Qt window (windowtable.h): the visible controls
// become native controls, placed at the system's DPI; the hidden slot boxes, the template and
// the output are plain values here. Clicks go to the same WindowCommands as on Linux, and
// WindowCommands::run() is the one place that reports an unexpected failure.

#include <windows.h>

#include <array>
#include <map>
#include <string>

#include "core/generator.h"
#include "platform/screen.h"
#include "ui/windowcommands.h"
#include "ui/windowtable.h"

namespace velmora {

/** The program's one window, as native Win32 controls. */
class Win32MainWindow final {
public:
    /**
     * Creates the window, hidden, with its start values. The platform services are borrowed
     * and must outlive the window; shopUrl is the address the shop link opens.
     */
    Win32MainWindow(HINSTANCE instance, Clipboard &clipboard, MessageBoxes &messages,
                    UrlOpener &urlOpener, const Screen &screen, std::string shopUrl);
    ~Win32MainWindow();

    Win32MainWindow(const Win32MainWindow &) = delete;
    Win32MainWindow &operator=(const Win32MainWindow &) = delete;

    /** The top-level window. */
    HWND handle() const { return m_window; }

    /** The native control for a table id ("Text4(1)"), or nullptr for a hidden control. */
    HWND control(const std::string &id) const;

    /** What every box holds now, the hidden ones included. */
    StyleValues values() const;

    /** Centres the window on the screen, shows it and puts the focus on Generate. */
    void show(int showCommand);

    /** Gives the window's keyboard handling (Tab, Enter) the first look at a queued message.
     *  @return true when it was handled and must not be dispatched. */
    bool preTranslate(MSG &message);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void createControls();
    void layout(UINT dpi);
    void onCommand(int id, int code);
    void pressButton(HWND button);
    void showValues(const StyleValues &values);

    WindowCommands m_commands;
    const Screen &m_screen;
    HWND m_window = nullptr;
    HFONT m_font = nullptr;
    HWND m_frameCaption = nullptr;  // the frame's caption, drawn in its own colour
    StyleValues m_values;           // every slot; the visible ones are refreshed from their boxes
    std::u16string m_output;
    std::map<std::string, HWND> m_controls;
    std::map<HWND, const ControlDef *> m_defs;
    std::array<HWND, kSlotCount> m_slotBoxes{};
    std::array<HWND, kImageBoxCount> m_imageBoxes{};
};

}  // namespace velmora
