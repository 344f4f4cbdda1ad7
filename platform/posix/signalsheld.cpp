#include "platform/posix/signalsheld.h"

namespace velmora::posix {

SignalsHeld::SignalsHeld() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kEndingSignals) {
        sigaddset(&set, signal);
    }
    pthread_sigmask(SIG_BLOCK, &set, &m_previous);
}

SignalsHeld::~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }

}  // namespace velmora::posix
