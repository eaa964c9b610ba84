#pragma once
// --trace: every frame and port event in the frame log's words on standard
// error, printed as it is logged (the time in ms since the start, tx/rx/port,
// the bytes, what they mean, the outcome; tab-separated).

#include <cstdint>
#include <mutex>
#include <ostream>

#include "protocol/ExchangeLogger.h"
#include "protocol/FrameLog.h"

class CTracePrinter {
public:
    explicit CTracePrinter(std::ostream& err);
    ~CTracePrinter();
    CTracePrinter(const CTracePrinter&) = delete;
    CTracePrinter& operator=(const CTracePrinter&) = delete;

    CFrameLog& Log() { return m_log; }
    IExchangeObserver& Observer() { return m_logger; }

private:
    void PrintNew();

    std::ostream& m_err;
    CFrameLog m_log;
    CExchangeLogger m_logger{m_log};
    std::mutex m_lock;  // m_next, and one printer at a time: events come on two threads
    std::uint64_t m_next = 0;
};
