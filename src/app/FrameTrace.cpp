#include "FrameTrace.h"

Q_LOGGING_CATEGORY(lcFrames, "sentrabus.frames", QtWarningMsg)

bool CFrameTrace::Wanted() {
    if (qgetenv("SENTRABUS_TRACE") == "1") QLoggingCategory::setFilterRules(QStringLiteral("sentrabus.frames.info=true"));
    return lcFrames().isInfoEnabled();
}

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
        qCInfo(lcFrames).noquote() << QString::fromStdString(FrameLogLine(entry));
        m_next = entry.sequence + 1;
    }
}
