#pragma once
// Faults a simulated device can put on its reply to a request, to show how the
// tool copes with a bad line or a misbehaving device.

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "DeviceState.h"

namespace sim {

enum class FaultKind {
    None,          // the reply as the device means it
    Silent,        // no reply at all (the device still acts on the request)
    Delayed,       // the whole reply, `time` later
    Short,         // only the first 2 bytes of the reply
    BadCrc,        // the reply with a wrong CRC
    SwappedCrc,    // the reply with its two CRC bytes swapped
    Split,         // the reply in two halves, `time` apart
    Glitch,        // two stray bytes at once, then the whole reply `time` later
    WrongAddress,  // byte 0 changed (another address, or a broken mark), CRC made good again
    Exception,     // request byte 0, request byte 1 | 0x80, 01, CRC: the Modbus exception
    Noise,         // `bytes` of line noise in place of the reply, more than any reply can be
};

struct Fault {
    // The most noise one fault puts on the line; the simulator holds it in memory.
    static constexpr std::uint32_t kMaxNoiseBytes = 1U << 20;

    FaultKind kind = FaultKind::None;
    std::chrono::milliseconds time{0};  // delay of Delayed, gap of Split
    std::uint32_t bytes = 0;            // length of Noise

    static Fault None() { return {}; }
    static Fault Silent() { return {FaultKind::Silent}; }
    static Fault Delayed(std::chrono::milliseconds delay) { return {FaultKind::Delayed, delay}; }
    static Fault Short() { return {FaultKind::Short}; }
    static Fault BadCrc() { return {FaultKind::BadCrc}; }
    static Fault SwappedCrc() { return {FaultKind::SwappedCrc}; }
    static Fault Split(std::chrono::milliseconds gap) { return {FaultKind::Split, gap}; }
    static Fault Glitch(std::chrono::milliseconds delay) { return {FaultKind::Glitch, delay}; }
    static Fault WrongAddress() { return {FaultKind::WrongAddress}; }
    static Fault Exception() { return {FaultKind::Exception}; }
    static Fault Noise(std::uint32_t bytes) { return {FaultKind::Noise, std::chrono::milliseconds(0), bytes}; }

    bool operator==(const Fault&) const = default;
};

// "silent", "delay:600", "short", "bad-crc", "swapped-crc", "split:10",
// "glitch:700", "wrong-address", "exception", "noise:4096" (1 to kMaxNoiseBytes)
// (and "none").
std::optional<Fault> ParseFault(std::string_view text);
std::string FaultName(const Fault& fault);

// One write of reply bytes, `after` the device is ready to answer.
struct ReplyPiece {
    std::chrono::milliseconds after{0};
    Frame bytes;
};

// What goes on the line for `reply` (the device's answer to `request`) under
// `fault`. No pieces means silence. The noise is pseudo-random but the same for
// the same request, so that a run can be repeated byte for byte.
std::vector<ReplyPiece> ShapeReply(const Fault& fault, const Frame& reply,
                                   std::span<const std::uint8_t> request);

}  // namespace sim
