#include "Fault.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

#include "Devices.h"
#include "protocol/Crc16.h"

namespace sim {

namespace {

// What the number after the colon is, for the faults that take one.
enum class FaultArgument { None, Milliseconds, Bytes };

struct FaultWord {
    FaultKind kind;
    std::string_view name;
    FaultArgument argument;
};

constexpr std::array<FaultWord, 11> kFaultWords{{
    {FaultKind::None, "none", FaultArgument::None},
    {FaultKind::Silent, "silent", FaultArgument::None},
    {FaultKind::Delayed, "delay", FaultArgument::Milliseconds},
    {FaultKind::Short, "short", FaultArgument::None},
    {FaultKind::BadCrc, "bad-crc", FaultArgument::None},
    {FaultKind::SwappedCrc, "swapped-crc", FaultArgument::None},
    {FaultKind::Split, "split", FaultArgument::Milliseconds},
    {FaultKind::Glitch, "glitch", FaultArgument::Milliseconds},
    {FaultKind::WrongAddress, "wrong-address", FaultArgument::None},
    {FaultKind::Exception, "exception", FaultArgument::None},
    {FaultKind::Noise, "noise", FaultArgument::Bytes},
}};

constexpr std::size_t kShortReplyBytes = 2;
// What a receiver's line driver may leave on the bus while it switches over.
constexpr std::array<std::uint8_t, 2> kStrayBytes{0xFF, 0x00};

Frame WithCrc(Frame frame) {
    if (frame.size() >= kCrcBytes) AppendCrc16(frame, frame.size() - kCrcBytes);
    return frame;
}

// xorshift32 seeded from the request: repeatable, and different for each request.
Frame NoiseBytes(std::uint32_t count, std::span<const std::uint8_t> request) {
    std::uint32_t state = 0x9E3779B9U ^ count;
    for (const std::uint8_t byte : request) state = (state ^ byte) * 0x01000193U;
    if (state == 0) state = 1;
    Frame noise(count);
    for (std::uint8_t& byte : noise) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return noise;
}

}  // namespace

std::optional<Fault> ParseFault(std::string_view text) {
    const std::size_t colon = text.find(':');
    const std::string_view name = text.substr(0, colon);
    for (const FaultWord& word : kFaultWords) {
        if (word.name != name) continue;
        Fault fault{word.kind};
        if (word.argument == FaultArgument::None) {
            if (colon != std::string_view::npos) return std::nullopt;
            return fault;
        }
        if (colon == std::string_view::npos) return std::nullopt;
        const std::string_view number = text.substr(colon + 1);
        unsigned value = 0;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
        if (error != std::errc() || end != number.data() + number.size() || number.empty()) return std::nullopt;
        if (word.argument == FaultArgument::Bytes) {
            if (value == 0 || value > Fault::kMaxNoiseBytes) return std::nullopt;
            fault.bytes = value;
        } else {
            fault.time = std::chrono::milliseconds(value);
        }
        return fault;
    }
    return std::nullopt;
}

std::string FaultName(const Fault& fault) {
    for (const FaultWord& word : kFaultWords) {
        if (word.kind != fault.kind) continue;
        std::string name(word.name);
        if (word.argument == FaultArgument::Milliseconds) name += ":" + std::to_string(fault.time.count());
        if (word.argument == FaultArgument::Bytes) name += ":" + std::to_string(fault.bytes);
        return name;
    }
    return "?";
}

std::vector<ReplyPiece> ShapeReply(const Fault& fault, const Frame& reply,
                                   std::span<const std::uint8_t> request) {
    using std::chrono::milliseconds;
    const std::size_t n = reply.size();
    switch (fault.kind) {
        case FaultKind::None:
            return {{milliseconds(0), reply}};
        case FaultKind::Silent:
            return {};
        case FaultKind::Delayed:
            return {{fault.time, reply}};
        case FaultKind::Short:
            return {{milliseconds(0), Frame(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(std::min(n, kShortReplyBytes)))}};
        case FaultKind::BadCrc: {
            Frame bad = reply;
            if (n >= 1) bad[n - 1] ^= 0xFF;
            return {{milliseconds(0), bad}};
        }
        case FaultKind::SwappedCrc: {
            Frame swapped = reply;
            if (n >= kCrcBytes) std::swap(swapped[n - 2], swapped[n - 1]);
            return {{milliseconds(0), swapped}};
        }
        case FaultKind::Split: {
            const auto half = static_cast<std::ptrdiff_t>(n / 2);
            return {{milliseconds(0), Frame(reply.begin(), reply.begin() + half)},
                    {fault.time, Frame(reply.begin() + half, reply.end())}};
        }
        case FaultKind::Glitch:
            return {{milliseconds(0), Frame(kStrayBytes.begin(), kStrayBytes.end())}, {fault.time, reply}};
        case FaultKind::WrongAddress: {
            Frame other = reply;
            if (n > kCrcBytes) other[0] = static_cast<std::uint8_t>(other[0] + 1);
            return {{milliseconds(0), WithCrc(std::move(other))}};
        }
        case FaultKind::Exception: {
            const std::uint8_t address = request.empty() ? 0 : request[0];
            const std::uint8_t function = request.size() < 2 ? 0 : request[1];
            return {{milliseconds(0), ExceptionReply(address, function, kExceptionIllegalFunction)}};
        }
        case FaultKind::Noise:
            return {{milliseconds(0), NoiseBytes(std::min(fault.bytes, Fault::kMaxNoiseBytes), request)}};
    }
    return {};
}

}  // namespace sim
