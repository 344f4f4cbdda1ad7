#include "contextmenu.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/palettes.h"
#include "platform/win32/dpi.h"
#include "ui/win32/swatchbitmap.h"
#include "ui/win32/win32text.h"

namespace velmora {

namespace {

// Menu entry ids, apart from the controls' ids and IDOK.
constexpr UINT kCommandIdBase = 0x1000;
constexpr UINT kEditIdBase = 0x2000;
constexpr UINT kPaletteIdBase = 0x3000;  // + the palette's index in builtInPalettes()

/** A box's own edit entries, as the system's edit menu has them. */
struct EditEntry {
    std::u16string_view text;  // empty: a separator
    UINT message;
};

constexpr std::array<EditEntry, 8> kEditEntries{{
    {u"撤销", WM_UNDO},
    {u"", 0},
    {u"剪切", WM_CUT},
    {u"复制", WM_COPY},
    {u"粘贴", WM_PASTE},
    {u"删除", WM_CLEAR},
    {u"", 0},
    {u"全选", EM_SETSEL},
}};

UINT commandId(Command command) { return kCommandIdBase + static_cast<UINT>(command); }

/** The menu text of an entry: its text, then its shortcut after a tab. */
std::wstring menuText(const MenuEntry &entry) {
    std::wstring text = wideString(entry.text);
    if (!entry.keys.empty()) {
        text += L'\t';
        text.append(entry.keys.begin(), entry.keys.end());
    }
    return text;
}

void appendEditEntries(HMENU menu, HWND target) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(target, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    // A box showing its value shortened is read-only: its entries act on the whole value.
    const bool shortened = (GetWindowLongW(target, GWL_STYLE) & ES_READONLY) != 0;
    const bool selection = start != end || shortened;
    const auto length = static_cast<DWORD>(GetWindowTextLengthW(target));
    for (std::size_t i = 0; i < kEditEntries.size(); ++i) {
        const EditEntry &entry = kEditEntries[i];
        if (entry.text.empty()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        bool enabled = true;
        switch (entry.message) {
            case WM_UNDO:
                // A box answers for a value it gives back whole, shortened or not.
                enabled = SendMessageW(target, EM_CANUNDO, 0, 0) != 0;
                break;
            case WM_CUT:
            case WM_COPY:
            case WM_CLEAR:
                enabled = selection;
                break;
            case WM_PASTE:
                enabled = IsClipboardFormatAvailable(CF_UNICODETEXT) != 0;
                break;
            case EM_SETSEL:
                enabled = start != 0 || end != length;
                break;
            default:
                break;
        }
        AppendMenuW(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED),
                    kEditIdBase + static_cast<UINT>(i), wide(entry.text));
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
}

void setSwatch(HMENU menu, UINT id, const Palette *palette, UINT dpi) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_BITMAP;
    item.hbmpItem = createSwatchBitmap(palette, dpi);
    SetMenuItemInfoW(menu, id, FALSE, &item);
}

/** The palettes' submenu: each palette's name with its swatch, then kPaletteFromColourEntry. */
void appendPaletteMenu(HMENU menu, UINT dpi) {
    HMENU palettes = CreatePopupMenu();
    const std::span<const Palette> all = builtInPalettes();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const UINT id = kPaletteIdBase + static_cast<UINT>(i);
        AppendMenuW(palettes, MF_STRING, id, wideString(all[i].name).c_str());
        setSwatch(palettes, id, &all[i], dpi);
    }
    AppendMenuW(palettes, MF_SEPARATOR, 0, nullptr);
    const UINT fromColour = commandId(kPaletteFromColourEntry.command);
    AppendMenuW(palettes, MF_STRING, fromColour, menuText(kPaletteFromColourEntry).c_str());
    // A swatch here too: wine's menus lay an entry without one out too narrow for its name.
    setSwatch(palettes, fromColour, nullptr, dpi);
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(palettes),
                wideString(kPaletteMenuText).c_str());
}

/** The bitmaps of menu's entries and of its submenus' entries. */
void collectBitmaps(HMENU menu, std::vector<HBITMAP> &bitmaps) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_BITMAP | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item)) {
            continue;
        }
        if (item.hSubMenu != nullptr) {
            collectBitmaps(item.hSubMenu, bitmaps);
        }
        if (item.hbmpItem != nullptr) {
            bitmaps.push_back(item.hbmpItem);
        }
    }
}

}  // namespace

