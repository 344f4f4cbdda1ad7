#include "importer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "plan.h"

namespace velmora {

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
constexpr std::size_t kExpectedLength = 20;

bool sameText(const char16_t *a, const char16_t *b, std::size_t length) {
    return length == 0 || std::memcmp(a, b, length * sizeof(char16_t)) == 0;
}

std::size_t commonLength(const char16_t *a, const char16_t *b, std::size_t length) {
    std::size_t same = 0;
    while (same < length && a[same] == b[same]) {
        ++same;
    }
    return same;
}

bool isSpace(char16_t c) {
    switch (c) {
        case u' ':
        case u'\t':
        case u'\n':
        case u'\v':
        case u'\f':
        case u'\r':
        case u'\u0085':
        case u'\u00A0':
        case u'\u1680':
        case u'\u2028':
        case u'\u2029':
        case u'\u202F':
        case u'\u205F':
        case u'\u3000':
        case u'\uFEFF':
            return true;
        default:
            return c >= u'\u2000' && c <= u'\u200A';
    }
}

std::u16string_view trimEnd(std::u16string_view text) {
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

/** Finds one fixed text (Boyer-Moore-Horspool, with the shifts kept by low byte). */
class Finder {
public:
    explicit Finder(std::u16string_view needle) : m_needle(needle) {
        const std::size_t m = needle.size();
        m_shift.fill(std::max<std::size_t>(m, 1));
        for (std::size_t i = 0; i + 1 < m; ++i) {
            m_shift[needle[i] & 0xFFu] = m - 1 - i;
        }
    }

    /** The first place in [from, last] where the fixed text occurs in text, or kNone. */
    std::size_t find(std::u16string_view text, std::size_t from, std::size_t last) const {
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

private:
    std::size_t m_from = kNone;  ///< the places [m_from, m_to) have been searched
    std::size_t m_to = 0;
    std::vector<std::size_t> m_found;
};

/** What a hole is to the reading. */
enum class Kind : std::uint8_t {
    Free,   ///< its value occurs once, and no repeated value has places on both sides of it
    Inner,  ///< its value occurs once, between two places of a repeated value
    First,  ///< the first place of a value that occurs more than once
    Later,  ///< a later place of such a value, which must repeat the first exactly
};

/** A literal from which a later place of a repeated value can be found. */
struct Anchor {
    int place;  ///< the piece whose hole is the later place
    int piece;  ///< the piece whose literal is looked for; at most place
};

/** What the reading needs to know of the plan, worked out once. */
struct Layout {
    std::vector<std::u16string_view> literals;  ///< of each piece; the last one without the
                                                ///< whitespace at its end
    std::vector<Finder> finders;                ///< of each literal
    std::vector<int> holes;                     ///< of each piece but the last
    std::vector<Kind> kinds;                    ///< of each hole
    std::vector<std::size_t> literalsFrom;      ///< total length of the literals from piece k on
    /** For each piece: the values fixed before its hole and used after it, with the number of
     *  places after it. */
    std::vector<std::vector<std::pair<int, std::size_t>>> fixedAfter;
    std::vector<std::size_t> usesAfter;  ///< of a First hole: its value's later places
    /** Of a First hole: for each later place, the pieces whose literal can lead to it, because
     *  only values fixed before the First hole lie between. */
    std::vector<std::vector<Anchor>> anchors;
    int lastPiece = 0;
};

Layout buildLayout() {
    const std::vector<Piece> &plan = generationPlan();
    Layout layout;
    layout.lastPiece = static_cast<int>(plan.size()) - 1;
    const auto pieces = plan.size();
    const auto holeCount = pieces - 1;
    for (const Piece &piece : plan) {
        layout.literals.emplace_back(piece.literal);
    }
    layout.literals.back() = trimEnd(layout.literals.back());
    for (std::u16string_view literal : layout.literals) {
        layout.finders.emplace_back(literal);
    }

    std::array<std::vector<int>, kHoleCount> places;
    for (std::size_t k = 0; k < holeCount; ++k) {
        layout.holes.push_back(plan[k].hole);
        places[static_cast<std::size_t>(plan[k].hole)].push_back(static_cast<int>(k));
    }
    auto placesOf = [&](int k) -> const std::vector<int> & {
        return places[static_cast<std::size_t>(layout.holes[static_cast<std::size_t>(k)])];
    };
    for (std::size_t k = 0; k < holeCount; ++k) {
        const int piece = static_cast<int>(k);
        const std::vector<int> &own = placesOf(piece);
        Kind kind = Kind::Free;
        if (own.size() > 1) {
            kind = own.front() == piece ? Kind::First : Kind::Later;
        } else {
            for (const std::vector<int> &other : places) {
                if (other.size() > 1 && other.front() < piece && piece < other.back()) {
                    kind = Kind::Inner;
                }
            }
        }
        layout.kinds.push_back(kind);
        layout.anchors.emplace_back();
        layout.usesAfter.push_back(kind == Kind::First ? own.size() - 1 : 0);
        if (kind == Kind::First) {
            for (auto place = own.begin() + 1; place != own.end(); ++place) {
                int from = *place;
                layout.anchors.back().push_back({*place, from});
                while (from - 1 > piece && placesOf(from - 1).front() < piece) {
                    layout.anchors.back().push_back({*place, --from});
                }
            }
        }

        layout.fixedAfter.emplace_back();
        for (std::size_t hole = 0; hole < places.size(); ++hole) {
            const std::vector<int> &at = places[hole];
            if (at.size() > 1 && at.front() < piece && at.back() > piece) {
                const auto after =
                    std::count_if(at.begin(), at.end(), [&](int p) { return p > piece; });
                layout.fixedAfter.back().emplace_back(static_cast<int>(hole),
                                                      static_cast<std::size_t>(after));
            }
        }
    }

    layout.literalsFrom.assign(pieces + 1, 0);
    for (std::size_t k = pieces; k-- > 0;) {
        layout.literalsFrom[k] = layout.literalsFrom[k + 1] + layout.literals[k].size();
    }
    return layout;
}

const Layout &layout() {
    static const Layout theLayout = buildLayout();
    return theLayout;
}

/** The furthest point an attempt got to, and what it expected there. */
struct Failure {
    std::size_t reach;
    std::u16string_view expected;
};

/**
 * The reading of one text: a depth-first search over where each value ends, with an explicit
 * stack of the open choices. Fixed text and repeated values between two choices are checked
 * directly; a choice is made only where a value appears for the first time.
 */
class Search {
public:
    /** A search of text; with lengthChecks false, values may be of any length that fits the text
     *  (slower, but a failed attempt then gets as far as its fixed text allows). */
    Search(std::u16string_view text, bool lengthChecks)
        : m_layout(layout()),
          m_lengthChecks(lengthChecks),
          m_text(text),
          m_occurrences(m_layout.literals.size()),
          m_allOccurrences(m_layout.literals.size()),
          m_counted(m_layout.literals.size(), false),
          m_unplaced(m_layout.literals.size(), kNone),
          m_failedFrom(m_layout.holes.size(), kNone),
          m_witness(m_layout.holes.size(), kWitnessUnknown) {}

    /** Whether values exist that give the text; if so, fill() writes them. */
    bool run() {
        int piece = 0;
        std::size_t start = 0;
        Step step = walk(0, 0, piece, start);
        if (step != Step::Choice) {
            return step == Step::Done;
        }
        enter(piece, start);
        while (!m_frames.empty()) {
            Frame &frame = m_frames.back();
            const std::size_t end = nextEnd(frame);
            if (end == kNone) {
                leave(frame);
                m_frames.pop_back();
                continue;
            }
            const int hole = holeOf(frame.piece);
            m_start[static_cast<std::size_t>(hole)] = frame.start;
            m_length[static_cast<std::size_t>(hole)] = end - frame.start;
            step = walk(frame.piece + 1, end, piece, start);
            if (step == Step::Done) {
                return true;
            }
            if (step == Step::Choice) {
                enter(piece, start);
            }
        }
        return false;
    }

    /** Sets the values the text determines, after run() returned true. */
    void fill(StyleValues &values) const {
        for (int piece = 0; piece < m_layout.lastPiece; ++piece) {
            if (m_layout.kinds[static_cast<std::size_t>(piece)] != Kind::Later) {
                const auto hole = static_cast<std::size_t>(holeOf(piece));
                holeValue(values, static_cast<int>(hole)) =
                    m_text.substr(m_start[hole], m_length[hole]);
            }
        }
    }

    /** Where the reading stopped, after run() returned false. */
    Failure failure() {
        for (std::size_t piece = 0; piece < m_unplaced.size(); ++piece) {
            if (m_unplaced[piece] != kNone) {
                diagnoseUnplaced(static_cast<int>(piece), m_unplaced[piece]);
            }
        }
        if (!m_failed) {
            return {m_text.size(), m_layout.literals.back()};
        }
        return {m_reach, m_expected};
    }

private:
    enum class Step { Failed, Done, Choice };
    enum class Verdict { Pass, Skip, Dead };

    static constexpr int kWitnessUnknown = -1;
    static constexpr int kNoWitness = -2;

    /** A later place of a repeated value that could still hold the value being chosen. */
    struct Witness {
        std::size_t at;       ///< where the value would start there
        std::size_t checked;  ///< how much of it is known to agree
    };

    /** An open choice: where the value of one hole ends. */
    struct Frame {
        int piece;          ///< the hole of this piece
        std::size_t start;  ///< where its value starts
        std::size_t next;   ///< where to look for the next place it could end
        std::size_t last;   ///< the last place it may end
        bool once;          ///< only the first place need be tried
        bool cutByFailure;  ///< last was lowered because what follows is known to fail
        bool checksAhead;   ///< each end is checked against witnesses first
        int tried;          ///< ends handed out so far
        std::vector<Witness> witnesses;
    };

    int holeOf(int piece) const { return m_layout.holes[static_cast<std::size_t>(piece)]; }
    Kind kindOf(int piece) const { return m_layout.kinds[static_cast<std::size_t>(piece)]; }
    std::u16string_view literalOf(int piece) const {
        return m_layout.literals[static_cast<std::size_t>(piece)];
    }
    std::u16string_view valueOf(int hole) const {
        const auto h = static_cast<std::size_t>(hole);
        return m_text.substr(m_start[h], m_length[h]);
    }

    bool literalAt(int piece, std::size_t pos) const {
        const std::u16string_view literal = literalOf(piece);
        return pos <= m_text.size() && literal.size() <= m_text.size() - pos &&
               sameText(m_text.data() + pos, literal.data(), literal.size());
    }

    /**
     * Follows the plan from piece at pos through fixed text and repeated values up to the next
     * choice (returned in choice and start), the end of the text, or a mismatch. All the fixed
     * text of the stretch is compared before the values, which is cheaper for wrong choices.
     */
    Step walk(int piece, std::size_t pos, int &choice, std::size_t &start) {
        m_run.clear();
        bool ended = false;
        for (;;) {
            if (!literalAt(piece, pos)) {
                literalFailed(piece, pos);
                return Step::Failed;
            }
            pos += literalOf(piece).size();
            if (piece == m_layout.lastPiece) {
                if (pos != m_text.size()) {
                    failedAt(pos, {}, m_run.size());
                    return Step::Failed;
                }
                ended = true;
                break;
            }
            if (kindOf(piece) != Kind::Later) {
                choice = piece;
                start = pos;
                break;
            }
            const int hole = holeOf(piece);
            m_run.emplace_back(pos, hole);
            const std::size_t length = m_length[static_cast<std::size_t>(hole)];
            if (length > m_text.size() - pos) {
                valueFailed(m_run.size() - 1);
                return Step::Failed;
            }
            pos += length;
            ++piece;
        }
        for (std::size_t i = 0; i < m_run.size(); ++i) {
            const auto [at, hole] = m_run[i];
            const auto h = static_cast<std::size_t>(hole);
            if (!sameText(m_text.data() + at, m_text.data() + m_start[h], m_length[h])) {
                valueFailed(i);
                return Step::Failed;
            }
        }
        return ended ? Step::Done : Step::Choice;
    }

    /** Opens the choice of where the value of piece's hole, starting at start, ends. */
    void enter(int piece, std::size_t start) {
        const auto k = static_cast<std::size_t>(piece);
        std::size_t needed = 0;  // by the literals and fixed values after the hole
        if (m_lengthChecks) {
            needed = m_layout.literalsFrom[k + 1];
            for (const auto &[hole, places] : m_layout.fixedAfter[k]) {
                needed += m_length[static_cast<std::size_t>(hole)] * places;
            }
        }
        if (needed > m_text.size() || m_text.size() - needed < start) {
            return;
        }
        const std::size_t room = m_text.size() - needed;
        Frame frame{piece, start, start, room, false, false, false, 0, {}};
        switch (kindOf(piece)) {
            case Kind::Free:
                if (start >= m_failedFrom[k]) {
                    return;
                }
                if (m_failedFrom[k] != kNone && m_failedFrom[k] - 1 < frame.last) {
                    frame.last = m_failedFrom[k] - 1;
                    frame.cutByFailure = true;
                }
                // Followed by a single literal and another such value: if any place works, the
                // first does, since the next value can take up whatever lies between.
                frame.once = piece + 1 == m_layout.lastPiece || kindOf(piece + 1) == Kind::Free;
                break;
            case Kind::First:
                if (m_lengthChecks) {
                    frame.last = start + (room - start) / (1 + m_layout.usesAfter[k]);
                }
                if (m_witness[k] >= 0) {
                    startChecks(frame);
                }
                break;
            case Kind::Inner:
            case Kind::Later:
                break;
        }
        m_frames.push_back(std::move(frame));
    }

    /** The next place where the frame's value can end, or kNone when none is left. */
    std::size_t nextEnd(Frame &frame) {
        const int following = frame.piece + 1;
        for (;;) {
            if (frame.once && frame.tried > 0) {
                return kNone;
            }
            std::size_t end = kNone;
            if (following == m_layout.lastPiece) {
                // The last literal is anchored to the end of the text.
                const std::size_t size = literalOf(following).size();
                if (size <= m_text.size()) {
                    end = m_text.size() - size;
                }
                if (end < frame.next || end > frame.last || !literalAt(following, end)) {
                    end = kNone;
                }
            } else {
                end = m_occurrences[static_cast<std::size_t>(following)].next(
                    m_layout.finders[static_cast<std::size_t>(following)], m_text, frame.next,
                    frame.last);
            }
            if (end == kNone) {
                if (frame.next == frame.start && !frame.cutByFailure) {
                    noteUnplaced(following, frame.start);
                }
                return kNone;
            }
            frame.next = end + 1;
            if (kindOf(frame.piece) == Kind::First) {
                if (!frame.checksAhead && frame.tried > 0) {
                    // The shortest value did not lead to a match; check the longer ones
                    // against a later place before following each.
                    startChecks(frame);
                }
                if (frame.checksAhead) {
                    const Verdict verdict = checkAhead(frame, end);
                    if (verdict == Verdict::Dead) {
                        return kNone;
                    }
                    if (verdict == Verdict::Skip) {
                        continue;
                    }
                }
            }
            ++frame.tried;
            return end;
        }
    }

    /** Records that every end from the frame's start on failed, where that is worth knowing. */
    void leave(const Frame &frame) {
        if (kindOf(frame.piece) == Kind::Free) {
            // What follows such a value does not depend on anything before it, and its start
            // only matters through the ends it allows, which the frame tried from start on.
            auto &failed = m_failedFrom[static_cast<std::size_t>(frame.piece)];
            failed = std::min(failed, frame.start);
        }
    }

    /**
     * The anchor whose literal occurs least often in the text. The value chosen at a First hole
     * must also stand at its later places, and checking one of them that can be found from few
     * places rules out most wrong ends cheaply.
     */
    int chooseWitness(int piece) {
        int best = kNoWitness;
        std::size_t fewest = kNone;
        const std::vector<Anchor> &anchors = m_layout.anchors[static_cast<std::size_t>(piece)];
        for (std::size_t i = 0; i < anchors.size(); ++i) {
            if (literalOf(anchors[i].piece).empty()) {
                continue;
            }
            const std::size_t count = allOccurrences(anchors[i].piece).size();
            if (count < fewest) {
                fewest = count;
                best = static_cast<int>(i);
            }
        }
        return best;
    }

    void startChecks(Frame &frame) {
        int &witness = m_witness[static_cast<std::size_t>(frame.piece)];
        if (witness == kWitnessUnknown) {
            witness = chooseWitness(frame.piece);
        }
        if (witness == kNoWitness) {
            return;
        }
        frame.checksAhead = true;
        const Anchor anchor =
            m_layout
                .anchors[static_cast<std::size_t>(frame.piece)][static_cast<std::size_t>(witness)];
        const std::vector<std::size_t> &all = allOccurrences(anchor.piece);
        std::size_t skip = literalOf(anchor.piece).size();
        for (int between = anchor.piece; between < anchor.place; ++between) {
            skip +=
                m_length[static_cast<std::size_t>(holeOf(between))] + literalOf(between + 1).size();
        }
        for (auto at = std::lower_bound(all.begin(), all.end(), frame.start); at != all.end();
             ++at) {
            frame.witnesses.push_back({*at + skip, 0});
        }
    }

    /**
     * Whether the value from the frame's start to end also stands at some witness, followed by
     * its literal. Witnesses that disagree are dropped for good, since longer values would too.
     */
    Verdict checkAhead(Frame &frame, std::size_t end) {
        const std::size_t length = end - frame.start;
        const std::size_t after = end + literalOf(frame.piece + 1).size();
        const int witness =
            m_layout
                .anchors[static_cast<std::size_t>(frame.piece)]
                        [static_cast<std::size_t>(m_witness[static_cast<std::size_t>(frame.piece)])]
                .place;
        const char16_t *data = m_text.data();
        bool found = false;
        std::size_t kept = 0;
        for (Witness w : frame.witnesses) {
            if (w.at < after || w.at > m_text.size() || length > m_text.size() - w.at) {
                continue;
            }
            if (length > w.checked) {
                if (!sameText(data + frame.start + w.checked, data + w.at + w.checked,
                              length - w.checked)) {
                    continue;
                }
                w.checked = length;
            }
            frame.witnesses[kept++] = w;
            found = found || literalAt(witness + 1, w.at + length);
        }
        frame.witnesses.resize(kept);
        if (kept == 0) {
            return Verdict::Dead;
        }
        return found ? Verdict::Pass : Verdict::Skip;
    }

    const std::vector<std::size_t> &allOccurrences(int piece) {
        const auto k = static_cast<std::size_t>(piece);
        std::vector<std::size_t> &all = m_allOccurrences[k];
        if (!m_counted[k]) {
            m_counted[k] = true;
            const Finder &finder = m_layout.finders[k];
            for (std::size_t at = finder.find(m_text, 0, kNone); at != kNone;
                 at = finder.find(m_text, at + 1, kNone)) {
                all.push_back(at);
            }
        }
        return all;
    }

    // Failure reports. An attempt's reach is the first place, in the order of the text, where
    // it disagrees with the text; the furthest reach over all attempts is reported.

    /** The attempt failed at reach at the latest; the first values of the run may differ
     *  sooner. */
    void failedAt(std::size_t reach, std::u16string_view expected, std::size_t runValues) {
        if (m_failed && reach <= m_reach) {
            return;
        }
        for (std::size_t i = 0; i < runValues; ++i) {
            const auto [at, hole] = m_run[i];
            const std::u16string_view value = valueOf(hole);
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

    void record(std::size_t reach, std::u16string_view expected) {
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

    void literalFailed(int piece, std::size_t pos) {
        const std::u16string_view literal = literalOf(piece);
        const std::size_t available = pos <= m_text.size() ? m_text.size() - pos : 0;
        const std::size_t same =
            commonLength(m_text.data() + pos, literal.data(), std::min(literal.size(), available));
        failedAt(pos + same, literal.substr(same), m_run.size());
    }

    /** The value of the run at runIndex differs from the text (or runs past its end). */
    void valueFailed(std::size_t runIndex) {
        const auto [at, hole] = m_run[runIndex];
        failedAt(at + m_length[static_cast<std::size_t>(hole)], {}, runIndex + 1);
    }

    void noteUnplaced(int piece, std::size_t start) {
        auto &first = m_unplaced[static_cast<std::size_t>(piece)];
        first = std::min(first, start);
    }

    /**
     * A literal could not be placed anywhere after start. Reports the first place that matches
     * at least half as much of it as the best place does, which is where the text most likely
     * departs from it; when not even its first character occurs, the text ends too early.
     */
    void diagnoseUnplaced(int piece, std::size_t start) {
        const std::u16string_view literal = literalOf(piece);
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
            record(m_text.size(), literal);
            return;
        }
        for (std::size_t at = start; at < m_text.size(); ++at) {
            const std::size_t same = matched(at);
            if (2 * same < best) {
                continue;
            }
            if (same < literal.size()) {
                record(at + same, literal.substr(same));
            } else if (piece == m_layout.lastPiece) {
                record(at + same, {});
            }
            return;
        }
    }

    const Layout &m_layout;
    bool m_lengthChecks;
    std::u16string_view m_text;
    std::array<std::size_t, kHoleCount> m_start{};
    std::array<std::size_t, kHoleCount> m_length{};
    std::vector<Frame> m_frames;
    std::vector<std::pair<std::size_t, int>> m_run;  ///< repeated values of the current walk
    std::vector<Occurrences> m_occurrences;          ///< of each piece's literal
    std::vector<std::vector<std::size_t>> m_allOccurrences;
    std::vector<bool> m_counted;
    std::vector<std::size_t> m_unplaced;    ///< of each literal: the first start it was sought from
    std::vector<std::size_t> m_failedFrom;  ///< of each Free hole: the first start known to fail
    std::vector<int> m_witness;             ///< of each First hole: the anchor its checks use
    bool m_failed = false;
    std::size_t m_reach = 0;
    std::u16string_view m_expected;
};

/** The text with each line end made CR LF, when all of them are LF or all are CR. */
std::u16string_view withLineEnds(std::u16string_view text, std::u16string &buffer) {
    const bool cr = text.find(u'\r') != std::u16string_view::npos;
    const bool lf = text.find(u'\n') != std::u16string_view::npos;
    if (cr == lf) {
        return text;
    }
    const char16_t end = cr ? u'\r' : u'\n';
    buffer.reserve(text.size() +
                   static_cast<std::size_t>(std::count(text.begin(), text.end(), end)));
    for (char16_t c : text) {
        if (c == end) {
            buffer.append(u"\r\n");
        } else {
            buffer.push_back(c);
        }
    }
    return buffer;
}

/** 1-based line and column of pos; CR LF, CR and LF each end a line. */
std::pair<int, int> lineAndColumn(std::u16string_view text, std::size_t pos) {
    if (pos > 0 && pos < text.size() && text[pos] == u'\n' && text[pos - 1] == u'\r') {
        --pos;
    }
    int line = 1;
    int column = 1;
    for (std::size_t i = 0; i < pos; ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < pos && text[i + 1] == u'\n') {
                ++i;
            }
            ++line;
            column = 1;
        } else if (!(c >= 0xDC00 && c <= 0xDFFF && i > 0 && text[i - 1] >= 0xD800 &&
                     text[i - 1] <= 0xDBFF)) {
            ++column;
        }
    }
    return {line, column};
}

std::u16string snippet(std::u16string_view expected) {
    std::size_t length = std::min(expected.size(), kExpectedLength);
    if (length > 0 && length < expected.size() && expected[length - 1] >= 0xD800 &&
        expected[length - 1] <= 0xDBFF) {
        --length;
    }
    return std::u16string(expected.substr(0, length));
}

}  // namespace

ImportResult importCss(std::u16string_view text, const StyleValues &current) {
    if (text.starts_with(u'\uFEFF')) {
        text.remove_prefix(1);  // the byte order mark some editors write, which none of them shows
    }
    std::u16string buffer;
    const std::u16string_view normalized = withLineEnds(text, buffer);
    std::u16string_view code = trimEnd(normalized);
    // Blank space before the code, as a copy from the shop editor can have, is skipped; positions
    // are still reported in the text as given.
    std::size_t lead = 0;
    while (lead < code.size() && isSpace(code[lead])) {
        ++lead;
    }
    code.remove_prefix(lead);
    Search search(code, true);
    if (search.run()) {
        StyleValues values = current;
        search.fill(values);
        return values;
    }
    // The length checks can refuse a text long before its fault; look for the fault without them.
    Search diagnosis(code, false);
    diagnosis.run();
    const Failure failure = diagnosis.failure();
    const auto [line, column] = lineAndColumn(normalized, lead + failure.reach);
    std::string message = "does not match the navigation code here";
    if (failure.expected.empty()) {
        message = "the navigation code ends here, but the text goes on";
    } else if (failure.reach >= code.size()) {
        message = "the text ends before the navigation code does";
    }
    return ImportError{line, column, snippet(failure.expected), std::move(message)};
}

}  // namespace velmora
