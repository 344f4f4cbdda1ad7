#pragma once

#include <QMimeData>
#include <QPointer>

#include "platform/clipboard.h"

namespace velmora {

/**
 * The desktop clipboard through Qt. Qt reports no errors from its clipboard, so clear and
 * setText always answer true; a failed copy shows in what holds() reads back.
 *
 * holds() never asks another program: on X11, a program that has taken the clipboard is asked
 * for its text and may never answer, which would stop the window for Qt's time-out on every
 * read. So it checks with the X server whether the clipboard is still ours and then compares
 * the text we put there.
 *
 * While another program keeps taking the clipboard, Qt warns at every attempt of a copy, some
 * thousands of lines a second in the desktop's log. So while a QtClipboard exists, Qt's
 * clipboard warnings are held back, and copyFinished() writes one line of its own instead.
 */
class QtClipboard final : public Clipboard {
public:
    /** Holds back Qt's clipboard warnings; one QtClipboard at a time. */
    QtClipboard();
    /** Lets Qt's clipboard warnings through again. */
    ~QtClipboard() override;

    QtClipboard(const QtClipboard &) = delete;
    QtClipboard &operator=(const QtClipboard &) = delete;

    bool clear() override;
    bool setText(const std::u16string &text) override;
    std::optional<std::u16string> text() override;
    std::optional<bool> holds(const std::u16string &text) override;
    /** Writes one warning line when Qt's clipboard warnings were held back since the last. */
    void copyFinished() override;

private:
    QPointer<QMimeData> m_ours;  // what setText put there, until the clipboard lets it go
};

}  // namespace velmora
