#include "TracePrinter.h"

CTracePrinter::CTracePrinter(std::ostream& err) : m_err(err) {
    m_log.SetOnChange([this] { PrintNew(); });
}

CTracePrinter::~CTracePrinter() { m_log.SetOnChange({}); }

void CTracePrinter::PrintNew() {
    std::lock_guard lock(m_lock);
    for (const FrameLogEntry& entry : m_log.EntriesFrom(m_next)) {
        m_err << FrameLogLine(entry) << '\n';
        m_next = entry.sequence + 1;
    }
    m_err.flush();
}
