#pragma once
// The frame log: one entry per request written, per reply (or missing reply)
// and per port event, in memory only, bounded: past its capacity the oldest
// entry goes. Entries are numbered from 0 for the life of the log, so that a
// reader can ask for what came after the last entry it saw, also across a
// Clear or the loss of the oldest entries.
//
// Thread-safe: the window thread appends the exchanges, the receive thread
// may append port events, and the log window and the trace read.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <stop_token>
#include <string>
#include <vector>

enum class LogDirection { Sent, Received, Port };

struct FrameLogEntry {
    std::uint64_t sequence = 0;
    std::chrono::milliseconds time{0};  // since the log began
    LogDirection direction = LogDirection::Sent;
    std::vector<std::uint8_t> bytes;
    std::string meaning;
    std::string outcome;  // replies and failed port events; empty for the rest
};

// "tx", "rx", "port".
const char* DirectionText(LogDirection direction);
// One entry as a line of text: time in ms, direction, hex, meaning and
// outcome, separated by tabs (so that a pasted selection falls into a
// spreadsheet's columns).
std::string FrameLogLine(const FrameLogEntry& entry);

class CFrameLog {
public:
    static constexpr std::size_t kCapacity = 10000;

    explicit CFrameLog(std::size_t capacity = kCapacity);
    CFrameLog(const CFrameLog&) = delete;
    CFrameLog& operator=(const CFrameLog&) = delete;

    void Append(LogDirection direction, std::span<const std::uint8_t> bytes, std::string meaning,
                std::string outcome = {});

    // The entries numbered `from` or later that the log still holds, oldest
    // first; `firstHeld`, when given, receives the number of the oldest entry
    // held (NextSequence() when the log is empty).
    std::vector<FrameLogEntry> EntriesFrom(std::uint64_t from, std::uint64_t* firstHeld = nullptr) const;
    // The number the next entry will get.
    std::uint64_t NextSequence() const;
    std::size_t Size() const;
    std::size_t Capacity() const { return m_capacity; }

    // Empties the log; numbering goes on.
    void Clear();

    // Runs after each change, on the thread that made it, outside the log's
    // lock; it must return at once. One listener; an empty function removes it.
    void SetOnChange(std::function<void()> listener);

    // Blocks until the log has an entry numbered `sequence` or later, or
    // `stop` is requested. False when stopped.
    bool WaitForEntry(std::uint64_t sequence, std::stop_token stop) const;

private:
    void Changed();

    const std::size_t m_capacity;
    const std::chrono::steady_clock::time_point m_start;

    mutable std::mutex m_lock;  // m_entries, m_next
    mutable std::condition_variable_any m_appended;
    std::deque<FrameLogEntry> m_entries;
    std::uint64_t m_next = 0;
    std::function<void()> m_listener;
    std::mutex m_listenerLock;  // m_listener; held while it runs
};
