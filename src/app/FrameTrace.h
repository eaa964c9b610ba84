#pragma once
// The frame log on stderr: every line of the log, as the log window shows it.
// SENTRABUS_TRACE=1 turns it on; on Linux the lines go to the logging
// category sentrabus.frames, which QT_LOGGING_RULES="sentrabus.frames.info=true"
// also turns on (FrameTraceQt.cpp).
//
// The lines are written by a thread of its own, so that a slow or stalled
// stderr (a pipe nobody reads) never holds up the window thread.

#include <cstdint>
#include <string>
#include <thread>

#include "protocol/FrameLog.h"

class CFrameTrace {
public:
    // Applies SENTRABUS_TRACE; true when the category's lines are to be written.
    static bool Wanted();

    explicit CFrameTrace(const CFrameLog& log);  // starts writing what the log gets from now on
    ~CFrameTrace();                              // writes what is left, then stops
    CFrameTrace(const CFrameTrace&) = delete;
    CFrameTrace& operator=(const CFrameTrace&) = delete;

private:
    // The platform's writing of one line; the writer thread's only call out.
    static void WriteLine(const std::string& line);
    void Run(std::stop_token stop);
    void WritePending();

    const CFrameLog& m_log;
    std::uint64_t m_next;  // writer thread only, after the start
    std::jthread m_thread;  // last: it uses everything above
};
