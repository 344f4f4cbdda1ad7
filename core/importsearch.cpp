#include "importsearch.h"

#include <algorithm>
#include <span>
#include <utility>

namespace velmora::importing {

namespace {

constexpr std::u16string_view kUrlOpen = u"url(";

}  // namespace

Search::Search(std::u16string_view text, bool lengthChecks)
    : m_layout(layout()),
      m_lengthChecks(lengthChecks),
      m_text(text),
      m_occurrences(m_layout.literals.size()),
      m_closedOccurrences(m_layout.literals.size()),
      m_allOccurrences(m_layout.literals.size()),
      m_counted(m_layout.literals.size(), false),
      m_failedFrom(m_layout.holes.size(), kNone),
      m_witness(m_layout.holes.size(), kWitnessUnknown),
      m_report(text, m_layout) {}

bool Search::run() {
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

void Search::fill(StyleValues &values) const {
    for (int piece = 0; piece < m_layout.lastPiece; ++piece) {
        if (m_layout.kinds[static_cast<std::size_t>(piece)] != Kind::Later) {
            const auto hole = static_cast<std::size_t>(holeOf(piece));
            std::u16string_view text = m_text.substr(m_start[hole], m_length[hole]);
            if (m_layout.wrapped[static_cast<std::size_t>(piece)] && text.starts_with(kUrlOpen)) {
                text = text.substr(kUrlOpen.size(), text.size() - kUrlOpen.size() - 1);
            }
            holeValue(values, static_cast<int>(hole)) = text;
        }
    }
}

Failure Search::failure() { return m_report.failure(); }

Search::Step Search::walk(int piece, std::size_t pos, int &choice, std::size_t &start) {
    m_run.clear();
    bool ended = false;
    for (;;) {
        if (!literalAt(piece, pos)) {
            m_report.literalFailed(piece, pos, m_run);
            return Step::Failed;
        }
        pos += literalOf(piece).size();
        if (piece == m_layout.lastPiece) {
            if (pos != m_text.size()) {
                m_report.failedAt(pos, {}, m_run);
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
        const std::u16string_view value = valueOf(holeOf(piece));
        m_run.push_back({pos, value});
        if (value.size() > m_text.size() - pos) {
            m_report.valueFailed(m_run);
            return Step::Failed;
        }
        pos += value.size();
        ++piece;
    }
    for (std::size_t i = 0; i < m_run.size(); ++i) {
        const auto [at, value] = m_run[i];
        if (!sameText(m_text.data() + at, value.data(), value.size())) {
            m_report.valueFailed(std::span<const Repeat>(m_run).first(i + 1));
            return Step::Failed;
        }
    }
    return ended ? Step::Done : Step::Choice;
}

void Search::enter(int piece, std::size_t start) {
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
    Frame frame{piece, start, start, room, formAt(piece, start), false, false, false, 0, kNone, {}};
    if (frame.form == Form::Colour) {
        // A colour is "#" and six digits at most, a name of seven letters at most, or rgb() or
        // rgba(), whose numbers hold no ")".
        std::size_t reach = start + 7;
        if (m_text.size() - start > 3 && (m_text[start] | 0x20) == u'r' &&
            (m_text[start + 1] | 0x20) == u'g' && (m_text[start + 2] | 0x20) == u'b') {
            const std::size_t close = m_text.substr(0, frame.last).find(u')', start);
            reach = close == std::u16string_view::npos ? start : close + 1;
        }
        frame.last = std::min(frame.last, reach);
    }
    switch (kindOf(piece)) {
        case Kind::Free:
            // Every end from a failed start on was tried, and failed. An address from a later
            // start has only those ends; a colour has too few to be worth the bookkeeping.
            if (frame.form != Form::Colour && start >= m_failedFrom[k]) {
                return;
            }
            if (frame.form == Form::Any && m_failedFrom[k] != kNone &&
                m_failedFrom[k] - 1 < frame.last) {
                frame.last = m_failedFrom[k] - 1;
                frame.cutByFailure = true;
            }
            // Followed by a single literal and another such value: if any place works, the
            // first does, since the next value can take up whatever lies between. A wrapped
            // value cannot.
            frame.once = piece + 1 == m_layout.lastPiece ||
                         (kindOf(piece + 1) == Kind::Free &&
                          !m_layout.wrapped[static_cast<std::size_t>(piece + 1)]);
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

std::size_t Search::nextEnd(Frame &frame) {
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
        } else if (frame.form == Form::Url) {
            // An address ends where ")" and the literal stand, after "url(" at least.
            const auto k = static_cast<std::size_t>(following);
            const std::size_t from = std::max(frame.next, frame.start + kUrlOpen.size() + 1);
            const std::size_t close =
                from > frame.last ? kNone
                                  : m_closedOccurrences[k].next(m_layout.closedFinders[k], m_text,
                                                                from - 1, frame.last - 1);
            end = close == kNone ? kNone : close + 1;
        } else {
            end = m_occurrences[static_cast<std::size_t>(following)].next(
                m_layout.finders[static_cast<std::size_t>(following)], m_text, frame.next,
                frame.last);
        }
        if (end == kNone) {
            noteNoEnd(frame);
            return kNone;
        }
        frame.next = end + 1;
        if (!ofForm(frame, end)) {
            frame.refused = std::min(frame.refused, end);
            continue;
        }
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

Search::Form Search::formAt(int piece, std::size_t start) const {
    if (!m_layout.wrapped[static_cast<std::size_t>(piece)]) {
        return Form::Any;
    }
    return m_text.substr(start).starts_with(kUrlOpen) ? Form::Url : Form::Colour;
}

bool Search::ofForm(const Frame &frame, std::size_t end) const {
    switch (frame.form) {
        case Form::Any:
            return true;
        case Form::Url:
            return end >= frame.start + kUrlOpen.size() + 1 && m_text[end - 1] == u')';
        case Form::Colour:
            return writtenAsColour(m_text.substr(frame.start, end - frame.start));
    }
    return false;
}

void Search::noteNoEnd(const Frame &frame) {
    if (frame.tried > 0) {
        return;
    }
    if (frame.form == Form::Colour) {
        // Neither an address nor a colour: most likely "url(" is missing or mistyped.
        const std::size_t same =
            commonLength(m_text.data() + frame.start, kUrlOpen.data(),
                         std::min(kUrlOpen.size(), m_text.size() - frame.start));
        m_report.failedAt(frame.start + same, kUrlOpen.substr(same), {});
    } else if (frame.refused != kNone) {
        m_report.failedAt(frame.refused, u")", {});
    }
    if (frame.next == frame.start && !frame.cutByFailure) {
        m_report.noteUnplaced(frame.piece + 1, frame.start, frame.form == Form::Url);
    }
}

void Search::leave(const Frame &frame) {
    if (kindOf(frame.piece) == Kind::Free && frame.form != Form::Colour) {
        // What follows such a value does not depend on anything before it, and its start
        // only matters through the ends it allows, which the frame tried from start on.
        auto &failed = m_failedFrom[static_cast<std::size_t>(frame.piece)];
        failed = std::min(failed, frame.start);
    }
}

int Search::chooseWitness(int piece) {
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

void Search::startChecks(Frame &frame) {
    int &witness = m_witness[static_cast<std::size_t>(frame.piece)];
    if (witness == kWitnessUnknown) {
        witness = chooseWitness(frame.piece);
    }
    if (witness == kNoWitness) {
        return;
    }
    frame.checksAhead = true;
    const Anchor anchor =
        m_layout.anchors[static_cast<std::size_t>(frame.piece)][static_cast<std::size_t>(witness)];
    const std::vector<std::size_t> &all = allOccurrences(anchor.piece);
    std::size_t skip = literalOf(anchor.piece).size();
    for (int between = anchor.piece; between < anchor.place; ++between) {
        skip += m_length[static_cast<std::size_t>(holeOf(between))] + literalOf(between + 1).size();
    }
    for (auto at = std::lower_bound(all.begin(), all.end(), frame.start); at != all.end(); ++at) {
        frame.witnesses.push_back({*at + skip, 0});
    }
}

Search::Verdict Search::checkAhead(Frame &frame, std::size_t end) {
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

const std::vector<std::size_t> &Search::allOccurrences(int piece) {
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

}  // namespace velmora::importing
