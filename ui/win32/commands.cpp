#include "commands.h"

#include <windowsx.h>

#include <optional>

#include "ui/win32/contextmenu.h"

namespace velmora {

namespace {

/** What Space or Enter does on a focused control: press a button or follow the shop link. */
std::optional<Command> pressCommand(Role role) {
    switch (role) {
        case Role::Generate:
            return Command::Generate;
        case Role::Clear:
            return Command::Clear;
        case Role::ShopLink:
            return Command::ShopLink;
        default:
            return std::nullopt;
    }
}

}  // namespace

void WindowCommands::trigger(Command command, int box) {
    if (m_form) {
        m_form->trigger(command, box);
    }
}

void WindowCommands::onCommand(int id, int code, HWND source) {
    if (id == IDOK) {
        // Enter, as the dialog manager reports it: press the focused button or link, if any.
        if (const ControlDef *focused = m_controls.def(GetFocus())) {
            if (const std::optional<Command> command = pressCommand(focused->role)) {
                trigger(*command);
            }
        }
        return;
    }
    if (source == nullptr) {  // a menu entry or a shortcut
        runMenuEntry(static_cast<UINT>(id), nullptr);
        return;
    }
    const ControlDef *def = m_controls.def(source);
    if (def == nullptr) {
        return;
    }
    switch (def->role) {
        case Role::Generate:
        case Role::Clear:
            if (code == BN_CLICKED) {
                trigger(*pressCommand(def->role));
            }
            break;
        case Role::ShopLink:
            if (code == STN_CLICKED) {
                trigger(Command::ShopLink);
            }
            break;
        case Role::Box:
        case Role::None:
            break;
    }
}

void WindowCommands::onDoubleClick(int box) { trigger(Command::PickColour, box); }

HMENU WindowCommands::createContextMenu(HWND target) const {
    return velmora::createContextMenu(target, m_controls.boxOf(target),
                                      m_form ? m_form->undoText() : std::nullopt);
}

void WindowCommands::runMenuEntry(UINT id, HWND target) {
    if (const std::optional<int> palette = paletteOfMenuEntry(id)) {
        if (m_form) {
            m_form->applyPalette(*palette);
        }
        return;
    }
    if (const std::optional<Command> command = velmora::runMenuEntry(id, target)) {
        trigger(*command, m_controls.boxOf(target));
    }
}

void WindowCommands::showContextMenu(HWND window, HWND target, LPARAM where) {
    POINT at{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    if (where == -1) {  // from the keyboard: below the control
        RECT r{};
        GetWindowRect(target, &r);
        at = {r.left, r.bottom};
    }
    HMENU menu = createContextMenu(target);
    const auto id = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr));
    destroyContextMenu(menu);
    if (id != 0) {
        runMenuEntry(id, target);
    }
}

}  // namespace velmora
