#pragma once

// The changes of the whole form that the window's undo entry takes back (a palette, Clear,
// Import, a values file), the latest first.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/generator.h"

namespace velmora {

/** The last changes of the whole form, each with the values before and after it. */
class WholeUndo final {
public:
    /** Changes kept; the oldest is forgotten when one more is made. */
    static constexpr std::size_t kKept = 20;

    /**
     * Remembers a change of the whole form from before to after, what (a message text that
     * outlives the form) naming it in the undo entry.
     */
    void record(const StyleValues &before, const StyleValues &after, std::u16string_view what);

    /**
     * The undo entry's text, naming the latest change ("撤销整体修改（清空）"); nothing when there
     * is none to take back.
     */
    std::optional<std::u16string> text() const;

    /**
     * Takes back the latest change from current, the values now: each box the change set and
     * nobody has changed since gets its value from before it; a box typed in since keeps what was
     * typed. Nothing, and nothing forgotten, when there is no change to take back.
     */
    std::optional<StyleValues> takeBack(const StyleValues &current);

private:
    /** One box a change set, with its value before and after. */
    struct BoxChange {
        int box;
        std::u16string before;
        std::u16string after;
    };
    /** Only the boxes that changed are kept: a box elsewhere may hold a value of megabytes. */
    struct Change {
        std::vector<BoxChange> boxes;
        std::u16string_view what;
    };
    std::vector<Change> m_changes;  // the latest last
};

}  // namespace velmora
