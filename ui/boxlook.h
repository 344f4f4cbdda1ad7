#pragma once

// How a box shows what its value is worth: the colour it names, a red frame and the reason when
// the shop editor would not take it as meant, and what a screen reader says of it.

#include <optional>
#include <string>

#include "core/generator.h"
#include "core/valuecheck.h"

namespace velmora {

/** How a box looks beyond its text. */
struct BoxLook {
    std::optional<Rgb> background;  ///< nothing: the toolkit's own
    Rgb text;                       ///< the text's colour, where background is set
    std::u16string tooltip;         ///< empty: none
    /// what a screen reader says after the box's name and text: why it is marked, the colour it
    /// shows, or how to choose one
    std::u16string description;
    /// The value looks wrong: the box gets a red frame, a sign that no colour in it can imitate.
    bool marked = false;

    bool operator==(const BoxLook &) const = default;
};

/**
 * The light red of a marked box whose value names no colour; a marked colour box that names
 * one shows that colour.
 */
inline constexpr Rgb kMarkerColour{255, 214, 214};

/**
 * The frame of a marked box, drawn outside the part its background colours: a band kMarkWidth
 * pixels wide of this red, broken every kMarkDash pixels by as long a dash of kMarkDashColour,
 * so that it shows on whatever colour the box shows, its own red and white included.
 */
inline constexpr Rgb kMarkFrameColour{220, 0, 0};
inline constexpr Rgb kMarkDashColour{255, 255, 255};
inline constexpr int kMarkWidth = 2;
inline constexpr int kMarkDash = 4;

/** The colour a box's value names, spaces and tabs around it allowed; nothing for no colour. */
std::optional<Rgb> shownColour(std::u16string_view value);

/**
 * The look of the box with that number (as StyleValues::box) for the values: marked with the
 * reasons of checkValue, then those of lowContrasts (each text colour that reads poorly, with its
 * background and the ratio), one a line, in tooltip and description. A pair is told in the box of
 * its text colour, or where that is a hidden slot, in its background's; a hidden slot's colour is
 * named with its number. A box shows the colour it names (an image box only as it stands, the
 * way the style sheet writes it; a translucent colour as it looks over white), with black or
 * white text, whichever reads better on it, and says which in its description (an image box in
 * its tooltip too), with a translucent colour's opacity. A box's look so depends on the values
 * of the boxes it is paired with too (kContrastPairs).
 */
BoxLook boxLook(int box, const StyleValues &values);

/**
 * As boxLook(box, values), for the box holding value, with its text colour judged against
 * judged, which holds contrastValue(v) of each value v (a form keeps it as the values change),
 * so that a long value in another box costs nothing here.
 */
BoxLook boxLook(int box, const std::u16string &value, const StyleValues &judged);

/**
 * What the contrast judgement reads of a value: the value itself, but in place of a value
 * longer than kLargeValue that names no colour, its shortened text, which names none either.
 */
std::u16string contrastValue(const std::u16string &value);

}  // namespace velmora
