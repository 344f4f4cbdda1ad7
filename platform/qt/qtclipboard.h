#pragma once

#include "platform/clipboard.h"

namespace velmora {

/**
 * The desktop clipboard through Qt. Qt reports no errors from its clipboard, so clear and
 * setText always answer true; a failed copy shows in what text() reads back. On X11, once another
 * program has taken the clipboard, text() and holds() answer at once as for text that is not
 * ours, rather than wait on that program. On X11, text() reads
 * only the program's own text: once another program owns the clipboard it answers empty text
 * at once instead of waiting on that program.
 */
class QtClipboard final : public Clipboard {
public:
    bool clear() override;
    bool setText(const std::u16string &text) override;
    std::optional<std::u16string> text() override;
    std::optional<bool> holds(const std::u16string &text) override;
};

}  // namespace velmora
