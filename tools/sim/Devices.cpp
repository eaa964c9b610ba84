#include "Devices.h"

namespace sim {

namespace {

bool IsMarked(Request request, std::uint8_t mark) {
    return request.size() >= kMarkBytes && request[0] == mark && request[1] == mark && request[2] == mark;
}

}  // namespace

std::optional<Frame> AnswerRequest(DeviceState& state, Request request) {
    if (IsMarked(request, kFdMark)) return AnswerFd(state, request);
    if (IsMarked(request, kFcMark)) return AnswerFc(state, request);
    if (IsMarked(request, kFbMark)) return AnswerFb(state, request);
    return AnswerRegisters(state, request);
}

Frame ExceptionReply(std::uint8_t address, std::uint8_t function, std::uint8_t code) {
    return MakeFrame([&](CFrameWriter& w) {
        w.Byte(address).Byte(static_cast<std::uint8_t>(function | kExceptionFlag)).Byte(code);
    });
}

}  // namespace sim
