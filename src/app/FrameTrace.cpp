#include "FrameTrace.h"

CFrameTrace::CFrameTrace(const CFrameLog& log)
    : m_log(log), m_next(log.NextSequence()), m_thread([this](std::stop_token stop) { Run(stop); }) {}

CFrameTrace::~CFrameTrace() {
    m_thread.request_stop();
    if (m_thread.joinable()) m_thread.join();
}

void CFrameTrace::Run(std::stop_token stop) {
    while (m_log.WaitForEntry(m_next, stop)) WritePending();
    WritePending();
}

void CFrameTrace::WritePending() {
    for (const FrameLogEntry& entry : m_log.EntriesFrom(m_next)) {
        WriteLine(FrameLogLine(entry));
        m_next = entry.sequence + 1;
    }
}
