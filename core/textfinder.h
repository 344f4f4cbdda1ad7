#pragma once

// Internal to the core (like plan.h): the fixed-text search under the importer's reading of
// navigation code.

#include <array>
#include <cstddef>
#include <cstring>
#include <limits>
#include <string_view>
#include <vector>

namespace velmora::importing {

/** No place: what a search returns when the text is not found. */
inline constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

/** Whether the length characters at a and at b are the same. */
inline bool sameText(const char16_t *a, const char16_t *b, std::size_t length) {
    return length == 0 || std::memcmp(a, b, length * sizeof(char16_t)) == 0;
}

/** How many of the first length characters at a and at b agree before the first difference. */
inline std::size_t commonLength(const char16_t *a, const char16_t *b, std::size_t length) {
    std::size_t same = 0;
    while (same < length && a[same] == b[same]) {
        ++same;
    }
    return same;
}

/** Finds one fixed text (Boyer-Moore-Horspool, with the shifts kept by low byte). */
class Finder {
public:
    /** A finder of needle, which must outlive it. */
    explicit Finder(std::u16string_view needle);

    /** The first place in [from, last] where the fixed text occurs in text, or kNone. */
    std::size_t find(std::u16string_view text, std::size_t from, std::size_t last) const;

private:
    std::u16string_view m_needle;
    std::array<std::size_t, 256> m_shift;
};

/**
 * The places of one literal found so far in one searched stretch of the text. Candidates are
 * mostly asked for in increasing order, so a stretch is searched once however often it is asked.
 */
class Occurrences {
public:
    /** The first place in [from, last] where finder's text occurs, or kNone. */
    std::size_t next(const Finder &finder, std::u16string_view text, std::size_t from,
                     std::size_t last);

private:
    std::size_t m_from = kNone;  ///< the places [m_from, m_to) have been searched
    std::size_t m_to = 0;
    std::vector<std::size_t> m_found;
};

}  // namespace velmora::importing
