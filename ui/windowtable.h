#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/screen.h"

namespace velmora {

/** The kinds of control the window is made of. */
enum class ControlKind {
    Frame,             ///< a captioned group box
    Label,             ///< static text
    TextBox,           ///< a single-line text box
    MultiLineTextBox,  ///< a multi-line text box with both scroll bars
    Button,
};

/** What a control does in the window; events are routed by it. */
enum class Role {
    None,      ///< only shows its text (frames, prompts, hidden holders of built-in texts)
    Box,       ///< a slot box or image box; ControlDef::box says which
    Generate,  ///< the Generate button
    Clear,     ///< the Clear button
    ShopLink,  ///< the link to the maker's shop
};

enum class TextColour { Normal, Blue, Red };
enum class TextAlign { Left, Right };

/** One control of the window, as every toolkit layer builds it. */
struct ControlDef {
    ControlKind kind;
    std::string_view name;         ///< Text4, Label6, Command2, ...
    int index;                     ///< index in its control array, or -1 when not in one
    std::string_view container;    ///< the frame it sits in, or empty for the window itself
    int left, top, width, height;  ///< twips, from the top left of its container's client area
    int tabIndex;
    bool visible;
    std::u16string_view text;  ///< caption, or start text of a text box
    TextColour colour;
    TextAlign align;
    Role role = Role::None;
    /// for Role::Box, the box number (as StyleValues::box); for a box's prompt, the box it names
    int box = -1;
};

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kClientWidthTwips = 10980;
inline constexpr int kClientHeightTwips = 6615;
inline constexpr std::u16string_view kWindowCaption = u"Velmora";

/** Pixels at 96 dpi for a length in twips. */
constexpr int pixels(int twips) { return twips / kTwipsPerPixel; }

/** Every control of the window: the visible ones first, top to bottom, then the hidden ones. */
std::span<const ControlDef> windowControls();

/** The control's name as the code refers to it: "Text4(1)", or "Command2" outside an array. */
std::string controlId(const ControlDef &control);

/** The control with that id; throws std::out_of_range when there is none. */
const ControlDef &controlById(std::string_view id);

/** The control that shows the box with that number (visible or not). */
const ControlDef &controlOfBox(int box);

/** Whether the control takes the keyboard focus: a text box, a button or the shop link. */
bool takesFocus(const ControlDef &control);

/**
 * The visible controls that take the keyboard focus, in the order Tab walks them: ascending tab
 * index.
 */
std::vector<const ControlDef *> tabOrder();

/** The visible label that shows a box's prompt, or nullptr when the box has none. */
const ControlDef *promptOf(const ControlDef &box);

/**
 * What a screen reader announces a control by: a box's prompt as its label shows it (without the
 * colon at its end), the caption of a button or of the shop link; empty for anything else, and
 * for a box without a prompt.
 */
std::u16string_view accessibleName(const ControlDef &control);

/** A position in device-independent pixels. */
struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point &) const = default;
};

/**
 * Where the window's outer top-left corner goes: centred on the screen, except that it is kept
 * inside the screen's available area, so that the title bar stays reachable on a screen smaller
 * than the window.
 */
Point centredTopLeft(const Rect &screen, const Rect &available, int outerWidth, int outerHeight);

}  // namespace velmora
