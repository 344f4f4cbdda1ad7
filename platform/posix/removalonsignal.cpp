#include "platform/posix/removalonsignal.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace velmora::posix {

namespace {

// The named temporary file the signal handler removes. Set and cleared only while the ending
// signals are held, so the handler never sees them half written.
int g_removeFolder = -1;
char g_removeName[32];
std::atomic_flag g_removalTaken;

extern "C" void removeTemporaryAndEnd(int signal) {
    if (g_removeFolder >= 0) {
        ::unlinkat(g_removeFolder, g_removeName, 0);
    }
    // SA_RESETHAND has put the default action back, so the program ends once this returns.
    ::raise(signal);
}

}  // namespace

RemovalOnSignal::RemovalOnSignal(int folder, const std::string &name) {
    if (name.size() >= sizeof g_removeName || g_removalTaken.test_and_set()) {
        return;  // another thread's write has the handler; this file is removed on failure
    }
    m_active = true;
    g_removeFolder = folder;
    std::memcpy(g_removeName, name.c_str(), name.size() + 1);
    struct sigaction action {};
    action.sa_handler = removeTemporaryAndEnd;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        struct sigaction current {};
        if (sigaction(kEndingSignals[i], nullptr, &current) == 0 &&
            !(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_DFL) {
            m_taken[i] = sigaction(kEndingSignals[i], &action, &m_previous[i]) == 0;
        }
    }
}

RemovalOnSignal::~RemovalOnSignal() {
    if (!m_active) {
        return;
    }
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        if (m_taken[i]) {
            sigaction(kEndingSignals[i], &m_previous[i], nullptr);
        }
    }
    g_removeFolder = -1;
    g_removalTaken.clear();
}

}  // namespace velmora::posix
