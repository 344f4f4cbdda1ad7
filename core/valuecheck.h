#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/generator.h"

namespace velmora {

/**
 * What the shop editor keeps of a style sheet, as far as the values go: colours in the forms its
 * style filter lets through, and background images only from the marketplace's own hosts.
 * Shared by the window's markers and velmora-css --check.
 */

/** The colour names the shop editor keeps (CSS 2.1's sixteen and orange), lower case. */
inline constexpr std::array<std::string_view, 17> kKeptColourNames = {
    "black", "silver", "gray",   "white", "maroon", "red",  "purple", "fuchsia", "green",
    "lime",  "olive",  "yellow", "navy",  "blue",   "teal", "aqua",   "orange"};

/** The marketplace's image hosts: an image's host must be one of these or end in "." and one. */
inline constexpr std::array<std::string_view, 5> kImageHosts = {
    "alicdn.com", "taobaocdn.com", "taobao.com", "tbcdn.cn", "tmall.com"};

/** Something about a value that the shop editor will not take as meant. */
enum class Problem {
    Spaces,             ///< spaces or line breaks at its start or end
    SpacedColour,       ///< an image box's colour with spaces around it: written as an address
    NotAColour,         ///< a colour box holding no colour
    DroppedColourName,  ///< a CSS colour name the shop editor drops
    NotAnAddress,       ///< an image box holding neither a colour nor an http(s):// address
    NotHttps,           ///< an http:// address, which the https shop page may not show
    ForeignHost,        ///< an image not on the marketplace's hosts, which the editor drops
    BreaksUrl,          ///< a ")", quote, space or line break inside the address ends url() early
    LocalFile,          ///< a file: address, an image still on this computer, not yet uploaded
    EndsComment,        ///< slot 1's "*/", which ends line 1's comment early, dropping a rule
};

/** A colour as red, green and blue. */
struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Rgb &) const = default;
};

/** A colour with its opacity: alpha 0 is transparent, 255 opaque. */
struct Rgba {
    std::uint8_t red = 0, green = 0, blue = 0, alpha = 255;
    bool operator==(const Rgba &) const = default;
};

/**
 * The colour a value names, if it is one the shop editor keeps: "#rgb", "#rrggbb",
 * "rgb(r, g, b)" or "rgba(r, g, b, a)" or one of kKeptColourNames, in any case. The functions
 * follow CSS's comma syntax as browsers read it: r, g and b all numbers 0 to 255 or all
 * percentages, numbers as CSS writes them ("+.5", "1e2", never "5."), spaces around each; a
 * value a browser would clamp is refused. No spaces around the whole value; the alpha of rgba()
 * is not part of the result.
 */
std::optional<Rgb> parseColour(std::u16string_view value);

/**
 * As parseColour, with the alpha of rgba() (a number 0 to 1 or a percentage) rounded to 0 to
 * 255; every other form is opaque. Channels and alpha are rounded halves up, as browsers do,
 * except that alpha is 255 only when it is exactly 1 (or 100%) as written: "0.999" gives 254.
 */
std::optional<Rgba> parseColourWithAlpha(std::u16string_view value);

/** The colour as "#RRGGBB", upper case, as the window's start values are written. */
std::u16string hexColour(Rgb colour);

/**
 * The problems of one value, in the order of Problem; empty when it looks right. An empty
 * value is always right: the bar keeps its own look there. A colour is right in every box. An
 * image box's colour with spaces around it is SpacedColour rather than Spaces: the style sheet
 * takes it as an address, in url(), and shows no colour.
 * @param image whether the box takes an image address (or a colour) rather than a colour.
 */
std::vector<Problem> checkValue(bool image, std::u16string_view value);

/**
 * The problems of the value of a box (as StyleValues::box), checked by its kind: as
 * checkValue(isImageBox(box), value), and slot 1's value, which line 1's comment also holds,
 * must not end that comment.
 */
std::vector<Problem> checkValue(int box, std::u16string_view value);

/** One problem of one box. */
struct Finding {
    int box;  ///< box number, as StyleValues::box
    Problem problem;
};

/** The problems of every box, slots first, then the image boxes. */
std::vector<Finding> checkValues(const StyleValues &values);

}  // namespace velmora
