// libFuzzer target: any bytes a fetch can deliver (noise, cut-off frames,
// floods, frames of another family) go through every reply check. A check may
// pass or fail, but must never read outside the bytes given, and a reply that
// passes must really hold the fields its caller was promised.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "FuzzRequire.h"
#include "protocol/Crc16.h"
#include "protocol/ReplyChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first byte picks the caller's side of the checks; the rest is the reply.
    if (size == 0) return 0;
    const std::uint8_t selector = data[0];
    // Copied into a buffer of exactly the reply's size, so that a read past the
    // reply is caught by the address sanitizer.
    const std::size_t length = size - 1;
    const std::vector<std::uint8_t> copy(data + 1, data + size);
    const std::span<const std::uint8_t> reply(copy);

    const auto used = static_cast<ValuesUsed>(selector % 3);
    const std::size_t valueCount = selector % 3;
    const std::uint8_t expectedAddress = (selector & 0x80) != 0 ? kRegisterModeAddress : selector;

    const bool crc = CheckReplyCrc(reply);
    Require(!crc || (length >= 3 && HasValidCrc(reply)));

    if (const auto fd = ParseFdReply(reply)) {
        Require(crc && length >= kFdFrameBytes);
        Require(fd->baudRate == 2400 || fd->baudRate == 4800 || fd->baudRate == 9600);
    }
    if (ParseSoilSearchReply(reply)) Require(crc && length >= kLineSettingsReplyBytes);
    if (ParseReadReply(reply, expectedAddress, used)) {
        Require(crc && reply[0] == expectedAddress && reply[1] == kFuncReadRegisters);
        // The check reads the address and the function; the byte count only
        // counts ahead of values the caller uses.
        Require(length >= (valueCount == 0 ? 2 : 3 + 2 * valueCount) + kCrcBytes);
    }
    if (ParseFcReply(reply, used)) Require(crc && reply[0] == kFcMark && length >= 5 + 2 * valueCount + kCrcBytes);
    if (ParseFbReply(reply, used)) Require(crc && reply[0] == kFbMark && length >= 5 + 2 * valueCount + kCrcBytes);
    if (const auto config = ParseFbConfigReply(reply)) {
        Require(crc && length >= kFbConfigReplyBytes);
        Require(config->command == 1 || config->command == 3 || config->command == 6);
    }

    // The echo check against a request taken from the reply's own front.
    const std::size_t requestLength = 8 + (selector & 1);
    if (length >= requestLength) {
        Require(CheckEchoReply(reply, reply.first(requestLength)));
    }
    if (CheckEchoReply(reply, reply.subspan(0, length / 2))) Require(length > 3);
    return 0;
}
