#pragma once
// The fixture of the tests that drive a real serial port from the device's
// end: a pseudo-terminal, the list entry COM<n> pointed at it, and the port
// set up on that entry at 9600 bit/s, 8 data bits, no parity, one stop bit,
// its events recorded. The port is not opened.

#include <cstdint>

#include <gtest/gtest.h>

#include "PseudoTerminal.h"
#include "TestSupport.h"
#include "serial/SerialPort.h"

class PortOnPty : public testing::Test {
protected:
    // Under Wine the COM numbers are shared by the test programs that run side
    // by side: each fixture has its own.
    explicit PortOnPty(std::uint8_t portNumber) : m_portNumber(portNumber) {}

    void SetUp() override {
        ASSERT_TRUE(m_pty.Valid());
        m_port.SetEventSink(&m_log);
        m_port.SetParams(m_portNumber, 8, CSerialPort::kNoParity, CSerialPort::kOneStopBit, 9600);
    }

    const std::uint8_t m_portNumber;
    CSerialLogCapture m_log;
    CPseudoTerminal m_pty;
    CComPortOverride m_override{m_portNumber, m_pty.SlavePath()};
    CSerialPort m_port;
};
