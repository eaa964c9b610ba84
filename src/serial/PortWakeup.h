#pragma once
// What the receive thread blocks on while the line is quiet: input on the port,
// or a wake-up that Close, Open and Stop send, so that the thread costs nothing
// until a byte can come and still sees every change of the port at once.
//
// A wake-up stays pending until a Wait returns because of it: one sent before
// the thread reaches its Wait is not lost.

#include <chrono>
#include <cstdint>
#include <optional>

enum class PortWait : std::uint8_t {
    Input,     // bytes wait at the port
    Woken,     // Signal was called
    TimedOut,  // the deadline passed
    HungUp,    // the port reports a hang-up or an error: it will never be readable
};

class CPortWakeup {
public:
    using Deadline = std::optional<std::chrono::steady_clock::time_point>;  // nullopt: none

    // What Wait can watch besides the wake-up: a descriptor, nothing, or a port
    // that cannot be waited on and is looked at every millisecond instead, or
    // every kQuietPollInterval while its line has been quiet (the port's
    // writes send a wake-up, so the reply to one is looked for at once).
    static constexpr int kNoInput = -1;
    static constexpr int kPolledInput = -2;
    static constexpr int kQuietPolledInput = -3;
    static constexpr auto kQuietPollInterval = std::chrono::milliseconds(50);

    CPortWakeup();
    ~CPortWakeup();
    CPortWakeup(const CPortWakeup&) = delete;
    CPortWakeup& operator=(const CPortWakeup&) = delete;

    // Any thread.
    void Signal();
    // One thread at a time. With kPolledInput (or when the platform gave no
    // wake-up object) it waits at most 1 ms and says TimedOut; with
    // kQuietPolledInput at most kQuietPollInterval.
    PortWait Wait(int input, Deadline deadline);

private:
#ifdef _WIN32
    void* m_event = nullptr;
#else
    int m_eventFd = -1;
#endif
};
