#include "PortWatch.h"

namespace {

// The frame log's outcome column for a port event: what it means for the technician.
std::string Advice(const CPortEvent& event) {
    switch (event.m_kind) {
        case PortEventKind::OpenFailed: return std::string(OpenFailureAdvice(event.m_reason));
        case PortEventKind::Vanished:
            return "vanished: the adapter was unplugged or lost power; plug it in and try again";
        case PortEventKind::ReadFailed:
        case PortEventKind::WriteFailed: return "failed";
        default: return {};
    }
}

}  // namespace

CPortWatch::CPortWatch(CSerialPort& port, CFrameLog* log) : m_port(port), m_log(log) { m_port.SetEventSink(this); }

CPortWatch::~CPortWatch() { m_port.SetEventSink(nullptr); }

void CPortWatch::OnPortEvent(const CPortEvent& event) {
    // The trace of a read that had to wait says nothing a technician can use.
    if (event.m_kind == PortEventKind::IoPending) return;
    const std::string text = PortEventText(event);
    const std::string advice = Advice(event);
    if (m_log) m_log->Append(LogDirection::Port, {}, text, advice);
    std::lock_guard lock(m_lock);
    switch (event.m_kind) {
        case PortEventKind::OpenFailed:
            // A refused permission's text already says what to do.
            m_openFailure = event.m_reason == OpenFailure::Permission ? text : text + "; " + advice;
            break;
        case PortEventKind::Opened: m_lineFailure.clear(); break;
        case PortEventKind::Vanished: m_lineFailure = text + "; " + advice; break;
        case PortEventKind::ReadFailed:
        case PortEventKind::WriteFailed: m_lineFailure = text; break;
        default: break;
    }
}

std::string CPortWatch::OpenFailure() const {
    std::lock_guard lock(m_lock);
    return m_openFailure.empty() ? "the port did not open" : m_openFailure;
}

std::string CPortWatch::LineFailure() const {
    std::lock_guard lock(m_lock);
    return m_lineFailure;
}
