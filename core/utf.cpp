#include "utf.h"

namespace velmora {

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0U) == 0x80U; }

void appendUtf8(std::string &out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

struct Decoded {
    char32_t codePoint;
    std::size_t length;  ///< in bytes
};

/** The code point whose well-formed UTF-8 starts at bytes[i], or nothing. */
std::optional<Decoded> decodeAt(std::string_view bytes, std::size_t i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        return Decoded{lead, 1};
    } else if ((lead & 0xE0U) == 0xC0U) {
        length = 2, cp = lead & 0x1FU, least = 0x80;
    } else if ((lead & 0xF0U) == 0xE0U) {
        length = 3, cp = lead & 0x0FU, least = 0x800;
    } else if ((lead & 0xF8U) == 0xF0U) {
        length = 4, cp = lead & 0x07U, least = 0x10000;
    } else {
        return std::nullopt;
    }
    if (bytes.size() - i < length) {
        return std::nullopt;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto byte = static_cast<unsigned char>(bytes[i + k]);
        if (!isContinuation(byte)) {
            return std::nullopt;
        }
        cp = (cp << 6) | (byte & 0x3FU);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return std::nullopt;
    }
    return Decoded{cp, length};
}

void appendHex(std::string &out, std::string_view prefix, unsigned value, int digits) {
    constexpr char kHex[] = "0123456789abcdef";
    out += prefix;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
        out.push_back(kHex[(value >> shift) & 15U]);
    }
}

}  // namespace

std::optional<std::u16string> utf16FromUtf8(std::string_view bytes) {
    // Never more units than bytes; written through a pointer, as a value can be of megabytes.
    std::u16string out(bytes.size(), u'\0');
    char16_t *next = out.data();
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            *next++ = static_cast<char16_t>(bytes[i++]);
            continue;
        }
        const std::optional<Decoded> decoded = decodeAt(bytes, i);
        if (!decoded) {
            return std::nullopt;
        }
        char32_t cp = decoded->codePoint;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            *next++ = static_cast<char16_t>(0xD800 + (cp >> 10));
            *next++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            *next++ = static_cast<char16_t>(cp);
        }
        i += decoded->length;
    }
    out.resize(static_cast<std::size_t>(next - out.data()));
    return out;
}

std::string utf8FromUtf16(std::u16string_view text) {
    std::string out;
    utf8FromUtf16(text, out);
    return out;
}

void utf8FromUtf16(std::u16string_view text, std::string &out) {
    out.clear();
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Runs of ASCII, most of any style sheet, are copied without the general case.
        const std::size_t runStart = i;
        while (i < text.size() && text[i] < 0x80) {
            ++i;
        }
        if (i > runStart) {
            const std::size_t at = out.size();
            out.resize(at + (i - runStart));
            for (std::size_t k = runStart; k < i; ++k) {
                out[at + (k - runStart)] = static_cast<char>(text[k]);
            }
            if (i == text.size()) {
                break;
            }
        }
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        appendUtf8(out, cp);
    }
}

std::string printable(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::optional<Decoded> decoded = decodeAt(utf8, i);
        if (!decoded) {
            appendHex(out, "\\x", static_cast<unsigned char>(utf8[i]), 2);
            ++i;
            continue;
        }
        const char32_t cp = decoded->codePoint;
        if (cp == '\n') {
            out += "\\n";
        } else if (cp == '\r') {
            out += "\\r";
        } else if (cp == '\t') {
            out += "\\t";
        } else if (cp < 0x20 || cp == 0x7F) {
            appendHex(out, "\\x", static_cast<unsigned>(cp), 2);
        } else if (cp >= 0x80 && cp < 0xA0) {
            appendHex(out, "\\u", static_cast<unsigned>(cp), 4);
        } else {
            out.append(utf8.substr(i, decoded->length));
        }
        i += decoded->length;
    }
    return out;
}

std::optional<TextPosition> findNul(std::u16string_view text) {
    const std::size_t nul = text.find(u'\0');
    if (nul == std::u16string_view::npos) {
        return std::nullopt;
    }
    TextPosition position;
    for (std::size_t i = 0; i < nul; ++i) {
        const char16_t c = text[i];
        if (c == u'\n' || (c == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))) {
            ++position.line;
            position.column = 1;
        } else if (c != u'\r' && (c < 0xDC00 || c > 0xDFFF)) {
            ++position.column;  // the low half of a surrogate pair adds nothing
        }
    }
    return position;
}

}  // namespace velmora
