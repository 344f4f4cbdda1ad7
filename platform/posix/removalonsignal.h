#pragma once

#include <signal.h>

#include <array>
#include <string>

#include "platform/posix/signalsheld.h"

namespace velmora::posix {

/**
 * Removes a named temporary file if an ending signal arrives while alive. Takes over only the
 * signals left at their default action: a program that handles them ends in its own time, and
 * the write then removes its file itself. One file at a time in the whole program: while
 * another thread's write has the handler, this one does nothing, and the write removes its file
 * on failure. Made and destroyed while the signals are held (SignalsHeld).
 */
class RemovalOnSignal {
public:
    /** Removes name in the open folder if an ending signal arrives before destruction. */
    RemovalOnSignal(int folder, const std::string &name);
    /** Gives the signals back to the actions they had. */
    ~RemovalOnSignal();
    RemovalOnSignal(const RemovalOnSignal &) = delete;
    RemovalOnSignal &operator=(const RemovalOnSignal &) = delete;

private:
    bool m_active = false;
    std::array<bool, kEndingSignals.size()> m_taken{};
    std::array<struct sigaction, kEndingSignals.size()> m_previous{};
};

}  // namespace velmora::posix
