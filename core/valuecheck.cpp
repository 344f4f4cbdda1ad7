#include "valuecheck.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace velmora {

namespace {

// Every other colour keyword of CSS, which the shop editor's filter drops.
constexpr std::string_view kDroppedColourNames =
    " aliceblue antiquewhite aquamarine azure beige bisque blanchedalmond blueviolet brown"
    " burlywood cadetblue chartreuse chocolate coral cornflowerblue cornsilk crimson cyan"
    " darkblue darkcyan darkgoldenrod darkgray darkgreen darkgrey darkkhaki darkmagenta"
    " darkolivegreen darkorange darkorchid darkred darksalmon darkseagreen darkslateblue"
    " darkslategray darkslategrey darkturquoise darkviolet deeppink deepskyblue dimgray dimgrey"
    " dodgerblue firebrick floralwhite forestgreen gainsboro ghostwhite gold goldenrod grey"
    " greenyellow honeydew hotpink indianred indigo ivory khaki lavender lavenderblush lawngreen"
    " lemonchiffon lightblue lightcoral lightcyan lightgoldenrodyellow lightgray lightgreen"
    " lightgrey lightpink lightsalmon lightseagreen lightskyblue lightslategray lightslategrey"
    " lightsteelblue lightyellow limegreen linen magenta mediumaquamarine mediumblue mediumorchid"
    " mediumpurple mediumseagreen mediumslateblue mediumspringgreen mediumturquoise"
    " mediumvioletred midnightblue mintcream mistyrose moccasin navajowhite oldlace olivedrab"
    " orangered orchid palegoldenrod palegreen paleturquoise palevioletred papayawhip peachpuff"
    " peru pink plum powderblue rebeccapurple rosybrown royalblue saddlebrown salmon sandybrown"
    " seagreen seashell sienna skyblue slateblue slategray slategrey snow springgreen steelblue"
    " tan thistle tomato turquoise violet wheat whitesmoke yellowgreen transparent currentcolor ";

constexpr std::array<Rgb, 17> kKeptColours = {{{0, 0, 0},
                                               {192, 192, 192},
                                               {128, 128, 128},
                                               {255, 255, 255},
                                               {128, 0, 0},
                                               {255, 0, 0},
                                               {128, 0, 128},
                                               {255, 0, 255},
                                               {0, 128, 0},
                                               {0, 255, 0},
                                               {128, 128, 0},
                                               {255, 255, 0},
                                               {0, 0, 128},
                                               {0, 0, 255},
                                               {0, 128, 128},
                                               {0, 255, 255},
                                               {255, 165, 0}}};

/** The longest colour other than rgb() and rgba(): "#rrggbb" and the names are shorter. */
constexpr std::size_t kLongestShortColour = 16;

/** The longest name of kDroppedColourNames ("lightgoldenrodyellow") has 20 letters. */
constexpr std::size_t kLongestDroppedName = 20;

bool isSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\u3000';
}

/** The ASCII text in lower case, or nothing when it holds anything else. */
std::optional<std::string> asciiLower(std::u16string_view text) {
    std::string lower;
    lower.reserve(text.size());
    for (char16_t c : text) {
        if (c > 0x7E) {
            return std::nullopt;
        }
        lower.push_back(static_cast<char>(c >= u'A' && c <= u'Z' ? c + 32 : c));
    }
    return lower;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<Rgba> parseHex(std::string_view digits) {
    if (digits.size() != 3 && digits.size() != 6) {
        return std::nullopt;
    }
    std::array<int, 6> d{};
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if ((d[i] = hexDigit(digits[i])) < 0) {
            return std::nullopt;
        }
    }
    const auto channel = [&](std::size_t i) {
        return static_cast<std::uint8_t>(digits.size() == 3 ? d[i] * 17
                                                            : d[2 * i] * 16 + d[2 * i + 1]);
    };
    return Rgba{channel(0), channel(1), channel(2)};
}

bool isCssSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

