#pragma once
// What the main window keeps of the traffic: the frame log, the exchange
// observer and the port's event sink that write it, and the trace on stderr
// when it is wanted.

#include <memory>

#include "FrameTrace.h"
#include "PortEventLogger.h"
#include "protocol/ExchangeLogger.h"
#include "protocol/FrameLog.h"

class CFrameRecorder {
public:
    explicit CFrameRecorder(CSerialPort& port)
        : m_logger(m_log),
          m_portEvents(m_log, port),
          m_trace(CFrameTrace::Wanted() ? std::make_unique<CFrameTrace>(m_log) : nullptr) {}

    CFrameLog& Log() { return m_log; }
    IExchangeObserver& Observer() { return m_logger; }

private:
    CFrameLog m_log;
    CExchangeLogger m_logger;
    CPortEventLogger m_portEvents;
    std::unique_ptr<CFrameTrace> m_trace;  // after the log it reads
};
