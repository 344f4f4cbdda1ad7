#pragma once

#include <windows.h>

#include <string>

#include "platform/screen.h"

namespace velmora {

/**
 * What velmora.exe does: creates the window on the system's services, shows it and runs its
 * message loop until it is closed. A failure while creating the window is reported in a message
 * box before the program ends.
 * @return the exit code: 0 after the window was closed, non-zero after a failure.
 */
int runProgram(HINSTANCE instance, int showCommand, const Screen &screen,
               const std::string &shopUrl);

}  // namespace velmora