std::string_view trimCss(std::string_view text) {
    while (!text.empty() && isCssSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isCssSpace(text.back())) text.remove_suffix(1);
    return text;
}

/**
 * A number as CSS writes one (an optional sign, digits with an optional fraction, an optional
 * exponent: "+.5", "1e2"; never "5." nor "1e"), with an optional "%", which sets percent.
 */
std::optional<double> parseNumber(std::string_view text, bool &percent) {
    percent = text.ends_with('%');
    if (percent) {
        text.remove_suffix(1);
    }
    std::size_t at = 0;
    const auto skip = [&](std::string_view chars) {
        if (at < text.size() && chars.find(text[at]) != std::string_view::npos) ++at;
    };
    const auto digits = [&] {
        const std::size_t from = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
        return at - from;
    };
    skip("+-");
    const std::size_t unsignedAt = at;
    std::size_t mantissa = digits();
    if (at < text.size() && text[at] == '.') {
        ++at;
        const std::size_t fraction = digits();
        if (fraction == 0) {
            return std::nullopt;
        }
        mantissa += fraction;
    }
    if (mantissa == 0) {
        return std::nullopt;
    }
    bool tiny = false;
    if (at < text.size() && text[at] == 'e') {
        ++at;
        tiny = at < text.size() && text[at] == '-';
        skip("+-");
        if (digits() == 0) {
            return std::nullopt;
        }
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    double value = 0;
    const std::string_view number = text.substr(unsignedAt);
    if (std::from_chars(number.data(), number.data() + number.size(), value).ec != std::errc{}) {
        value = tiny ? 0 : std::numeric_limits<double>::infinity();
    }
    return text.front() == '-' ? -value : value;
}

/**
 * Whether a number parseNumber accepted (its "%" removed) is exactly 10 to the power given, as
 * written: "1", "1.00", "0.1e1" and "100" with power 2 are, "0.9999999999999999999" is not,
 * though it reads as the double 1.
 */
bool isPowerOfTen(std::string_view number, int power) {
    if (number.front() == '+' || number.front() == '-') {
        number.remove_prefix(1);
    }
    long long exponent = 0;
    if (const std::size_t e = number.find('e'); e != std::string_view::npos) {
        std::string_view digits = number.substr(e + 1);
        if (digits.front() == '+') {
            digits.remove_prefix(1);
        }
        if (std::from_chars(digits.data(), digits.data() + digits.size(), exponent).ec !=
            std::errc{}) {
            return false;  // beyond any power of ten near 1
        }
        number = number.substr(0, e);
    }
    std::string mantissa;
    for (char c : number) {
        if (c == '.') {
            exponent -= static_cast<long long>(number.size() - mantissa.size() - 1);
        } else {
            mantissa.push_back(c);
        }
    }
    const std::size_t first = mantissa.find_first_not_of('0');
    if (first == std::string::npos) {
        return false;
    }
    const std::size_t last = mantissa.find_last_not_of('0');
    exponent += static_cast<long long>(mantissa.size() - 1 - last);
    return first == last && mantissa[first] == '1' && exponent == power;
}

/** Rounded as browsers round a colour's channels: halves up. */
std::uint8_t channelOf(double value) { return static_cast<std::uint8_t>(value + 0.5); }

/**
 * rgb(r, g, b) or rgba(r, g, b, a) as CSS's comma syntax has them: the three channels all numbers
 * (0 to 255) or all percentages, never mixed; the alpha a number (0 to 1) or a percentage. Browsers
 * would clamp a value outside those ranges; it is refused here as most likely mistyped.
 */
std::optional<Rgba> parseFunction(std::string_view text) {
    const bool alpha = text.starts_with("rgba(");
    if ((!alpha && !text.starts_with("rgb(")) || !text.ends_with(')')) {
        return std::nullopt;
    }
    std::string_view args = text.substr(alpha ? 5 : 4);
    args.remove_suffix(1);
    const std::size_t expected = alpha ? 4 : 3;
    std::array<std::uint8_t, 4> channels{0, 0, 0, 255};
    bool percentChannels = false;
    for (std::size_t i = 0; i < expected; ++i) {
        const std::size_t comma = args.find(',');
        if ((comma == std::string_view::npos) != (i + 1 == expected)) {
            return std::nullopt;  // fewer or more arguments than the function takes
        }
        bool percent = false;
        const std::optional<double> number = parseNumber(trimCss(args.substr(0, comma)), percent);
        if (!number || *number < 0) {
            return std::nullopt;
        }
        if (i == 3) {
            const double alphaValue = percent ? *number / 100 : *number;
            if (alphaValue > 1) {
                return std::nullopt;
            }
            // Opaque only when exactly 1 as written: a nearly opaque colour stays translucent.
            std::string_view written = trimCss(args.substr(0, comma));
            if (percent) {
                written.remove_suffix(1);
            }
            channels[3] = isPowerOfTen(written, percent ? 2 : 0)
                              ? 255
                              : std::min<std::uint8_t>(channelOf(alphaValue * 255), 254);
        } else {
            if (i == 0) {
                percentChannels = percent;
            }
            if (percent != percentChannels || *number > (percent ? 100 : 255)) {
                return std::nullopt;
            }
            channels[i] = channelOf(percent ? *number * 255 / 100 : *number);
        }
        args.remove_prefix(comma == std::string_view::npos ? args.size() : comma + 1);
    }
    return Rgba{channels[0], channels[1], channels[2], channels[3]};
}

/** The host of an address after its scheme, in lower case, without user and port. */
std::string hostOf(std::string_view rest) {
    std::string_view authority = rest.substr(0, rest.find_first_of("/?#\\"));
    if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
        authority.remove_prefix(at + 1);
    }
    if (const std::size_t colon = authority.find(':'); colon != std::string_view::npos) {
        authority = authority.substr(0, colon);
    }
    if (authority.ends_with('.')) {
        authority.remove_suffix(1);  // a fully qualified name
    }
    return std::string(authority);
}

