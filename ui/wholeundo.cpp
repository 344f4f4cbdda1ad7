#include "wholeundo.h"

#include "ui/commands.h"

namespace velmora {

void WholeUndo::record(const StyleValues &before, const StyleValues &after,
                       std::u16string_view what) {
    if (m_changes.size() == kKept) {
        m_changes.erase(m_changes.begin());
    }
    Change change{{}, what};
    for (int box = 0; box < kBoxCount; ++box) {
        if (before.box(box) != after.box(box)) {
            change.boxes.push_back({box, before.box(box), after.box(box)});
        }
    }
    m_changes.push_back(std::move(change));
}

std::optional<std::u16string> WholeUndo::text() const {
    if (m_changes.empty()) {
        return std::nullopt;
    }
    return std::u16string(kUndoWholeEntry.text) + u"（" + std::u16string(m_changes.back().what) +
           u"）";
}

std::optional<StyleValues> WholeUndo::takeBack(const StyleValues &current) {
    if (m_changes.empty()) {
        return std::nullopt;
    }
    Change change = std::move(m_changes.back());
    m_changes.pop_back();
    StyleValues restored = current;
    for (BoxChange &set : change.boxes) {
        if (restored.box(set.box) == set.after) {
            restored.box(set.box) = std::move(set.before);
        }
    }
    return restored;
}

}  // namespace velmora
