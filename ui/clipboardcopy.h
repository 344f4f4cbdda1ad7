#pragma once

// Handing the generated text to the clipboard, made sure of by reading it back.

#include <chrono>
#include <string>

#include "platform/clipboard.h"

namespace velmora {

/** How handing the generated text to the clipboard went. */
struct CopyResult {
    bool copied = false;  ///< the clipboard read back exactly the text that was set
    int attempts = 0;
};

/** Attempts made at most before a copy counts as failed. */
inline constexpr int kMaxCopyAttempts = 10000;

/** How long the attempts may take in all before a copy counts as failed. */
inline constexpr std::chrono::milliseconds kMaxCopyTime{1000};

/**
 * Puts text on the clipboard: clear, set, read back, repeated until the read-back equals text,
 * for at most maxAttempts attempts and no new attempt once timeLimit has passed. A clipboard
 * operation that reports a failure ends the copy at once, as failed. Ends with
 * Clipboard::copyFinished(), however it ends.
 */
CopyResult copyToClipboard(Clipboard &clipboard, const std::u16string &text,
                           int maxAttempts = kMaxCopyAttempts,
                           std::chrono::milliseconds timeLimit = kMaxCopyTime);

}  // namespace velmora
