#include "busywork.h"

#include <utility>

namespace velmora {

BusyWork::BusyWork(MessageBoxes &messages, Dialogs &dialogs, std::function<void(bool)> show)
    : m_messages(messages), m_dialogs(dialogs), m_show(std::move(show)) {}

BusyWork::Scope::Scope(BusyWork &work) : m_work(work) {
    if (m_work.m_depth++ == 0) {
        m_work.m_show(true);
    }
}

BusyWork::Scope::~Scope() {
    if (--m_work.m_depth == 0) {
        m_work.m_show(false);
    }
}

template <typename Ask>
auto BusyWork::waitingForOwner(Ask ask) {
    struct Lifted {
        BusyWork &work;
        int depth;
        explicit Lifted(BusyWork &w) : work(w), depth(std::exchange(w.m_depth, 0)) {
            if (depth > 0) {
                work.m_show(false);
            }
        }
        ~Lifted() {
            // A dialog that answers by exception still leaves the work busy again.
            if (depth > 0) {
                work.m_show(true);
            }
            work.m_depth = depth;
        }
    } lifted(*this);
    return ask();
}

void BusyWork::inform(const std::u16string &caption, const std::u16string &prompt) {
    waitingForOwner([&] { m_messages.inform(caption, prompt); });
}

bool BusyWork::askYesNo(const std::u16string &caption, const std::u16string &prompt) {
    return waitingForOwner([&] { return m_messages.askYesNo(caption, prompt); });
}

std::optional<Rgb> BusyWork::chooseColour(Rgb initial) {
    return waitingForOwner([&] { return m_dialogs.chooseColour(initial); });
}

std::optional<std::filesystem::path> BusyWork::chooseFile(const std::u16string &caption,
                                                          const std::u16string &filter, bool save) {
    return waitingForOwner([&] { return m_dialogs.chooseFile(caption, filter, save); });
}

std::optional<std::filesystem::path> BusyWork::chooseSaveFile(const std::u16string &caption,
                                                              const std::u16string &filter,
                                                              const std::filesystem::path &folder,
                                                              const std::u16string &name) {
    return waitingForOwner([&] { return m_dialogs.chooseSaveFile(caption, filter, folder, name); });
}

}  // namespace velmora
