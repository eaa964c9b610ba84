// The session's link and device state, and the one exchange every operation
// runs through.

#include "DeviceSession.h"

#include "serial/SerialPort.h"

CDeviceSession::CDeviceSession(CSerialPort& port, std::atomic<bool>& portOpen)
    : m_portOpen(portOpen), m_link(port) {}

CDeviceSession::~CDeviceSession() { StopReceiving(); }

void CDeviceSession::StartReceiving() {
    if (m_link.m_receive.Running()) return;
    m_link.m_receive.Init();
    m_link.m_receive.Start(m_link.m_port, m_portOpen);
}

void CDeviceSession::StopReceiving() { m_link.m_receive.Stop(); }

bool CDeviceSession::ReopenPort(std::uint8_t portNumber, std::uint32_t baud) {
    CSerialPort& port = m_link.m_port;
    port.Close();
    m_portOpen = false;
    port.SetParams(portNumber, kDataBits, CSerialPort::kNoParity, CSerialPort::kOneStopBit, baud);
    if (!port.Open()) return false;
    m_portOpen = true;
    return true;
}

void CDeviceSession::AssumeDevice(std::uint8_t address, std::uint32_t baudRate, bool registerMode) {
    m_devAddress = address;
    m_baudRate = baudRate;
    m_soilMode = registerMode ? 1 : 0;
}

ReplyVerdict CDeviceSession::Exchange(std::uint16_t length, ExchangeVariant variant,
                                      const ReplyExpectation& expectation) {
    return ExchangeAndJudge(m_link, length, variant, expectation);
}

ReplyBytes CDeviceSession::Reply(const ReplyVerdict& verdict) const {
    return ReplyOf(m_link, static_cast<std::uint16_t>(verdict.replyBytes));
}

void CDeviceSession::TakeFd(const FdReply& reply) {
    m_devAddress = reply.address;
    m_baudRate = reply.baudRate;
}

void CDeviceSession::TakeLineSettings(const SoilSearchReply& reply) {
    m_devAddress = reply.address;
    m_baudRate = reply.baudRate;
    m_soilParity = reply.parity;
    m_soilStopFlag1 = reply.stopFlag1;
    m_soilStopFlag2 = reply.stopFlag2;
}
