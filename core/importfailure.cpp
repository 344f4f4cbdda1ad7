#include "importfailure.h"

#include <algorithm>

namespace velmora::importing {

FailureReport::FailureReport(std::u16string_view text, const Layout &layout)
    : m_layout(layout),
      m_text(text),
      m_unplaced(layout.literals.size(), kNone),
      m_unplacedClosed(layout.literals.size(), kNone) {}

void FailureReport::failedAt(std::size_t reach, std::u16string_view expected,
                             std::span<const Repeat> repeats) {
    if (m_failed && reach <= m_reach) {
        return;
    }
    for (const auto [at, value] : repeats) {
        const std::size_t same = commonLength(m_text.data() + at, value.data(),
                                              std::min(value.size(), m_text.size() - at));
        if (same < value.size()) {
            reach = at + same;
            expected = value.substr(same);
            break;
        }
    }
    record(reach, expected);
}

void FailureReport::literalFailed(int piece, std::size_t pos, std::span<const Repeat> repeats) {
    const std::u16string_view literal = m_layout.literals[static_cast<std::size_t>(piece)];
    const std::size_t available = pos <= m_text.size() ? m_text.size() - pos : 0;
    const std::size_t same =
        commonLength(m_text.data() + pos, literal.data(), std::min(literal.size(), available));
    failedAt(pos + same,
             std::u16string_view(m_layout.expected[static_cast<std::size_t>(piece)]).substr(same),
             repeats);
}

void FailureReport::valueFailed(std::span<const Repeat> repeats) {
    const Repeat &last = repeats.back();
    failedAt(last.at + last.value.size(), {}, repeats);
}

void FailureReport::noteUnplaced(int piece, std::size_t start, bool closed) {
    auto &first = (closed ? m_unplacedClosed : m_unplaced)[static_cast<std::size_t>(piece)];
    first = std::min(first, start);
}

Failure FailureReport::failure() {
    const auto last = static_cast<std::size_t>(m_layout.lastPiece);
    for (std::size_t piece = 0; piece < m_unplaced.size(); ++piece) {
        if (m_unplaced[piece] != kNone) {
            diagnoseUnplaced(m_layout.literals[piece], m_layout.expected[piece], piece == last,
                             m_unplaced[piece]);
        }
        if (m_unplacedClosed[piece] != kNone) {
            diagnoseUnplaced(m_layout.closed[piece], m_layout.closedExpected[piece], piece == last,
                             m_unplacedClosed[piece]);
        }
    }
    if (!m_failed) {
        return {m_text.size(), m_layout.literals.back()};
    }
    return {m_reach, m_expected};
}

void FailureReport::record(std::size_t reach, std::u16string_view expected) {
    if (expected.empty()) {
        // The code ended; point at the text that follows it.
        while (reach < m_text.size() && isSpace(m_text[reach])) {
            ++reach;
        }
    }
    if (!m_failed || reach > m_reach) {
        m_failed = true;
        m_reach = reach;
        m_expected = expected;
    }
}

void FailureReport::diagnoseUnplaced(std::u16string_view literal, std::u16string_view expected,
                                     bool last, std::size_t start) {
    const char16_t *data = m_text.data();
    auto matched = [&](std::size_t at) {
        return commonLength(data + at, literal.data(),
                            std::min(literal.size(), m_text.size() - at));
    };
    std::size_t best = 0;
    for (std::size_t at = start; at < m_text.size() && best < literal.size(); ++at) {
        best = std::max(best, matched(at));
    }
    if (best == 0) {
        record(m_text.size(), expected);
        return;
    }
    for (std::size_t at = start; at < m_text.size(); ++at) {
        const std::size_t same = matched(at);
        if (2 * same < best) {
            continue;
        }
        if (same < literal.size()) {
            record(at + same, expected.substr(same));
        } else if (last) {
            record(at + same, {});
        }
        return;
    }
}

}  // namespace velmora::importing
