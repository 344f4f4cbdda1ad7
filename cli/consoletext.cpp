#include "consoletext.h"

#include <algorithm>

#include "core/utf.h"

namespace velmora {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool isContinuation(unsigned char byte) { return (byte & 0xC0U) == 0x80U; }

/** The length of the UTF-8 sequence that lead starts, or 0 for a byte that starts none. */
std::size_t sequenceLength(unsigned char lead) {
    return lead < 0x80               ? 1
           : (lead & 0xE0U) == 0xC0U ? 2
           : (lead & 0xF0U) == 0xE0U ? 3
           : (lead & 0xF8U) == 0xF0U ? 4
                                     : 0;
}

}  // namespace

std::optional<std::string> utf8FromArgument(std::u16string_view argument) {
    for (std::size_t i = 0; i < argument.size(); ++i) {
        if (isHighSurrogate(argument[i]) && i + 1 < argument.size() &&
            isLowSurrogate(argument[i + 1])) {
            ++i;
        } else if (isHighSurrogate(argument[i]) || isLowSurrogate(argument[i])) {
            return std::nullopt;
        }
    }
    return utf8FromUtf16(argument);
}

std::u16string utf16FromUtf8Prefix(std::string_view bytes, bool final, std::size_t &used) {
    std::u16string text;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t length = sequenceLength(static_cast<unsigned char>(bytes[at]));
        if (length > 0 && at + length > bytes.size() && !final &&
            std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(at) + 1, bytes.end(),
                        [](char c) { return isContinuation(static_cast<unsigned char>(c)); })) {
            break;  // the rest of the character may come with the next write
        }
        const auto character = length == 0 || at + length > bytes.size()
                                   ? std::nullopt
                                   : utf16FromUtf8(bytes.substr(at, length));
        if (character) {
            text += *character;
            at += length;
        } else {
            text.push_back(kReplacement);
            ++at;
        }
    }
    used = at;
    return text;
}

Utf16Writer::Utf16Writer(Sink sink) : m_sink(std::move(sink)) {}

Utf16Writer::~Utf16Writer() { handOn(true); }

Utf16Writer::int_type Utf16Writer::overflow(int_type c) {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        m_pending.push_back(traits_type::to_char_type(c));
    }
    return traits_type::not_eof(c);
}

std::streamsize Utf16Writer::xsputn(const char *bytes, std::streamsize count) {
    m_pending.append(bytes, static_cast<std::size_t>(count));
    return count;
}

int Utf16Writer::sync() { return handOn(false) ? 0 : -1; }

bool Utf16Writer::handOn(bool final) {
    std::size_t used = 0;
    const std::u16string text = utf16FromUtf8Prefix(m_pending, final, used);
    m_pending.erase(0, used);
    return text.empty() || m_sink(text);
}

}  // namespace velmora
