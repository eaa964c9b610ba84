// FB frames of the wireless receiver. Two reply shapes:
//
//   value reply   FB FB FB cmd op value1(2) value2(2) CRC                   11 bytes
//   config reply  FB FB FB cmd 00 sleep(2) bitmap(25) CRC                   34 bytes
//
//   cmd  request payload       reply
//   01   00 00 00 00           config reply; enters configuration mode
//   02   00 00 00 00           value reply 00 00 00 00; leaves it
//   03   index index           config reply after setting the index's bit (a
//                              receiver that ignores configures keeps it clear)
//   04   read: 00 00 00        value reply: sleep time, 0
//        write: hi lo          value reply with the new sleep time
//   05   00 00 00              value reply: temperature, humidity (tenths)
//   06   index index           config reply after clearing the index's bit
//   07   read: 00              value reply: channel in byte 5
//        write: channel        value reply with the new channel
//
// The receiver answers every command whether or not it is in configuration
// mode; the mode is kept so that tests can see the tool bracket its work.

#include "Devices.h"

namespace sim {

namespace {

Frame ValueReply(std::uint8_t command, std::uint8_t operation, std::uint16_t value1, std::uint16_t value2) {
    return MakeFrame([&](CFrameWriter& w) {
        w.Mark(kFbMark).Byte(command).Byte(operation).Word(value1).Word(value2);
    });
}

Frame ConfigReply(std::uint8_t command, const WirelessState& wireless) {
    return MakeFrame([&](CFrameWriter& w) {
        w.Mark(kFbMark).Byte(command).Byte(0).Word(wireless.sleepTime).Bytes(wireless.configBits);
    });
}

// Both index bytes must name the same receiver address.
std::optional<std::size_t> ReceiverIndex(Request request) {
    if (request[5] != request[6] || request[5] >= kReceiverAddresses) return std::nullopt;
    return request[5];
}

}  // namespace

std::optional<Frame> AnswerFb(DeviceState& state, Request request) {
    if (state.kind != DeviceKind::Wireless || request.size() < 8) return std::nullopt;
    const std::uint8_t command = request[3];
    const std::uint8_t operation = request[4];
    if (request.size() != FbRequestLength(command, operation)) return std::nullopt;
    WirelessState& wireless = state.wireless;

    switch (command) {
        case kFbEnterConfig:
            wireless.configMode = true;
            return ConfigReply(command, wireless);
        case kFbLeaveConfig:
            wireless.configMode = false;
            return ValueReply(command, operation, 0, 0);
        case kFbConfigureReceiver:
        case kFbClearReceiver: {
            const auto index = ReceiverIndex(request);
            if (!index) return std::nullopt;
            if (command == kFbClearReceiver) {
                wireless.SetConfigured(*index, false);
            } else if (!wireless.ignoresConfigure) {
                wireless.SetConfigured(*index, true);
            }
            return ConfigReply(command, wireless);
        }
        case kFbSleepTime:
            if (operation == kOpWrite) {
                wireless.sleepTime = static_cast<std::uint16_t>(request[5] << 8 | request[6]);
            }
            return ValueReply(command, operation, wireless.sleepTime, 0);
        case kFbTemperatureHumidity:
            return ValueReply(command, operation, wireless.temperature, wireless.humidity);
        case kFbChannel:
            if (operation == kOpWrite) wireless.channel = request[5];
            return ValueReply(command, operation, static_cast<std::uint16_t>(wireless.channel << 8), 0);
        default:
            return std::nullopt;
    }
}

}  // namespace sim
