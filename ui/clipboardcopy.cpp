#include "clipboardcopy.h"

namespace velmora {

CopyResult copyToClipboard(Clipboard &clipboard, const std::u16string &text, int maxAttempts,
                           std::chrono::milliseconds timeLimit) {
    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    CopyResult result;
    struct Finish {
        Clipboard &clipboard;
        ~Finish() { clipboard.copyFinished(); }
    } finish{clipboard};
    while (result.attempts < maxAttempts &&
           (result.attempts == 0 || std::chrono::steady_clock::now() < deadline)) {
        ++result.attempts;
        if (!clipboard.clear() || !clipboard.setText(text)) {
            return result;
        }
        const std::optional<bool> holds = clipboard.holds(text);
        if (!holds) {
            return result;
        }
        // Only our own text counts: another program's text arriving in between is no copy.
        if (*holds) {
            result.copied = true;
            return result;
        }
    }
    return result;
}

}  // namespace velmora
