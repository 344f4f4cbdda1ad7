#include <windows.h>

#include "platform/win32/win32clipboard.h"
#include "platform/win32/win32dialogs.h"
#include "platform/win32/win32messageboxes.h"
#include "platform/win32/win32screen.h"
#include "platform/win32/win32urlopener.h"
#include "ui/win32/win32window.h"
#include "velmora_config.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    velmora::Win32Clipboard clipboard;
    velmora::Win32MessageBoxes messages;
    velmora::Win32UrlOpener urlOpener;
    velmora::Win32Dialogs dialogs;
    velmora::Win32Screen screen;
    velmora::Win32MainWindow window(instance, {clipboard, messages, urlOpener, dialogs}, screen,
                                    VELMORA_SHOP_URL);
    clipboard.setOwner(window.handle());
    messages.setOwner(window.handle());
    dialogs.setOwner(window.handle());
    window.show(showCommand);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!window.preTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
