#pragma once

#include "platform/clipboard.h"

namespace velmora {

/**
 * The desktop clipboard through Qt. Qt reports no errors from its clipboard, so clear and
 * setText always answer true; a failed copy shows in what text() reads back.
 */
class QtClipboard final : public Clipboard {
public:
    bool clear() override;
    bool setText(const std::u16string &text) override;
    std::optional<std::u16string> text() override;
};

}  // namespace velmora
