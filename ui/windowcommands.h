#pragma once

#include <functional>
#include <string>

#include "core/generator.h"
#include "platform/clipboard.h"
#include "platform/messageboxes.h"
#include "platform/screen.h"
#include "platform/urlopener.h"

namespace velmora {

/** How handing the generated text to the clipboard went. */
struct CopyResult {
    bool copied = false;  ///< the clipboard read back exactly the text that was set
    int attempts = 0;
};

/** Attempts made at most before a copy counts as failed. */
inline constexpr int kMaxCopyAttempts = 10000;

/**
 * Puts text on the clipboard: clear, set, read back, repeated until the read-back equals text,
 * for at most maxAttempts attempts. A clipboard operation that reports a failure ends the copy
 * at once, as failed.
 */
CopyResult copyToClipboard(Clipboard &clipboard, const std::u16string &text,
                           int maxAttempts = kMaxCopyAttempts);

/** A position in device-independent pixels. */
struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point &) const = default;
};

/**
 * Where the window's outer top-left corner goes: centred on the screen, except that it is kept
 * inside the screen's available area, so that the title bar stays reachable on a screen smaller
 * than the window.
 */
Point centredTopLeft(const Screen &screen, int outerWidth, int outerHeight);

/**
 * The window's commands, independent of the toolkit: each takes the values from the boxes,
 * does its work through the platform, tells the user the outcome, and returns what the window
 * must show. None of them ends the program.
 */
class WindowCommands {
public:
    /** The platform services are borrowed and must outlive the commands. */
    WindowCommands(Clipboard &clipboard, MessageBoxes &messages, UrlOpener &urlOpener,
                   std::string shopUrl);

    /**
     * Generate: writes the style sheet of values into output (reusing its memory), copies it
     * to the clipboard and shows the success message, or the copy-failed message when the
     * clipboard did not take it.
     */
    CopyResult generate(const StyleValues &values, std::u16string &output);

    /**
     * Clear: asks for confirmation; on Yes empties slots 1 to 16 and the image boxes of values.
     * @return whether the values were cleared.
     */
    bool clear(StyleValues &values);

    /**
     * Opens the maker's shop page in the browser; when no browser can take it, shows a message
     * that gives the address. @return whether the page was handed over.
     */
    bool openShopLink();

    /**
     * Runs one of the window's commands. The one place where an unexpected failure (an
     * exception) is caught: it is reported in a message box that says nothing was lost, and
     * the window carries on.
     */
    void run(const std::function<void()> &command);

private:
    void reportFailure(const std::string &reason);

    Clipboard &m_clipboard;
    MessageBoxes &m_messages;
    UrlOpener &m_urlOpener;
    std::string m_shopUrl;
};

}  // namespace velmora
