#include "SerialLogQt.h"

Q_LOGGING_CATEGORY(lcSerial, "sentrabus.serial")

void CSerialLogSink::OnPortEvent(const CPortEvent& event) {
    switch (event.m_kind) {
        case PortEventKind::Opened:
        case PortEventKind::Closed: return;
        case PortEventKind::IoPending: qCDebug(lcSerial, "%s", PortEventText(event).c_str()); return;
        default: qCWarning(lcSerial, "%s", PortEventText(event).c_str()); return;
    }
}