bool onImageHost(const std::string &host) {
    return std::any_of(kImageHosts.begin(), kImageHosts.end(), [&](std::string_view domain) {
        return host == domain || (host.size() > domain.size() && host.ends_with(domain) &&
                                  host[host.size() - domain.size() - 1] == '.');
    });
}

void checkAddress(std::u16string_view value, std::vector<Problem> &problems) {
    const std::u16string_view breakers = u")'\" \t\r\n";
    // Every breaker is at most ')': most characters of a long address are passed over at once.
    const bool breaks = std::any_of(value.begin(), value.end(), [&](char16_t c) {
        return c <= u')' && breakers.find(c) != std::u16string_view::npos;
    });
    if (asciiLower(value.substr(0, 5)) == "file:") {
        // An image on this computer: valid in the preview, but not yet where the shop can see it.
        problems.push_back(Problem::LocalFile);
        if (breaks) problems.push_back(Problem::BreaksUrl);
        return;
    }
    // Only the scheme and host need to be ASCII; the path may hold anything.
    const std::u16string_view head = value.substr(0, 8);
    const std::optional<std::string> scheme = asciiLower(head);
    bool https = false;
    std::size_t restAt = 0;
    if (scheme && scheme->starts_with("https://")) {
        https = true;
        restAt = 8;
    } else if (scheme && scheme->starts_with("http://")) {
        restAt = 7;
    }
    if (restAt == 0 || value.size() == restAt) {
        problems.push_back(Problem::NotAnAddress);
        if (breaks) problems.push_back(Problem::BreaksUrl);
        return;
    }
    if (!https) {
        problems.push_back(Problem::NotHttps);
    }
    const std::u16string_view rest = value.substr(restAt);
    const std::u16string_view authority = rest.substr(0, rest.find_first_of(u"/?#\\"));
    const std::optional<std::string> lower = asciiLower(authority);
    if (!lower || !onImageHost(hostOf(*lower))) {
        problems.push_back(Problem::ForeignHost);
    }
    if (breaks) {
        problems.push_back(Problem::BreaksUrl);
    }
}

}  // namespace

