#pragma once
// A record of a port's events, and test data.

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "serial/PortEvents.h"
#include "support/WaitUntil.h"

// Records the events of the port it is installed on (from any thread). Its
// "warnings" are the log lines of the failures: what the program's log shows.
class CSerialLogCapture final : public IPortEventSink {
public:
    struct Entry {
        PortEventKind kind;
        OpenFailure reason;
        std::string text;
    };

    void OnPortEvent(const CPortEvent& event) override;

    std::vector<Entry> Events() const;
    std::vector<std::string> Warnings() const;
    // Warnings that contain `text`.
    std::size_t CountWarnings(const std::string& text) const;

private:
    mutable std::mutex m_lock;
    std::vector<Entry> m_events;
};

std::vector<std::uint8_t> Pattern(std::size_t count, std::uint8_t seed = 0);
