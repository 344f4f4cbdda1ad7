#include "program.h"

#include <exception>
#include <memory>

#include "core/utf.h"
#include "platform/win32/win32clipboard.h"
#include "platform/win32/win32dialogs.h"
#include "platform/win32/win32messageboxes.h"
#include "platform/win32/win32urlopener.h"
#include "ui/messages.h"
#include "ui/win32/win32window.h"

namespace velmora {

namespace {

constexpr int kStartFailed = 1;

int reportStartFailure(const std::string &reason) {
    const std::u16string prompt =
        std::u16string(messages::kStartFailedPrompt) + utf16FromUtf8(reason).value_or(u"未知错误");
    const std::u16string caption(messages::kStartFailedCaption);
    // No window is left to own the box.
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t *>(prompt.c_str()),
                reinterpret_cast<const wchar_t *>(caption.c_str()), MB_OK | MB_ICONERROR);
    return kStartFailed;
}

}  // namespace

int runProgram(HINSTANCE instance, int showCommand, const Screen &screen,
               const std::string &shopUrl) {
    Win32Clipboard clipboard;
    Win32MessageBoxes messages;
    Win32UrlOpener urlOpener;
    Win32Dialogs dialogs;
    std::unique_ptr<Win32MainWindow> window;
    try {
        window = std::make_unique<Win32MainWindow>(
            instance, FormServices{clipboard, messages, urlOpener, dialogs}, screen, shopUrl);
        clipboard.setOwner(window->handle());
        messages.setOwner(window->handle());
        dialogs.setOwner(window->handle());
        window->show(showCommand);
    } catch (const std::exception &error) {
        return reportStartFailure(error.what());
    } catch (...) {
        return reportStartFailure("unknown error");
    }

    MSG message{};
    BOOL got = 0;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        if (!window->preTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return got < 0 ? kStartFailed : static_cast<int>(message.wParam);
}

}  // namespace velmora
