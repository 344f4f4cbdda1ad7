#pragma once

// What the window's controls tell the system's accessibility (MSAA, and UI Automation through
// it), which screen readers read: each control's name, description and role.
//
// The window answers kAccessibleTextMessage for its controls. Where the system offers oleacc's
// annotation service (IAccPropServices), the controls keep the system's own accessible objects
// (UI Automation's richer ones for edit controls included) and the texts are set on them as
// annotations. Where it does not (wine stubs it), a control's WM_GETOBJECT is answered with the
// system's object for it, its name, description and role taken from the window. Nothing is
// loaded before a client first asks.

#include <windows.h>

#include <string>

namespace velmora {

/** What the system's accessibility says of a control beyond what it finds itself. */
struct AccessibleText {
    std::wstring name;
    std::wstring description;  ///< empty: none
    LONG role = 0;             ///< a ROLE_SYSTEM_ value; 0 keeps the control's own
};

/**
 * Sent to a control to learn its AccessibleText: lParam points to one to fill. A control of the
 * window answers TRUE; any other window, 0.
 */
inline constexpr UINT kAccessibleTextMessage = WM_APP + 3;

/** The accessibility of one window's controls. */
class ControlAccessibility final {
public:
    ControlAccessibility() = default;
    ~ControlAccessibility();

    ControlAccessibility(const ControlAccessibility &) = delete;
    ControlAccessibility &operator=(const ControlAccessibility &) = delete;

    /**
     * Handles WM_GETOBJECT sent to control, one of the window's controls. The first one sets up
     * the annotations of all the window's controls (its parent's children that answer
     * kAccessibleTextMessage). @return the message's result, or 0 to leave it to the control.
     */
    LRESULT getObject(HWND control, WPARAM wParam, LPARAM lParam);

    /** The control's texts changed: the annotations follow and the clients are told. */
    void textChanged(HWND control);

private:
    enum class Mode { Unasked, Annotating, Answering };

    void annotate(HWND control);

    Mode m_mode = Mode::Unasked;
    IUnknown *m_services = nullptr;  // the annotation service, while annotating
    bool m_comStarted = false;
};

}  // namespace velmora
