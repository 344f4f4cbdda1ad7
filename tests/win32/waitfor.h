#pragma once

// The probes' wait for a condition: a loaded machine takes its time, so no probe sleeps a
// fixed while.

#include <chrono>
#include <functional>
#include <thread>

/** Waits up to 20 seconds for done() to hold; whether it did. */
inline bool waitFor(const std::function<bool()> &done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
