#pragma once

// The window's context menus and shortcuts: a box's menu has its own edit entries first, then the
// window's entries (kMenuEntries, the palettes' submenu and the whole-form undo), then the entries
// of that kind of box; the shortcuts of kMenuEntries are one accelerator table.

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
 * follow, then the palettes' submenu (kPaletteMenuText: each palette's name with its swatch,
 * drawn for target's dpi, then kPaletteFromColourEntry), then the whole-form undo, saying
 * undoText, greyed when there is none. The caller destroys it with destroyContextMenu.
 */
HMENU createContextMenu(HWND target, int box, const std::optional<std::u16string> &undoText);

/** Destroys a menu made by createContextMenu, with its submenus and their swatches. */
void destroyContextMenu(HMENU menu);

/** The index in builtInPalettes() of the palette whose entry has that id; nothing for others. */
std::optional<int> paletteOfMenuEntry(UINT id);

/**
 * Carries out a menu entry or shortcut with that id: an edit entry on target at once; a command
 * is returned for the caller to trigger. Nothing for an id of neither.
 */
std::optional<Command> runMenuEntry(UINT id, HWND target);

}  // namespace velmora
