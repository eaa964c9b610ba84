#pragma once
// A device session on a fresh simulated device, through the real port and
// receive path on a pseudo-terminal (COM28).

#include <atomic>
#include <cstdlib>

#include <gtest/gtest.h>

#include "device/DeviceSession.h"
#include "serial/SerialPort.h"
#include "sim/Simulator.h"

inline constexpr std::uint8_t kPortNumber = 28;  // COM28 leads to the simulator's terminal
inline constexpr std::uint8_t kAddress = 5;
inline constexpr std::uint32_t kBaud = 4800;

// A session on a fresh simulated device of `kind`.
class SessionOnDevice {
public:
    SessionOnDevice(sim::DeviceKind kind, bool cutOnCompleteReply)
        : m_device({.kind = kind, .address = kAddress, .baud = kind == sim::DeviceKind::Soil ? 9600U : kBaud}),
          m_session(m_port, m_portOpen) {
        ::setenv("SENTRABUS_COM28", m_device.SlavePath().c_str(), 1);
        m_session.SetCutOnCompleteReply(cutOnCompleteReply);
        m_session.StartReceiving();
    }
    ~SessionOnDevice() {
        m_session.StopReceiving();
        m_session.ClosePort();
        ::unsetenv("SENTRABUS_COM28");
    }

    // Opens the line at the device's speed and takes it as found.
    void AssumeFound() {
        const bool registerMode = m_device.Kind() == sim::DeviceKind::Soil;
        ASSERT_TRUE(m_session.OpenPort(kPortNumber, m_device.Baud()));
        m_session.AssumeDevice(kAddress, m_device.Baud(), registerMode);
    }

    sim::CSimulator m_device;
    CSerialPort m_port;
    std::atomic<bool> m_portOpen{false};
    CDeviceSession m_session;
};

