#pragma once
// The frame log on stderr: every line of the log, as the log window shows it,
// under the logging category sentrabus.frames. SENTRABUS_TRACE=1 turns it on,
// as does QT_LOGGING_RULES="sentrabus.frames.info=true".
//
// The lines are written by a thread of its own, so that a slow or stalled
// stderr (a pipe nobody reads) never holds up the window thread.

#include <cstdint>
#include <thread>

#include <QLoggingCategory>

#include "protocol/FrameLog.h"

Q_DECLARE_LOGGING_CATEGORY(lcFrames)

class CFrameTrace {
public:
    // Applies SENTRABUS_TRACE; true when the category's lines are to be written.
    static bool Wanted();

    explicit CFrameTrace(const CFrameLog& log);  // starts writing what the log gets from now on
    ~CFrameTrace();                              // writes what is left, then stops
    CFrameTrace(const CFrameTrace&) = delete;
    CFrameTrace& operator=(const CFrameTrace&) = delete;

private:
    void Run(std::stop_token stop);
    void WritePending();

    const CFrameLog& m_log;
    std::uint64_t m_next;  // writer thread only, after the start
    std::jthread m_thread;  // last: it uses everything above
};
