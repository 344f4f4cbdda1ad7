#include "windowcommands.h"

#include <cmath>

#include "core/messages.h"
#include "core/utf.h"

namespace velmora {

CopyResult copyToClipboard(Clipboard &clipboard, const std::u16string &text, int maxAttempts) {
    CopyResult result;
    while (result.attempts < maxAttempts) {
        ++result.attempts;
        if (!clipboard.clear() || !clipboard.setText(text)) {
            return result;
        }
        const std::optional<std::u16string> readBack = clipboard.text();
        if (!readBack) {
            return result;
        }
        // Only our own text counts: another program's text arriving in between is no copy.
        if (*readBack == text) {
            result.copied = true;
            return result;
        }
    }
    return result;
}

Point centredTopLeft(const Screen &screen, int outerWidth, int outerHeight) {
    const Rect whole = screen.geometry();
    const Rect available = screen.availableGeometry();
    const auto centre = [](int start, int screenLength, int windowLength) {
        return start + static_cast<int>(std::lround(screenLength / 2.0 - windowLength / 2.0));
    };
    Point corner{centre(whole.x, whole.width, outerWidth),
                 centre(whole.y, whole.height, outerHeight)};
    if (available.width > 0 && available.height > 0) {
        corner.x = std::max(corner.x, available.x);
        corner.y = std::max(corner.y, available.y);
    }
    return corner;
}

WindowCommands::WindowCommands(Clipboard &clipboard, MessageBoxes &messages, UrlOpener &urlOpener,
                               std::string shopUrl)
    : m_clipboard(clipboard),
      m_messages(messages),
      m_urlOpener(urlOpener),
      m_shopUrl(std::move(shopUrl)) {}

CopyResult WindowCommands::generate(const StyleValues &values, std::u16string &output) {
    generateCss(values, output);
    const CopyResult result = copyToClipboard(m_clipboard, output);
    if (result.copied) {
        m_messages.inform(std::u16string(messages::kCopiedCaption),
                          std::u16string(messages::kCopiedPrompt));
    } else {
        m_messages.inform(std::u16string(messages::kCopyFailedCaption),
                          std::u16string(messages::kCopyFailedPrompt));
    }
    return result;
}

bool WindowCommands::clear(StyleValues &values) {
    if (!m_messages.askYesNo(std::u16string(messages::kClearCaption),
                             std::u16string(messages::kClearPrompt))) {
        return false;
    }
    clearValues(values);
    return true;
}

bool WindowCommands::openShopLink() {
    if (m_urlOpener.open(m_shopUrl)) {
        return true;
    }
    m_messages.inform(
        std::u16string(messages::kLinkFailedCaption),
        std::u16string(messages::kLinkFailedPrompt) + utf16FromUtf8(m_shopUrl).value_or(u""));
    return false;
}

void WindowCommands::run(const std::function<void()> &command) {
    try {
        command();
    } catch (const std::exception &error) {
        reportFailure(error.what());
    } catch (...) {
        reportFailure("unknown error");
    }
}

void WindowCommands::reportFailure(const std::string &reason) {
    m_messages.inform(
        std::u16string(messages::kErrorCaption),
        std::u16string(messages::kErrorPrompt) + utf16FromUtf8(reason).value_or(u"未知错误"));
}

}  // namespace velmora
