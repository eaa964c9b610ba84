#include "FrameLogRowsWin32.h"

#include <algorithm>

#include "protocol/FrameDecoder.h"

const char* CFrameLogRows::Heading(int column) {
    switch (column) {
        case kTime: return "Time (ms)";
        case kDirection: return "Dir";
        case kBytes: return "Bytes";
        case kMeaning: return "Meaning";
        case kOutcome: return "Outcome";
        default: return "";
    }
}

CFrameLogRows::Change CFrameLogRows::CatchUp(const CFrameLog& log) {
    Change change;
    std::uint64_t firstHeld = 0;
    std::vector<FrameLogEntry> added = log.EntriesFrom(m_next, &firstHeld);
    while (!m_rows.empty() && m_rows.front().sequence < firstHeld) {
        m_rows.pop_front();
        ++change.removedFromFront;
    }
    change.added = added.size();
    for (FrameLogEntry& entry : added) m_rows.push_back(std::move(entry));
    if (!m_rows.empty()) m_next = m_rows.back().sequence + 1;
    // The log may have dropped more while it was read: never hold more rows
    // than it can.
    while (m_rows.size() > log.Capacity()) {
        m_rows.pop_front();
        ++change.removedFromFront;
    }
    return change;
}

std::string CFrameLogRows::CellText(std::size_t row, int column) const {
    if (row >= m_rows.size()) return {};
    const FrameLogEntry& entry = m_rows[row];
    switch (column) {
        case kTime: return std::to_string(entry.time.count());
        case kDirection: return DirectionText(entry.direction);
        case kBytes: return HexText(entry.bytes);
        case kMeaning: return entry.meaning;
        case kOutcome: return entry.outcome;
        default: return {};
    }
}

std::string CFrameLogRows::LinesOf(std::vector<std::size_t> rows, const char* lineEnd) const {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::string text;
    for (std::size_t row : rows) {
        if (row >= m_rows.size()) continue;
        text += FrameLogLine(m_rows[row]);
        text += lineEnd;
    }
    return text;
}

std::string FrameLogFileText(const CFrameLog& log) {
    std::string text;
    for (int column = 0; column < CFrameLogRows::kColumns; ++column) {
        if (column > 0) text += '\t';
        text += CFrameLogRows::Heading(column);
    }
    text += '\n';
    for (const FrameLogEntry& entry : log.EntriesFrom(0)) {
        text += FrameLogLine(entry);
        text += '\n';
    }
    return text;
}
