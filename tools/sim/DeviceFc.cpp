// FC frames: parameters by code, no device address.
//
//   request  FC FC FC code op(00 read, 01 write) value(2) CRC           9 bytes
//   reply    FC FC FC code op value(2) 00 00 CRC                        11 bytes
//
// The light transmitter answers a write with an echo of the 9 request bytes;
// the temperature and humidity transmitter answers it like a read, with the
// value it now holds.

#include "Devices.h"

namespace sim {

std::optional<Frame> AnswerFc(DeviceState& state, Request request) {
    if (request.size() != kFcRequestBytes) return std::nullopt;
    const std::uint8_t code = request[3];
    const std::uint8_t operation = request[4];
    const auto param = state.fcParams.find(code);
    if (param == state.fcParams.end()) return std::nullopt;
    if (operation != kOpRead && operation != kOpWrite) return std::nullopt;

    if (operation == kOpWrite) {
        param->second = static_cast<std::uint16_t>(request[5] << 8 | request[6]);
        if (state.kind == DeviceKind::Light) return Frame(request.begin(), request.end());
    }
    return MakeFrame([&](CFrameWriter& w) {
        w.Mark(kFcMark).Byte(code).Byte(operation).Word(param->second).Word(0);
    });
}

}  // namespace sim
