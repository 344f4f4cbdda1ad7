#include <windows.h>

#include "platform/win32/win32screen.h"
#include "ui/win32/program.h"
#include "velmora_config.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const velmora::Win32Screen screen;
    return velmora::runProgram(instance, showCommand, screen, VELMORA_SHOP_URL);
}