std::optional<Rgb> parseColour(std::u16string_view value) {
    const std::optional<Rgba> colour = parseColourWithAlpha(value);
    if (!colour) {
        return std::nullopt;
    }
    return Rgb{colour->red, colour->green, colour->blue};
}

std::optional<Rgba> parseColourWithAlpha(std::u16string_view value) {
    // Every form but rgb() and rgba() is a few characters long: a long value that does not begin
    // as those do (an address of megabytes) is refused before its copy in lower case.
    const auto isRgb = [&] {
        return value.size() >= 4 && (value[0] | 0x20) == u'r' && (value[1] | 0x20) == u'g' &&
               (value[2] | 0x20) == u'b';
    };
    if (value.size() > kLongestShortColour && !isRgb()) {
        return std::nullopt;
    }
    const std::optional<std::string> lower = asciiLower(value);
    if (!lower || lower->empty()) {
        return std::nullopt;
    }
    if (lower->front() == '#') {
        return parseHex(std::string_view(*lower).substr(1));
    }
    if (const auto name = std::find(kKeptColourNames.begin(), kKeptColourNames.end(), *lower);
        name != kKeptColourNames.end()) {
        const Rgb named = kKeptColours[static_cast<std::size_t>(name - kKeptColourNames.begin())];
        return Rgba{named.red, named.green, named.blue};
    }
    return parseFunction(*lower);
}

std::u16string hexColour(Rgb colour) {
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string hex = u"#";
    for (std::uint8_t channel : {colour.red, colour.green, colour.blue}) {
        hex.push_back(kDigits[channel >> 4]);
        hex.push_back(kDigits[channel & 15]);
    }
    return hex;
}

std::vector<Problem> checkValue(bool image, std::u16string_view value) {
    std::vector<Problem> problems;
    if (value.empty()) {
        return problems;
    }
    std::u16string_view trimmed = value;
    while (!trimmed.empty() && isSpace(trimmed.front())) trimmed.remove_prefix(1);
    while (!trimmed.empty() && isSpace(trimmed.back())) trimmed.remove_suffix(1);
    const bool spaces = trimmed.size() != value.size();
    if (parseColour(trimmed)) {
        // A colour, which an image box takes as the background too, but only as it stands.
        if (spaces) {
            problems.push_back(image ? Problem::SpacedColour : Problem::Spaces);
        }
        return problems;
    }
    if (spaces) {
        problems.push_back(Problem::Spaces);
    }
    // No copy of a long value: no name is as long.
    const std::optional<std::string> lower =
        trimmed.size() <= kLongestDroppedName ? asciiLower(trimmed) : std::nullopt;
    const bool dropped = lower && !lower->empty() && lower->find(' ') == std::string::npos &&
                         kDroppedColourNames.find(' ' + *lower + ' ') != std::string_view::npos;
    if (dropped) {
        problems.push_back(Problem::DroppedColourName);
    } else if (image) {
        checkAddress(trimmed, problems);
    } else {
        problems.push_back(Problem::NotAColour);
    }
    return problems;
}

std::vector<Problem> checkValue(int box, std::u16string_view value) {
    std::vector<Problem> problems = checkValue(isImageBox(box), value);
    // Slot 1's value is written into line 1's comment too: a "*/" there ends it, and the shop
    // editor then drops the rule that follows.
    if (box == 0 && value.find(u"*/") != std::u16string_view::npos) {
        problems.push_back(Problem::EndsComment);
    }
    return problems;
}

std::vector<Finding> checkValues(const StyleValues &values) {
    std::vector<Finding> findings;
    for (int box = 0; box < kBoxCount; ++box) {
        for (Problem problem : checkValue(box, values.box(box))) {
            findings.push_back({box, problem});
        }
    }
    return findings;
}

}  // namespace velmora
