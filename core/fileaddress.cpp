#include "core/fileaddress.h"

#include "core/utf.h"

namespace velmora {

namespace {

int hexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

bool startsWithNoCase(std::u16string_view text, std::u16string_view lower) {
    if (text.size() < lower.size()) return false;
    for (std::size_t i = 0; i < lower.size(); ++i) {
        const char16_t c = text[i] >= u'A' && text[i] <= u'Z' ? text[i] + 32 : text[i];
        if (c != lower[i]) return false;
    }
    return true;
}

/** The text with its percent escapes decoded, as UTF-8; nothing for a NUL or bad UTF-8. */
std::optional<std::u16string> percentDecoded(std::u16string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = i + 2 < text.size() && text[i] == u'%' ? hexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(text[i + 2]) : -1;
        if (low >= 0) {
            bytes.push_back(static_cast<char>(high * 16 + low));
            i += 2;
        } else {
            const bool pair = text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size();
            bytes += utf8FromUtf16(text.substr(i, pair ? 2 : 1));
            i += pair ? 1 : 0;
        }
    }
    if (bytes.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    return utf16FromUtf8(bytes);
}

}  // namespace

std::optional<std::u16string> filePathOfAddress(std::u16string_view address, PathStyle style) {
    if (!startsWithNoCase(address, u"file:")) {
        return std::nullopt;
    }
    std::u16string_view rest = address.substr(5);
    std::u16string_view host;
    if (rest.starts_with(u"//")) {
        rest.remove_prefix(2);
        const std::size_t slash = rest.find(u'/');
        host = rest.substr(0, slash);
        rest = slash == std::u16string_view::npos ? std::u16string_view() : rest.substr(slash);
        if (startsWithNoCase(host, u"localhost") && host.size() == 9) {
            host = {};
        }
    }
    // The query and fragment are no part of the file's name.
    rest = rest.substr(0, rest.find_first_of(u"?#"));
    std::optional<std::u16string> path = percentDecoded(rest);
    if (!path || (!host.empty() && style == PathStyle::Posix)) {
        return std::nullopt;
    }
    if (style == PathStyle::Posix) {
        return path;
    }
    // "/C:/a" or the older "/C|/a" names drive C:.
    if (path->size() >= 3 && (*path)[0] == u'/' && ((*path)[2] == u':' || (*path)[2] == u'|') &&
        (((*path)[1] | 0x20) >= u'a' && ((*path)[1] | 0x20) <= u'z')) {
        path->erase(0, 1);
        (*path)[1] = u':';
    } else if (!host.empty()) {
        const std::optional<std::u16string> server = percentDecoded(host);
        if (!server) return std::nullopt;
        *path = u"//" + *server + *path;
    }
    for (char16_t &c : *path) {
        if (c == u'/') c = u'\\';
    }
    return path;
}

}  // namespace velmora
