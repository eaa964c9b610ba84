// The session's link and device state, and the one exchange every operation
// runs through.

#include "DeviceSession.h"

#include "serial/SerialPort.h"

CDeviceSession::CDeviceSession(CSerialPort& port, std::atomic<bool>& portOpen)
    : m_portOpen(portOpen), m_link(port) {}

CDeviceSession::~CDeviceSession() { StopReceiving(); }

void CDeviceSession::StartReceiving() {
    CReceivePath& receive = m_link.Receive();
    if (receive.Running()) return;
    receive.Init();
    receive.Start(m_link.Port(), m_portOpen);
}

void CDeviceSession::StopReceiving() { m_link.Receive().Stop(); }

bool CDeviceSession::OpenPort(std::uint8_t portNumber, std::uint32_t baud) {
    ClosePort();
    CSerialPort& port = m_link.Port();
    port.SetParams(portNumber, kDataBits, CSerialPort::kNoParity, CSerialPort::kOneStopBit, baud);
    if (!port.Open()) return false;
    m_portOpen = true;
    return true;
}

void CDeviceSession::ClosePort() {
    m_link.Port().Close();
    m_portOpen = false;
}

void CDeviceSession::AssumeDevice(std::uint8_t address, std::uint32_t baudRate, bool registerMode) {
    m_device.address = address;
    m_device.baudRate = baudRate;
    m_device.mode = registerMode ? CurrentDevice::Mode::Register : CurrentDevice::Mode::Fd;
}

ReplyVerdict CDeviceSession::Exchange(std::uint16_t length, ExchangeVariant variant,
                                      const ReplyExpectation& expectation) {
    return ExchangeAndJudge(m_link, length, variant, expectation);
}

ReplyBytes CDeviceSession::Reply(const ReplyVerdict& verdict) const {
    return m_link.Reply(verdict.replyBytes);
}

void CDeviceSession::TakeFd(const FdReply& reply) {
    m_device.address = reply.address;
    m_device.baudRate = reply.baudRate;
}

void CDeviceSession::TakeLineSettings(const SoilSearchReply& reply) {
    m_device.address = reply.address;
    m_device.baudRate = reply.baudRate;
    m_device.parity = reply.parity;
    m_device.stopFlag1 = reply.stopFlag1;
    m_device.stopFlag2 = reply.stopFlag2;
}
