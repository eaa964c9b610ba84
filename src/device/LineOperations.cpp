// Finding the device, and reading and changing its bus address and baud rate
// in the mode the search found: FD frames, or the register frames of the
// register-frame device at address 255.

#include <algorithm>
#include <array>
#include <vector>

#include "DeviceSession.h"
#include "protocol/BaudCodes.h"
#include "serial/SerialPort.h"

namespace {

constexpr std::array<std::uint32_t, 3> kFdSpeeds = {2400, 4800, 9600};
constexpr std::uint32_t kRegisterDeviceSpeed = 9600;

// The register device's baud register gets the code of the rate the search
// reported; a rate the tool does not write (or 0, an unknown code at search
// time) goes out as 4800.
std::uint8_t LineBaudCodeOf(std::uint32_t baudRate) {
    switch (baudRate) {
        case 2400: return kFdBaudCode2400;
        case 9600: return kFdBaudCode9600;
        default: return kFdBaudCode4800;
    }
}

}  // namespace

SearchResult CDeviceSession::Search(std::uint8_t portNumber, const std::function<void()>& onLineOpen) {
    using Found = SearchResult::Found;
    using Failure = SearchResult::Failure;
    m_device.mode = CurrentDevice::Mode::Fd;
    m_readingsAnswered = 0;  // another device, perhaps
    for (std::uint32_t speed : kFdSpeeds) {
        if (!OpenPort(portNumber, speed)) return {Found::None, Failure::PortOpenFailed};
        if (onLineOpen) onLineOpen();
        const ReplyVerdict verdict = Exchange(BuildFdQuery(Request()), ExchangeVariant::Standard, {ReplyCheck::Fd});
        if (verdict.outcome == ExchangeOutcome::GoodReply) {
            TakeFd(*ParseFdReply(Reply(verdict)));
            return {Found::Fd, Failure::None};
        }
    }

    // No FD device: a register-frame device answers the line-settings read at
    // address 255, at 9600 bit/s.
    if (!OpenPort(portNumber, kRegisterDeviceSpeed)) return {Found::None, Failure::RegisterPortOpenFailed};
    if (onLineOpen) onLineOpen();
    const ReplyVerdict verdict =
        Exchange(BuildLineSettingsRead(Request()), ExchangeVariant::Standard, {ReplyCheck::LineSettings});
    if (verdict.outcome != ExchangeOutcome::GoodReply) return {Found::None, Failure::NotFound};
    TakeLineSettings(*ParseSoilSearchReply(Reply(verdict)));
    m_device.mode = CurrentDevice::Mode::Register;
    return {Found::Register, Failure::None};
}

bool CDeviceSession::AnyDeviceAnswers(std::uint8_t portNumber) {
    struct Probe {
        std::uint32_t speed;
        bool registerMode;
    };
    std::vector<Probe> probes = {{m_device.baudRate, m_device.RegisterMode()}};
    for (auto speed = kFdSpeeds.rbegin(); speed != kFdSpeeds.rend(); ++speed) {
        for (const bool registerMode : {true, false}) {
            if (*speed != probes.front().speed || registerMode != probes.front().registerMode) {
                probes.push_back({*speed, registerMode});
            }
        }
    }
    for (const Probe& probe : probes) {
        if (std::find(kFdSpeeds.begin(), kFdSpeeds.end(), probe.speed) == kFdSpeeds.end()) continue;
        // A port that does not open hears nothing: the next speed may open.
        const bool atSpeed = Port().IsOpen() && Port().Baud() == probe.speed;
        if (!atSpeed && !OpenPort(portNumber, probe.speed)) continue;
        const ReplyVerdict verdict =
            probe.registerMode
                ? Exchange(BuildLineSettingsRead(Request()), ExchangeVariant::Standard, {ReplyCheck::LineSettings})
                : Exchange(BuildFdQuery(Request()), ExchangeVariant::Standard, {ReplyCheck::Fd});
        if (verdict.outcome == ExchangeOutcome::GoodReply) return true;
    }
    return false;
}

OpResult<DeviceLine> CDeviceSession::ReadLine() {
    if (m_device.RegisterMode()) {
        const ReplyVerdict verdict =
            Exchange(BuildLineSettingsRead(Request()), ExchangeVariant::Standard, {ReplyCheck::LineSettings});
        if (verdict.outcome != ExchangeOutcome::GoodReply) return {OutcomeOf(verdict)};
        TakeLineSettings(*ParseSoilSearchReply(Reply(verdict)));
    } else {
        const ReplyVerdict verdict = Exchange(BuildFdQuery(Request()), ExchangeVariant::Standard, {ReplyCheck::Fd});
        if (verdict.outcome != ExchangeOutcome::GoodReply) return {OutcomeOf(verdict)};
        TakeFd(*ParseFdReply(Reply(verdict)));
    }
    return {OpOutcome::Success(), DeviceLine{m_device.address, m_device.baudRate}};
}

OpOutcome CDeviceSession::WriteLineSettings(std::uint8_t address, std::uint8_t baudCode) {
    return OutcomeOf(Exchange(BuildLineSettingsWrite(Request(), address, baudCode), ExchangeVariant::Standard,
                              {ReplyCheck::WriteRegisters}));
}

OpOutcome CDeviceSession::WriteFdLine(std::uint16_t length) {
    const ReplyVerdict verdict = Exchange(length, ExchangeVariant::Standard, {ReplyCheck::Fd});
    if (verdict.outcome == ExchangeOutcome::GoodReply) TakeFd(*ParseFdReply(Reply(verdict)));
    return OutcomeOf(verdict);
}

OpOutcome CDeviceSession::WriteAddress(std::uint8_t address) {
    if (m_device.RegisterMode()) return WriteLineSettings(address, LineBaudCodeOf(m_device.baudRate));
    return WriteFdLine(BuildFdSetAddress(Request(), address));
}

OpOutcome CDeviceSession::WriteBaud(std::uint8_t fdBaudCode) {
    // The register device takes the new rate at its next start.
    if (m_device.RegisterMode()) return WriteLineSettings(m_device.address, fdBaudCode);
    return WriteFdLine(BuildFdSetBaud(Request(), fdBaudCode));
}
