#pragma once

#include <signal.h>

#include <array>

namespace velmora::posix {

/** The signals whose default action ends the program, which a write must not leave a file to. */
constexpr std::array kEndingSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

/** Holds back the ending signals while alive, so that the steps in its scope are done whole. */
class SignalsHeld {
public:
    /** Blocks the ending signals on this thread. */
    SignalsHeld();
    /** Puts back the thread's signal mask as it was. */
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld &) = delete;
    SignalsHeld &operator=(const SignalsHeld &) = delete;

private:
    sigset_t m_previous;
};

}  // namespace velmora::posix
