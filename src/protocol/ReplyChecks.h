#pragma once
// The reply checks. Each takes the reply exactly as fetched (the bytes of the
// stopping fetch, nothing beyond them) and returns a verdict with the reply's
// values; none of them stores anything. Callers update device state only from
// a reply that passed.
//
// Every check tests the CRC (the last two bytes, low byte first, over all the
// bytes before them) before it looks at any other byte, and rejects a reply too
// short to hold, ahead of its CRC, every field that the check or its caller
// reads. So a value never comes from bytes that the device did not send.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>
#include <span>

#include "FrameCodes.h"

using ReplyBytes = std::span<const std::uint8_t>;

// How many of the two values of a value-shaped reply the caller goes on to
// use. The reply must carry those in full ahead of its CRC; a value the caller
// does not use may be missing (it then reads 0).
enum class ValuesUsed : std::uint8_t { None = 0, First = 1, Both = 2 };

struct ReplyValues {
    std::uint16_t value1 = 0;
    std::uint16_t value2 = 0;
};

// CRC alone.
bool CheckReplyCrc(ReplyBytes reply);

// The reply to the function-10 line-settings write: any reply with a good CRC,
// unless its function byte carries the exception flag (a refusal is no
// confirmation).
bool CheckWriteRegistersReply(ReplyBytes reply);

// FD FD FD, baud code 1..3, address, CRC.
struct FdReply {
    std::uint32_t baudRate = 0;  // 2400, 4800 or 9600
    std::uint8_t address = 0;
};
std::optional<FdReply> ParseFdReply(ReplyBytes reply);

// The function-03 reply of the five line-setting registers (15 bytes). Only
// the CRC is tested; an unknown register baud code passes as baud rate 0.
struct SoilSearchReply {
    std::uint8_t address = 0;
    std::uint32_t baudRate = 0;
    std::uint8_t parity = 0;
    std::uint8_t stopFlag1 = 0;
    std::uint8_t stopFlag2 = 0;
};
std::optional<SoilSearchReply> ParseSoilSearchReply(ReplyBytes reply);

// The address a function-03 reply must come from: 255 in register mode, else
// the device's own address.
constexpr std::uint8_t ExpectedReadAddress(bool soilMode, std::uint8_t devAddress) {
    return soilMode ? kRegisterModeAddress : devAddress;
}

// Function-03 reply: address, 03, byte count (not examined), data, CRC.
// value 1 = bytes 3-4, value 2 = bytes 5-6. A 7-byte reply to a one-register
// read passes with ValuesUsed::First.
std::optional<ReplyValues> ParseReadReply(ReplyBytes reply, std::uint8_t expectedAddress,
                                          ValuesUsed used);

// Function-03 reply of a bus unit to a read of `count` registers:
//   address  03  byte count (2 x count)  count words  CRC
// exactly that long, from `address`; the words in register order.
std::optional<std::vector<std::uint16_t>> ParseRegisterBlock(ReplyBytes reply, std::uint8_t address,
                                                             std::uint8_t count);

// FC FC FC, code, operation (neither examined), value 1 = bytes 5-6,
// value 2 = bytes 7-8, CRC. A 9-byte echo of a write passes with
// ValuesUsed::None or ValuesUsed::First.
std::optional<ReplyValues> ParseFcReply(ReplyBytes reply, ValuesUsed used);

// Value-shaped FB reply: FB FB FB, command and operation (not examined),
// value 1 = bytes 5-6, value 2 = bytes 7-8, CRC.
std::optional<ReplyValues> ParseFbReply(ReplyBytes reply, ValuesUsed used);

// FB configuration reply, 34 bytes: FB FB FB, command 1, 3 or 6, one byte not
// examined, sleep time, the 25-byte receiver bitmap, CRC.
struct FbConfigReply {
    std::uint8_t command = 0;
    std::uint16_t sleepTime = 0;
    std::array<std::uint8_t, kConfigBitmapBytes> configBits{};
};
std::optional<FbConfigReply> ParseFbConfigReply(ReplyBytes reply);

// The device echoes a write: the reply (more than 3 bytes) begins with every
// byte of the request, CRC included; bytes after them do not matter.
bool CheckEchoReply(ReplyBytes reply, ReplyBytes request);
