// The wireless receiver's FB frames. FB frames carry no device address; every
// reply is judged as one piece.

#include "DeviceSession.h"

namespace {

const ReplyExpectation kConfigReply{ReplyCheck::FbConfig};
const ReplyExpectation kAnyFbReply{ReplyCheck::Fb, ValuesUsed::None};

}  // namespace

OpResult<std::uint16_t> CDeviceSession::FbValue(std::uint16_t length, ValuesUsed used) {
    const ReplyVerdict verdict = Exchange(length, ExchangeVariant::Standard, {ReplyCheck::Fb, used});
    if (verdict.outcome != ExchangeOutcome::GoodReply) return {OutcomeOf(verdict)};
    return {OpOutcome::Success(), ParseFbReply(Reply(verdict), used)->value1};
}

OpResult<ReceiverTable> CDeviceSession::EnterConfiguration() {
    //   FB FB FB 01 01 00 00 00 00 CRC  ->  configuration reply
    const ReplyVerdict verdict = Exchange(BuildFbEnterConfig(Request()), ExchangeVariant::Long, kConfigReply);
    if (verdict.outcome != ExchangeOutcome::GoodReply) return {OutcomeOf(verdict)};
    m_inConfiguration = true;
    return {OpOutcome::Success(), *ParseFbConfigReply(Reply(verdict))};
}

OpOutcome CDeviceSession::LeaveConfiguration() {
    //   FB FB FB 02 01 00 00 00 00 CRC  ->  any good FB reply
    // Whatever the reply, the tool is done with configuration mode.
    m_inConfiguration = false;
    return OutcomeOf(Exchange(BuildFbLeaveConfig(Request()), ExchangeVariant::Long, kAnyFbReply));
}

OpResult<std::uint8_t> CDeviceSession::ReadChannel() {
    //   FB FB FB 07 00 00 CRC  ->  value reply, the channel in byte 5
    const OpResult<std::uint16_t> value = FbValue(BuildFbChannelRead(Request()), ValuesUsed::First);
    return {value.outcome, static_cast<std::uint8_t>(value.value >> 8)};
}

OpOutcome CDeviceSession::WriteChannel(std::uint8_t channel) {
    //   FB FB FB 07 01 channel CRC
    return OutcomeOf(Exchange(BuildFbChannelWrite(Request(), channel), ExchangeVariant::Standard, kAnyFbReply));
}

OpResult<std::uint16_t> CDeviceSession::ReadSleepTime() {
    //   FB FB FB 04 00 00 00 00 CRC  ->  value reply, the sleep time as value 1
    return FbValue(BuildFbSleepTimeRead(Request()), ValuesUsed::First);
}

OpOutcome CDeviceSession::WriteSleepTime(std::uint16_t seconds) {
    //   FB FB FB 04 01 hi lo CRC
    return OutcomeOf(
        Exchange(BuildFbSleepTimeWrite(Request(), seconds), ExchangeVariant::Standard, kAnyFbReply));
}

OpResult<TemperatureHumidity> CDeviceSession::ReadTemperatureHumidity() {
    //   FB FB FB 05 01 00 00 00 CRC  ->  value reply: temperature, humidity
    const ReplyVerdict verdict = Exchange(BuildFbTemperatureHumidityRead(Request()), ExchangeVariant::Standard,
                                          {ReplyCheck::Fb, ValuesUsed::Both});
    if (verdict.outcome != ExchangeOutcome::GoodReply) return {OutcomeOf(verdict)};
    const ReplyValues values = *ParseFbReply(Reply(verdict), ValuesUsed::Both);
    return {OpOutcome::Success(), TemperatureHumidity{values.value1, values.value2}};
}

OpResult<ReceiverTable> CDeviceSession::ConfigureReceiver(std::uint8_t index) {
    //   FB FB FB 03 01 index index CRC  ->  configuration reply, within 1 s
    const ReplyVerdict verdict =
        Exchange(BuildFbConfigureReceiver(Request(), index), ExchangeVariant::Extended, kConfigReply);
    if (verdict.outcome != ExchangeOutcome::GoodReply) return {OutcomeOf(verdict)};
    return {OpOutcome::Success(), *ParseFbConfigReply(Reply(verdict))};
}

OpOutcome CDeviceSession::ClearReceiver(std::uint8_t index) {
    //   FB FB FB 06 01 index index CRC  ->  any good FB reply
    return OutcomeOf(Exchange(BuildFbClearReceiver(Request(), index), ExchangeVariant::Standard, kAnyFbReply));
}
