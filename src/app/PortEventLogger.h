#pragma once
// The serial port's events as rows of the frame log: each open with the port,
// the path it led to and the speed, each close, and each failure with its
// reason and what to do. A technician who started the program from the
// desktop, without a terminal, learns there why a port would not open.
//
// While it lives it is the port's event sink; it passes every event on to the
// sink that was installed before it (the program's stderr log) and puts that
// one back when it goes.

#include "protocol/FrameLog.h"
#include "serial/PortEvents.h"

class CSerialPort;

class CPortEventLogger final : public IPortEventSink {
public:
    CPortEventLogger(CFrameLog& log, CSerialPort& port);
    ~CPortEventLogger() override;
    CPortEventLogger(const CPortEventLogger&) = delete;
    CPortEventLogger& operator=(const CPortEventLogger&) = delete;

    // Window thread or receive thread, under the port's locks: it only appends.
    void OnPortEvent(const CPortEvent& event) override;

private:
    CFrameLog& m_log;
    CSerialPort& m_port;
    IPortEventSink* const m_next;
};