std::optional<ACCEL> acceleratorFor(std::string_view keys, WORD command) {
    ACCEL accel{FVIRTKEY, 0, command};
    for (std::size_t plus = keys.find('+'); plus != std::string_view::npos; plus = keys.find('+')) {
        const std::string_view modifier = keys.substr(0, plus);
        if (modifier == "Ctrl") {
            accel.fVirt |= FCONTROL;
        } else if (modifier == "Shift") {
            accel.fVirt |= FSHIFT;
        } else if (modifier == "Alt") {
            accel.fVirt |= FALT;
        } else {
            return std::nullopt;
        }
        keys.remove_prefix(plus + 1);
    }
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (keys.size() == 1 && std::isalnum(static_cast<unsigned char>(keys[0]))) {
        accel.key = static_cast<WORD>(std::toupper(static_cast<unsigned char>(keys[0])));
        return accel;
    }
    if (keys.size() >= 2 && keys.size() <= 3 && keys[0] == 'F' &&
        std::all_of(keys.begin() + 1, keys.end(), isDigit)) {
        int number = 0;
        for (char digit : keys.substr(1)) {
            number = number * 10 + (digit - '0');
        }
        if (number >= 1 && number <= 24) {
            accel.key = static_cast<WORD>(VK_F1 + number - 1);
            return accel;
        }
    }
    return std::nullopt;
}

HACCEL createShortcuts() {
    std::vector<ACCEL> table;
    std::vector<MenuEntry> entries(kMenuEntries.begin(), kMenuEntries.end());
    entries.push_back(kUndoWholeEntry);
    for (const MenuEntry &entry : entries) {
        if (entry.keys.empty()) {
            continue;
        }
        const std::optional<ACCEL> accel =
            acceleratorFor(entry.keys, static_cast<WORD>(commandId(entry.command)));
        if (!accel) {
            throw std::logic_error("no key for the shortcut " + std::string(entry.keys));
        }
        table.push_back(*accel);
    }
    HACCEL shortcuts = CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
    if (shortcuts == nullptr) {
        throw std::runtime_error("cannot create the shortcuts");
    }
    return shortcuts;
}

HMENU createContextMenu(HWND target, int box, const std::optional<std::u16string> &undoText) {
    HMENU menu = CreatePopupMenu();
    if (box >= 0) {
        appendEditEntries(menu, target);
    }
    for (const MenuEntry &entry : kMenuEntries) {
        AppendMenuW(menu, MF_STRING, commandId(entry.command), menuText(entry).c_str());
    }
    appendPaletteMenu(menu, windowDpi(target));
    MenuEntry undo = kUndoWholeEntry;
    if (undoText) {
        undo.text = *undoText;
    }
    AppendMenuW(menu, MF_STRING | (undoText ? MF_ENABLED : MF_GRAYED), commandId(undo.command),
                menuText(undo).c_str());
    if (Form::isColourBox(box) || Form::takesImage(box)) {
        AppendMenuW(menu, MF_STRING, commandId(kPickColourEntry.command),
                    menuText(kPickColourEntry).c_str());
    }
    if (Form::takesImage(box)) {
        AppendMenuW(menu, MF_STRING, commandId(kMakeImageEntry.command),
                    menuText(kMakeImageEntry).c_str());
    }
    return menu;
}

void destroyContextMenu(HMENU menu) {
    std::vector<HBITMAP> bitmaps;
    collectBitmaps(menu, bitmaps);
    DestroyMenu(menu);
    for (HBITMAP bitmap : bitmaps) {
        DeleteObject(bitmap);
    }
}

std::optional<int> paletteOfMenuEntry(UINT id) {
    if (id >= kPaletteIdBase && id < kPaletteIdBase + builtInPalettes().size()) {
        return static_cast<int>(id - kPaletteIdBase);
    }
    return std::nullopt;
}

std::optional<Command> runMenuEntry(UINT id, HWND target) {
    if (id >= kEditIdBase && id < kEditIdBase + kEditEntries.size()) {
        const UINT message = kEditEntries[id - kEditIdBase].message;
        SendMessageW(target, message, 0, message == EM_SETSEL ? -1 : 0);
        return std::nullopt;
    }
    if (id >= commandId(Command::Generate) &&
        id < commandId(Command::Generate) + static_cast<UINT>(kCommandCount)) {
        return static_cast<Command>(id - kCommandIdBase);
    }
    return std::nullopt;
}

}  // namespace velmora
