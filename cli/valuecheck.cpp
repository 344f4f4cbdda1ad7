#include "valuecheck.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "cli/imagenames.h"
#include "core/utf.h"

namespace velmora {

namespace {

// The CSS colour keywords (named colours, transparent, currentcolor), lower case.
constexpr std::array<std::string_view, 150> kColourKeywords = {"aliceblue",
                                                               "antiquewhite",
                                                               "aqua",
                                                               "aquamarine",
                                                               "azure",
                                                               "beige",
                                                               "bisque",
                                                               "black",
                                                               "blanchedalmond",
                                                               "blue",
                                                               "blueviolet",
                                                               "brown",
                                                               "burlywood",
                                                               "cadetblue",
                                                               "chartreuse",
                                                               "chocolate",
                                                               "coral",
                                                               "cornflowerblue",
                                                               "cornsilk",
                                                               "crimson",
                                                               "cyan",
                                                               "darkblue",
                                                               "darkcyan",
                                                               "darkgoldenrod",
                                                               "darkgray",
                                                               "darkgreen",
                                                               "darkgrey",
                                                               "darkkhaki",
                                                               "darkmagenta",
                                                               "darkolivegreen",
                                                               "darkorange",
                                                               "darkorchid",
                                                               "darkred",
                                                               "darksalmon",
                                                               "darkseagreen",
                                                               "darkslateblue",
                                                               "darkslategray",
                                                               "darkslategrey",
                                                               "darkturquoise",
                                                               "darkviolet",
                                                               "deeppink",
                                                               "deepskyblue",
                                                               "dimgray",
                                                               "dimgrey",
                                                               "dodgerblue",
                                                               "firebrick",
                                                               "floralwhite",
                                                               "forestgreen",
                                                               "fuchsia",
                                                               "gainsboro",
                                                               "ghostwhite",
                                                               "gold",
                                                               "goldenrod",
                                                               "gray",
                                                               "green",
                                                               "greenyellow",
                                                               "grey",
                                                               "honeydew",
                                                               "hotpink",
                                                               "indianred",
                                                               "indigo",
                                                               "ivory",
                                                               "khaki",
                                                               "lavender",
                                                               "lavenderblush",
                                                               "lawngreen",
                                                               "lemonchiffon",
                                                               "lightblue",
                                                               "lightcoral",
                                                               "lightcyan",
                                                               "lightgoldenrodyellow",
                                                               "lightgray",
                                                               "lightgreen",
                                                               "lightgrey",
                                                               "lightpink",
                                                               "lightsalmon",
                                                               "lightseagreen",
                                                               "lightskyblue",
                                                               "lightslategray",
                                                               "lightslategrey",
                                                               "lightsteelblue",
                                                               "lightyellow",
                                                               "lime",
                                                               "limegreen",
                                                               "linen",
                                                               "magenta",
                                                               "maroon",
                                                               "mediumaquamarine",
                                                               "mediumblue",
                                                               "mediumorchid",
                                                               "mediumpurple",
                                                               "mediumseagreen",
                                                               "mediumslateblue",
                                                               "mediumspringgreen",
                                                               "mediumturquoise",
                                                               "mediumvioletred",
                                                               "midnightblue",
                                                               "mintcream",
                                                               "mistyrose",
                                                               "moccasin",
                                                               "navajowhite",
                                                               "navy",
                                                               "oldlace",
                                                               "olive",
                                                               "olivedrab",
                                                               "orange",
                                                               "orangered",
                                                               "orchid",
                                                               "palegoldenrod",
                                                               "palegreen",
                                                               "paleturquoise",
                                                               "palevioletred",
                                                               "papayawhip",
                                                               "peachpuff",
                                                               "peru",
                                                               "pink",
                                                               "plum",
                                                               "powderblue",
                                                               "purple",
                                                               "rebeccapurple",
                                                               "red",
                                                               "rosybrown",
                                                               "royalblue",
                                                               "saddlebrown",
                                                               "salmon",
                                                               "sandybrown",
                                                               "seagreen",
                                                               "seashell",
                                                               "sienna",
                                                               "silver",
                                                               "skyblue",
                                                               "slateblue",
                                                               "slategray",
                                                               "slategrey",
                                                               "snow",
                                                               "springgreen",
                                                               "steelblue",
                                                               "tan",
                                                               "teal",
                                                               "thistle",
                                                               "tomato",
                                                               "turquoise",
                                                               "violet",
                                                               "wheat",
                                                               "white",
                                                               "whitesmoke",
                                                               "yellow",
                                                               "yellowgreen",
                                                               "transparent",
                                                               "currentcolor"};

bool isColour(std::u16string_view value) {
    if (value.starts_with(u'#')) {
        const std::u16string_view digits = value.substr(1);
        const bool hex = std::all_of(digits.begin(), digits.end(), [](char16_t c) {
            return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        });
        return hex && (digits.size() == 3 || digits.size() == 6);
    }
    std::string lower;
    for (char16_t c : value) {
        if (c > 0x7F) {
            return false;
        }
        lower.push_back(static_cast<char>(c >= u'A' && c <= u'Z' ? c + 32 : c));
    }
    return std::find(kColourKeywords.begin(), kColourKeywords.end(), lower) !=
           kColourKeywords.end();
}

bool isWebAddress(std::u16string_view value) {
    for (std::u16string_view scheme : {u"http://", u"https://"}) {
        if (value.size() > scheme.size() && value.starts_with(scheme)) {
            return true;
        }
    }
    return false;
}

bool isSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u3000';
}

std::string quoted(std::u16string_view value) { return "'" + utf8FromUtf16(value) + "'"; }

void check(std::vector<std::string> &warnings, const std::string &name, std::u16string_view value,
           bool image) {
    if (value.empty()) {
        return;
    }
    std::u16string_view trimmed = value;
    while (!trimmed.empty() && isSpace(trimmed.front())) trimmed.remove_prefix(1);
    while (!trimmed.empty() && isSpace(trimmed.back())) trimmed.remove_suffix(1);
    if (trimmed.size() != value.size()) {
        warnings.push_back(name + ": " + quoted(value) + " has spaces at its start or end");
    }
    if (image && !isWebAddress(trimmed)) {
        warnings.push_back(name + ": " + quoted(value) + " is not an http:// or https:// address");
    } else if (!image && !isColour(trimmed)) {
        warnings.push_back(name + ": " + quoted(value) +
                           " is not a CSS colour (#rgb, #rrggbb or a colour keyword)");
    }
}

}  // namespace

std::vector<std::string> checkValues(const StyleValues &values) {
    std::vector<std::string> warnings;
    for (const Slot &slot : kSlots) {
        check(warnings, utf8FromUtf16(slot.prompt) + " (slot " + std::to_string(slot.number) + ")",
              values.slot(slot.number), slot.wrap == Wrap::Url);
    }
    for (std::size_t box = 0; box < kImageBoxes.size(); ++box) {
        check(warnings,
              utf8FromUtf16(kImageBoxes[box].prompt) + " (--" + std::string(kImageNames[box]) + ")",
              values.images[box], true);
    }
    return warnings;
}

}  // namespace velmora
