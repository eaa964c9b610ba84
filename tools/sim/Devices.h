#pragma once
// The devices' side of the protocol: given one whole request with a good CRC,
// a device updates its state and returns its reply, or nothing when it stays
// silent (a frame of a family it does not speak, another address, an unknown
// code). Line speed is not looked at here; the simulator answers only at the
// device's speed.

#include <optional>
#include <span>

#include "DeviceState.h"
#include "protocol/FrameWriter.h"

namespace sim {

using Request = std::span<const std::uint8_t>;

std::optional<Frame> AnswerRequest(DeviceState& state, Request request);

// Per family; AnswerRequest picks the one the request belongs to.
std::optional<Frame> AnswerFd(DeviceState& state, Request request);
std::optional<Frame> AnswerRegisters(DeviceState& state, Request request);
std::optional<Frame> AnswerFc(DeviceState& state, Request request);
std::optional<Frame> AnswerFb(DeviceState& state, Request request);

// Builds one reply with the protocol's frame writer and seals it with the CRC.
template <typename Fill>
Frame MakeFrame(Fill fill) {
    std::array<std::uint8_t, 300> buffer{};
    CFrameWriter writer(buffer);
    fill(writer);
    const std::uint16_t length = writer.Seal();
    return Frame(buffer.begin(), buffer.begin() + length);
}

// Modbus exception reply: address, function | 0x80, exception code, CRC.
Frame ExceptionReply(std::uint8_t address, std::uint8_t function, std::uint8_t code);

}  // namespace sim
