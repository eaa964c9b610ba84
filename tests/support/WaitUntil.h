#pragma once
// Waiting with a deadline for threads other than the window thread.

#include <chrono>
#include <thread>

// Polls `condition` until it holds or `timeout` runs out; generous by default so
// that a loaded machine only makes the test slower, never wrong.
template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return condition();
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}
