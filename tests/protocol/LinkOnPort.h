#pragma once
// The fixture of the exchange tests: the real serial port of this platform and
// the receive thread on it, opened at 4800 bit/s on a COM number that leads to
// a simulated device. The receive thread stops before the port closes.

#include <atomic>
#include <cstdint>

#include <gtest/gtest.h>

#include "protocol/Link.h"
#include "serial/SerialPort.h"

class LinkOnPort : public ::testing::Test {
protected:
    void OpenLink(std::uint8_t portNumber) {
        m_port.SetParams(portNumber, 8, CSerialPort::kNoParity, CSerialPort::kOneStopBit, 4800);
        ASSERT_TRUE(m_port.Open());
        m_portOpen = true;
        m_link.Receive().Init();
        m_link.Receive().Start(m_port, m_portOpen);
    }

    void TearDown() override {
        m_link.Receive().Stop();
        m_portOpen = false;
        m_port.Close();
    }

    CSerialPort m_port;
    std::atomic<bool> m_portOpen{false};
    CLink m_link{m_port};
};
