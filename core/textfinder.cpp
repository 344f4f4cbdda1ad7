#include "textfinder.h"

#include <algorithm>

namespace velmora::importing {

Finder::Finder(std::u16string_view needle) : m_needle(needle) {
    const std::size_t m = needle.size();
    m_shift.fill(std::max<std::size_t>(m, 1));
    for (std::size_t i = 0; i + 1 < m; ++i) {
        m_shift[needle[i] & 0xFFu] = m - 1 - i;
    }
}

std::size_t Finder::find(std::u16string_view text, std::size_t from, std::size_t last) const {
    const std::size_t m = m_needle.size();
    if (text.size() < m) {
        return kNone;
    }
    last = std::min(last, text.size() - m);
    if (m == 0) {
        return from <= last ? from : kNone;
    }
    const char16_t *data = text.data();
    const char16_t final = m_needle[m - 1];
    for (std::size_t at = from; at <= last;) {
        const char16_t c = data[at + m - 1];
        if (c == final && sameText(data + at, m_needle.data(), m - 1)) {
            return at;
        }
        at += m_shift[c & 0xFFu];
    }
    return kNone;
}

std::size_t Occurrences::next(const Finder &finder, std::u16string_view text, std::size_t from,
                              std::size_t last) {
    if (from > last) {
        return kNone;
    }
    if (from < m_from || from > m_to) {
        m_from = m_to = from;
        m_found.clear();
    }
    const auto known = std::lower_bound(m_found.begin(), m_found.end(), from);
    if (known != m_found.end()) {
        return *known <= last ? *known : kNone;
    }
    if (m_to > last) {
        return kNone;
    }
    const std::size_t at = finder.find(text, m_to, last);
    if (at == kNone) {
        m_to = last + 1;
        return kNone;
    }
    m_found.push_back(at);
    m_to = at + 1;
    return at;
}

}  // namespace velmora::importing
