#include "PortEventLogger.h"

#include "serial/SerialPort.h"

namespace {

// The outcome column: what the event means for the operator.
std::string Outcome(const CPortEvent& event) {
    switch (event.m_kind) {
        case PortEventKind::OpenFailed: return std::string(OpenFailureAdvice(event.m_reason));
        case PortEventKind::Vanished: return "vanished: the adapter was unplugged or lost power; plug it in and search again";
        case PortEventKind::ReadFailed:
        case PortEventKind::WriteFailed: return "failed";
        default: return {};
    }
}

}  // namespace

CPortEventLogger::CPortEventLogger(CFrameLog& log, CSerialPort& port)
    : m_log(log), m_port(port), m_next(port.EventSink()) {
    m_port.SetEventSink(this);
}

CPortEventLogger::~CPortEventLogger() {
    if (m_port.EventSink() == this) m_port.SetEventSink(m_next);
}

void CPortEventLogger::OnPortEvent(const CPortEvent& event) {
    // The trace of a read that had to wait says nothing a technician can use.
    if (event.m_kind != PortEventKind::IoPending) {
        m_log.Append(LogDirection::Port, {}, PortEventText(event), Outcome(event));
    }
    if (m_next) m_next->OnPortEvent(event);
}
