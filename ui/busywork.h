#pragma once

// The window's busy cursor over the form's work, such as opening a values file of megabytes.

#include <functional>

#include "platform/dialogs.h"
#include "platform/messageboxes.h"

namespace velmora {

/**
 * Whether the form is at work, told to the window (show(true), then show(false)) from the start
 * of the outermost Scope to its end. The message boxes and dialogs the form shows go through
 * this object, which lifts the busy state while one waits for the owner: the window looks busy
 * exactly while it cannot answer.
 */
class BusyWork final : public MessageBoxes, public Dialogs {
public:
    /** Works through messages and dialogs, borrowed; show tells the window. */
    BusyWork(MessageBoxes &messages, Dialogs &dialogs, std::function<void(bool)> show);

    BusyWork(const BusyWork &) = delete;
    BusyWork &operator=(const BusyWork &) = delete;

    /** Busy from its making to its end, unless an outer one already is. */
    class Scope {
    public:
        explicit Scope(BusyWork &work);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        BusyWork &m_work;
    };

    void inform(const std::u16string &caption, const std::u16string &prompt) override;
    bool askYesNo(const std::u16string &caption, const std::u16string &prompt) override;
    std::optional<Rgb> chooseColour(Rgb initial) override;
    std::optional<std::filesystem::path> chooseFile(const std::u16string &caption,
                                                    const std::u16string &filter,
                                                    bool save) override;
    std::optional<std::filesystem::path> chooseSaveFile(const std::u16string &caption,
                                                        const std::u16string &filter,
                                                        const std::filesystem::path &folder,
                                                        const std::u16string &name) override;

private:
    /** Runs ask, which waits for the owner, with the busy state lifted meanwhile. */
    template <typename Ask>
    auto waitingForOwner(Ask ask);

    MessageBoxes &m_messages;
    Dialogs &m_dialogs;
    std::function<void(bool)> m_show;
    int m_depth = 0;
};

}  // namespace velmora
