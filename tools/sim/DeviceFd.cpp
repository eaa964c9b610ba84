// FD frames: every device but the register-frame one takes them.
//
//   request  FD FD FD  baud code (0 = keep)  address (0 = keep)  CRC
//   reply    FD FD FD  baud code             address             CRC
//
// The reply carries the settings as they are after the request, and goes out
// at the old speed; the device listens at the new speed from then on.

#include "Devices.h"
#include "protocol/BaudCodes.h"

namespace sim {

std::optional<Frame> AnswerFd(DeviceState& state, Request request) {
    if (state.kind == DeviceKind::Soil || request.size() != kFdFrameBytes) return std::nullopt;
    const std::uint8_t baudCode = request[3];
    const std::uint8_t address = request[4];
    if (baudCode != kFdLeaveUnchanged && FdBaudRate(baudCode) == 0) return std::nullopt;

    if (address != kFdLeaveUnchanged) SetDeviceAddress(state, address);
    if (baudCode != kFdLeaveUnchanged) state.baud = FdBaudRate(baudCode);

    const std::uint8_t replyCode = FdBaudCode(state.baud).value_or(0);
    return MakeFrame([&](CFrameWriter& w) { w.Mark(kFdMark).Byte(replyCode).Byte(DeviceAddress(state)); });
}

}  // namespace sim
