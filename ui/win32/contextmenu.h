#pragma once

// The window's context menus and shortcuts: a box's menu has its own edit entries first, then the
// window's entries (kMenuEntries), then the entries of that kind of box; the shortcuts of
// kMenuEntries are one accelerator table.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "ui/form.h"

namespace velmora {

/**
 * The accelerator for a shortcut written as in kMenuEntries ("F5", "Ctrl+O", "Ctrl+Shift+S"),
 * sending command; nothing for text that names no key.
 */
std::optional<ACCEL> acceleratorFor(std::string_view keys, WORD command);

/**
 * The accelerator table of kMenuEntries' shortcuts and kUndoWholeEntry's, each sending its entry's
 * menu id; the caller destroys it. Throws std::runtime_error when the system cannot make it.
 */
HACCEL createShortcuts();

/**
 * The context menu for a right click on target, which shows box (-1: not a box): a box's gets
 * its edit entries first, enabled as target's text and selection allow; the window's entries
 * follow, the whole-form undo last among them, saying undoText, greyed when there is none. The
 * caller destroys it.
 */
HMENU createContextMenu(HWND target, int box, const std::optional<std::u16string> &undoText);

/**
 * Carries out a menu entry or shortcut with that id: an edit entry on target at once; a command
 * is returned for the caller to trigger. Nothing for an id of neither.
 */
std::optional<Command> runMenuEntry(UINT id, HWND target);

}  // namespace velmora
