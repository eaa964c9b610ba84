#include "FrameLog.h"

#include <algorithm>

#include "FrameDecoder.h"

const char* DirectionText(LogDirection direction) {
    switch (direction) {
        case LogDirection::Sent: return "tx";
        case LogDirection::Received: return "rx";
        case LogDirection::Port: return "port";
    }
    return "";
}

std::string FrameLogLine(const FrameLogEntry& entry) {
    std::string line = std::to_string(entry.time.count());
    line += '\t';
    line += DirectionText(entry.direction);
    line += '\t';
    line += HexText(entry.bytes);
    line += '\t';
    line += entry.meaning;
    line += '\t';
    line += entry.outcome;
    return line;
}

CFrameLog::CFrameLog(std::size_t capacity)
    : m_capacity(std::max<std::size_t>(capacity, 1)), m_start(std::chrono::steady_clock::now()) {}

void CFrameLog::Append(LogDirection direction, std::span<const std::uint8_t> bytes, std::string meaning,
                       std::string outcome) {
    FrameLogEntry entry;
    entry.time = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start);
    entry.direction = direction;
    entry.bytes.assign(bytes.begin(), bytes.end());
    entry.meaning = std::move(meaning);
    entry.outcome = std::move(outcome);
    {
        std::lock_guard lock(m_lock);
        entry.sequence = m_next++;
        if (m_entries.size() >= m_capacity) m_entries.pop_front();
        m_entries.push_back(std::move(entry));
    }
    m_appended.notify_all();
    Changed();
}

std::vector<FrameLogEntry> CFrameLog::EntriesFrom(std::uint64_t from, std::uint64_t* firstHeld) const {
    std::lock_guard lock(m_lock);
    if (firstHeld) *firstHeld = m_entries.empty() ? m_next : m_entries.front().sequence;
    const auto first = std::lower_bound(m_entries.begin(), m_entries.end(), from,
                                        [](const FrameLogEntry& e, std::uint64_t s) { return e.sequence < s; });
    return {first, m_entries.end()};
}

std::uint64_t CFrameLog::NextSequence() const {
    std::lock_guard lock(m_lock);
    return m_next;
}

std::size_t CFrameLog::Size() const {
    std::lock_guard lock(m_lock);
    return m_entries.size();
}

void CFrameLog::Clear() {
    {
        std::lock_guard lock(m_lock);
        m_entries.clear();
    }
    Changed();
}

void CFrameLog::SetOnChange(std::function<void()> listener) {
    std::lock_guard lock(m_listenerLock);
    m_listener = std::move(listener);
}

void CFrameLog::Changed() {
    std::lock_guard lock(m_listenerLock);
    if (m_listener) m_listener();
}

bool CFrameLog::WaitForEntry(std::uint64_t sequence, std::stop_token stop) const {
    std::unique_lock lock(m_lock);
    return m_appended.wait(lock, stop, [&] { return m_next > sequence; });
}
