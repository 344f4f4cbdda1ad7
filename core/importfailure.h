#pragma once

// Internal to the core (like plan.h): where and why the importer's reading of a text was refused.

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "importlayout.h"

namespace velmora::importing {

/** The furthest point an attempt got to, and what it expected there. */
struct Failure {
    std::size_t reach;
    std::u16string_view expected;  ///< empty when the code should have ended there
};

/** A repeated value at one of its later places in the text. */
struct Repeat {
    std::size_t at;             ///< where it stands there
    std::u16string_view value;  ///< the value as read at its first place
};

/**
 * The failures of the attempts to read one text. An attempt's reach is the first place, in the
 * order of the text, where it disagrees with the text; the furthest reach over all attempts is
 * reported.
 */
class FailureReport {
public:
    /** A report on readings of text by layout's pieces; both must outlive it. */
    FailureReport(std::u16string_view text, const Layout &layout);

    /**
     * An attempt failed at reach at the latest, where expected should have stood; the values of
     * repeats, which it took as repeated between its last choice and reach, may differ sooner.
     */
    void failedAt(std::size_t reach, std::u16string_view expected, std::span<const Repeat> repeats);
    /** An attempt did not find piece's literal at pos, after taking repeats as repeated. */
    void literalFailed(int piece, std::size_t pos, std::span<const Repeat> repeats);
    /** An attempt found the last of repeats not repeated (it differs or runs past the end). */
    void valueFailed(std::span<const Repeat> repeats);
    /**
     * piece's literal (with closed, the ")" of an address before it) was looked for from start
     * on and found at no place it could stand.
     */
    void noteUnplaced(int piece, std::size_t start, bool closed);

    /** Where the reading got furthest, once every attempt has failed. */
    Failure failure();

private:
    void record(std::size_t reach, std::u16string_view expected);
    /**
     * A literal could not be placed anywhere after start. Reports the first place that matches
     * at least half as much of it as the best place does, which is where the text most likely
     * departs from it; when not even its first character occurs, the text ends too early.
     * expected is the literal and what follows it there.
     */
    void diagnoseUnplaced(std::u16string_view literal, std::u16string_view expected, bool last,
                          std::size_t start);

    const Layout &m_layout;
    std::u16string_view m_text;
    std::vector<std::size_t> m_unplaced;  ///< of each literal: the first start it was sought from
    std::vector<std::size_t> m_unplacedClosed;  ///< the same for ")" and the literal
    bool m_failed = false;
    std::size_t m_reach = 0;
    std::u16string_view m_expected;
};

}  // namespace velmora::importing
