// The LCD relay controller: register frames to the current device.

#include "DeviceSession.h"

namespace {

std::uint16_t RelayRegister(int relay) { return relay == 2 ? kRegLcdRelay2 : kRegLcdRelay1; }

constexpr std::uint16_t kRelayOpen = 0;
constexpr std::uint16_t kRelayClosed = 1;

}  // namespace

OpOutcome CDeviceSession::SetLcdMode(std::uint8_t mode) {
    //   address 06 00 2D 00 mode CRC  ->  echoed as sent
    return OutcomeOf(Exchange(BuildRegisterWrite(Request(), m_device.address, kRegLcdWorkMode, mode),
                              ExchangeVariant::Standard, {ReplyCheck::Echo}),
                     true);
}

OpResult<std::uint16_t> CDeviceSession::QueryRelay(int relay) {
    //   address 03 register 00 01 CRC  ->  address 03 02 value CRC
    // A device found by the register search answers reads from 255, and the
    // main window's reads rely on that. The query itself goes to the
    // controller's own address, though, so in that mode a reply from that
    // address is the controller answering and is taken as well.
    const bool soilMode = m_device.RegisterMode();
    ReplyExpectation expectation{ReplyCheck::Read, ValuesUsed::First, ExpectedReadAddress(soilMode, m_device.address)};
    if (soilMode) expectation.alsoAddress = m_device.address;
    const ReplyVerdict verdict = Exchange(BuildRegisterRead(Request(), m_device.address, RelayRegister(relay), 1),
                                          ExchangeVariant::Standard, expectation);
    if (verdict.outcome != ExchangeOutcome::GoodReply) return {OutcomeOf(verdict)};
    std::optional<ReplyValues> values = ParseReadReply(Reply(verdict), expectation.address, ValuesUsed::First);
    if (!values) values = ParseReadReply(Reply(verdict), m_device.address, ValuesUsed::First);
    return {OpOutcome::Success(), values->value1};
}

OpOutcome CDeviceSession::SwitchRelay(int relay, bool closed) {
    //   address 06 register value CRC  ->  echoed as sent
    return OutcomeOf(Exchange(BuildRegisterWrite(Request(), m_device.address, RelayRegister(relay),
                                                 closed ? kRelayClosed : kRelayOpen),
                              ExchangeVariant::Standard, {ReplyCheck::Echo}),
                     true);
}
