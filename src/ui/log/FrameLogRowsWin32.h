#pragma once
// The rows of the Windows frame log window: a copy of the log's entries that
// follows the log a little behind it (the window catches up on its own
// thread), and their texts as the list shows them, the clipboard takes them
// and the saved file holds them.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "protocol/FrameLog.h"

class CFrameLogRows {
public:
    enum Column { kTime, kDirection, kBytes, kMeaning, kOutcome, kColumns };
    static const char* Heading(int column);

    struct Change {
        std::size_t removedFromFront = 0;  // rows the log no longer holds
        std::size_t added = 0;
        bool Any() const { return removedFromFront > 0 || added > 0; }
    };
    // Brings the rows up to `log`: drops the entries it no longer holds (the
    // oldest, or all after a Clear) and adds the new ones.
    Change CatchUp(const CFrameLog& log);

    std::size_t Count() const { return m_rows.size(); }
    const FrameLogEntry& Entry(std::size_t row) const { return m_rows[row]; }
    std::string CellText(std::size_t row, int column) const;
    // The lines of `rows` (any order, repeats once), oldest first, each ended
    // by `lineEnd`.
    std::string LinesOf(std::vector<std::size_t> rows, const char* lineEnd) const;

private:
    std::deque<FrameLogEntry> m_rows;
    std::uint64_t m_next = 0;  // the first entry not yet held
};

// The whole log as "Save..." writes it, the same file on every platform: the
// heading line, then one line per entry, each ended by "\n", in UTF-8.
std::string FrameLogFileText(const CFrameLog& log);
