// The readings (function-03 registers) and the FC parameters by code.

#include "DeviceSession.h"

OpResult<std::uint16_t> CDeviceSession::Read(Reading reading) {
    const ReadingInfo& info = InfoOf(reading);
    const bool soilMode = m_device.RegisterMode();
    const std::uint8_t address = soilMode && info.registerModeAddress ? kRegisterModeAddress : m_device.address;
    const ValuesUsed used = info.usesValue2 ? ValuesUsed::Both : ValuesUsed::First;
    // In register mode every reply must come from 255, whatever address was asked.
    const std::uint8_t from = ExpectedReadAddress(soilMode, m_device.address);
    const ReplyVerdict verdict =
        Exchange(BuildRegisterRead(Request(), address, info.firstRegister, info.count), ExchangeVariant::Standard,
                 {ReplyCheck::Read, used, from});
    if (verdict.outcome != ExchangeOutcome::GoodReply) return {OutcomeOf(verdict)};
    const ReplyValues values = *ParseReadReply(Reply(verdict), from, used);
    m_readingsAnswered |= 1U << static_cast<unsigned>(reading);
    return {OpOutcome::Success(), info.usesValue2 ? values.value2 : values.value1};
}

OpResult<std::uint16_t> CDeviceSession::ReadParameter(Parameter parameter) {
    //   FC FC FC code 00 00 00 CRC  ->  FC FC FC code op value1 value2 CRC
    // The reply's code byte is not compared with the request's.
    const ReplyVerdict verdict = Exchange(BuildFcRead(Request(), InfoOf(parameter).code), ExchangeVariant::Standard,
                                          {ReplyCheck::Fc, ValuesUsed::First});
    if (verdict.outcome != ExchangeOutcome::GoodReply) return {OutcomeOf(verdict)};
    return {OpOutcome::Success(), ParseFcReply(Reply(verdict), ValuesUsed::First)->value1};
}

OpOutcome CDeviceSession::WriteParameter(Parameter parameter, std::uint16_t word) {
    //   FC FC FC code 01 hi lo CRC
    // The light sensor echoes the write (bytes after the echo do not matter);
    // for the transmitter any FC reply with a good CRC confirms it.
    const ParameterInfo& info = InfoOf(parameter);
    const ReplyExpectation expectation =
        info.writeEchoed ? ReplyExpectation{ReplyCheck::Echo} : ReplyExpectation{ReplyCheck::Fc, ValuesUsed::None};
    return OutcomeOf(Exchange(BuildFcWrite(Request(), info.code, word), ExchangeVariant::Standard, expectation),
                     info.writeEchoed);
}
