#pragma once

// Internal to the core (like plan.h): the importer's search for values from which the generator
// writes a given text.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "generator.h"
#include "importfailure.h"
#include "importlayout.h"
#include "plan.h"
#include "textfinder.h"

namespace velmora::importing {

/**
 * The reading of one text: a depth-first search over where each value ends, with an explicit
 * stack of the open choices. Fixed text and repeated values between two choices are checked
 * directly; a choice is made only where a value appears for the first time.
 */
class Search {
public:
    /** A search of text; with lengthChecks false, values may be of any length that fits the text
     *  (slower, but a failed attempt then gets as far as its fixed text allows). */
    Search(std::u16string_view text, bool lengthChecks);

    /** Whether values exist that give the text; if so, fill() writes them. */
    bool run();

    /**
     * Sets the values the text determines, after run() returned true. The one place where the
     * text read at a hole becomes the hole's value.
     */
    void fill(StyleValues &values) const;

    /** Where the reading stopped, after run() returned false. */
    Failure failure();

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

    /** What the text of a hole must be. */
    enum class Form : std::uint8_t {
        Any,     ///< a plain hole: any text
        Url,     ///< a wrapped hole whose text begins with "url(": it must end with ")"
        Colour,  ///< any other wrapped hole: a colour as the generator writes one
    };

    /** An open choice: where the value of one hole ends. */
    struct Frame {
        int piece;                    ///< the hole of this piece
        std::size_t start;            ///< where its value starts
        std::size_t next;             ///< where to look for the next place it could end
        std::size_t last;             ///< the last place it may end
        Form form;                    ///< what its text must be
        bool once;                    ///< only the first place need be tried
        bool cutByFailure;            ///< last was lowered because what follows is known to fail
        bool checksAhead;             ///< each end is checked against witnesses first
        int tried;                    ///< ends handed out so far
        std::size_t refused = kNone;  ///< the first end whose text was not of its form
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
    Step walk(int piece, std::size_t pos, int &choice, std::size_t &start);
    /** Opens the choice of where the value of piece's hole, starting at start, ends. */
    void enter(int piece, std::size_t start);
    /** What the text of piece's hole, starting at start, must be. */
    Form formAt(int piece, std::size_t start) const;
    /** Whether the text of the frame's hole up to end is of the frame's form. */
    bool ofForm(const Frame &frame, std::size_t end) const;
    /** The frame ends with no place left: says why, where the reading may have gone wrong. */
    void noteNoEnd(const Frame &frame);
    /** The next place where the frame's value can end, or kNone when none is left. */
    std::size_t nextEnd(Frame &frame);
    /** Records that every end from the frame's start on failed, where that is worth knowing. */
    void leave(const Frame &frame);

    /**
     * The anchor whose literal occurs least often in the text. The value chosen at a First hole
     * must also stand at its later places, and checking one of them that can be found from few
     * places rules out most wrong ends cheaply.
     */
    int chooseWitness(int piece);
    /** Gives the frame the witnesses of its anchor at or after its start, if it has one. */
    void startChecks(Frame &frame);
    /**
     * Whether the value from the frame's start to end also stands at some witness, followed by
     * its literal. Witnesses that disagree are dropped for good, since longer values would too.
     */
    Verdict checkAhead(Frame &frame, std::size_t end);
    /** Every place where piece's literal occurs in the text, found on first use. */
    const std::vector<std::size_t> &allOccurrences(int piece);

    const Layout &m_layout;
    bool m_lengthChecks;
    std::u16string_view m_text;
    std::array<std::size_t, kHoleCount> m_start{};
    std::array<std::size_t, kHoleCount> m_length{};
    std::vector<Frame> m_frames;
    std::vector<Repeat> m_run;                     ///< repeated values of the current walk
    std::vector<Occurrences> m_occurrences;        ///< of each piece's literal
    std::vector<Occurrences> m_closedOccurrences;  ///< of ")" and each piece's literal
    std::vector<std::vector<std::size_t>> m_allOccurrences;
    std::vector<bool> m_counted;
    std::vector<std::size_t> m_failedFrom;  ///< of each Free hole: the first start known to fail
    std::vector<int> m_witness;             ///< of each First hole: the anchor its checks use
    FailureReport m_report;
};

}  // namespace velmora::importing
