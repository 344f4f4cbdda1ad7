#pragma once

// What the shop owner can ask of the window besides typing, and where the window's menus offer it.

#include <array>
#include <string_view>

namespace velmora {

/** What the user can ask of the window besides its buttons. */
enum class Command {
    Generate,
    Clear,
    ShopLink,
    Preview,     ///< show the bar in the browser, following later changes
    OpenValues,  ///< load a values file chosen in the system's dialog
    SaveValues,  ///< save every value to a file chosen in the system's dialog
    PickColour,  ///< choose a box's colour in the system's dialog (an image box's background)
    Import,      ///< read the navigation code on the clipboard back into the boxes
    MakeImage,   ///< make an image box's background from a colour, saved as a PNG
    UndoWhole,   ///< take back the last change of the whole form (Clear, import, a file, a palette)
    PaletteFromColour,  ///< fill the form with the look derived from a colour chosen in the dialog
};

/** How many commands there are: Command values run from 0 to kCommandCount - 1. */
inline constexpr int kCommandCount = static_cast<int>(Command::PaletteFromColour) + 1;

/** An entry of the window's menus, with its shortcut. */
struct MenuEntry {
    Command command;
    std::u16string_view text;  ///< the menu text
    std::string_view keys;     ///< the shortcut, as "F5" or "Ctrl+S"; empty for none
};

/** The entries of the window's context menu and of each box's menu, below its own entries. */
inline constexpr std::array<MenuEntry, 4> kMenuEntries{{
    {Command::Preview, u"预览", "F5"},
    {Command::Import, u"导入代码", "Ctrl+I"},
    {Command::OpenValues, u"打开方案…", "Ctrl+O"},
    {Command::SaveValues, u"保存方案…", "Ctrl+S"},
}};

/** The entry that every box's menu has besides, also reached by a double click. */
inline constexpr MenuEntry kPickColourEntry{Command::PickColour, u"选择颜色…", ""};

/**
 * The entry of the window's own context menu that takes back the last change of the whole form;
 * its text is Form::undoText(). Ctrl+Alt+Z, since Ctrl+Z and Alt+Backspace undo typing in a box
 * and Ctrl+Shift+Z redoes it there.
 */
inline constexpr MenuEntry kUndoWholeEntry{Command::UndoWhole, u"撤销整体修改", "Ctrl+Alt+Z"};

/**
 * The submenu of the window's context menu (and of each box's, below the window's entries) that
 * lists the built-in palettes by name, each with a swatch, then kPaletteFromColourEntry.
 */
inline constexpr std::u16string_view kPaletteMenuText = u"配色方案";

/** The last entry of the palettes' submenu: a whole look derived from one colour. */
inline constexpr MenuEntry kPaletteFromColourEntry{Command::PaletteFromColour, u"按主色生成…", ""};

/** The last entry of image boxes' menus. */
inline constexpr MenuEntry kMakeImageEntry{Command::MakeImage, u"制作背景图…", ""};

}  // namespace velmora
