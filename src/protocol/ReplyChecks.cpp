#include "ReplyChecks.h"

#include <algorithm>
#include <cstddef>

#include "BaudCodes.h"
#include "Crc16.h"

namespace {

std::uint16_t WordAt(ReplyBytes reply, std::size_t offset) {
    return static_cast<std::uint16_t>(reply[offset] << 8 | reply[offset + 1]);
}

bool HasMark(ReplyBytes reply, std::uint8_t mark) {
    return reply[0] == mark && reply[1] == mark && reply[2] == mark;
}

// Bytes ahead of the CRC.
std::size_t PayloadBytes(ReplyBytes reply) {
    return reply.size() - kCrcBytes;
}

// The shortest reply that holds `fieldBytes` of fields and then the CRC.
bool Holds(ReplyBytes reply, std::size_t fieldBytes) {
    return reply.size() >= fieldBytes + kCrcBytes;
}

// Value-shaped replies: value 1 at `firstValue`, value 2 two bytes further.
// `checkedBytes` is how far the check itself reads.
bool HoldsValues(ReplyBytes reply, std::size_t checkedBytes, std::size_t firstValue,
                 ValuesUsed used) {
    const std::size_t valueCount = static_cast<std::size_t>(used);
    const std::size_t needed = valueCount == 0 ? checkedBytes : firstValue + 2 * valueCount;
    return Holds(reply, needed);
}

ReplyValues TakeValues(ReplyBytes reply, std::size_t firstValue) {
    ReplyValues values;
    const std::size_t payload = PayloadBytes(reply);
    if (payload >= firstValue + 2) values.value1 = WordAt(reply, firstValue);
    if (payload >= firstValue + 4) values.value2 = WordAt(reply, firstValue + 2);
    return values;
}

// FC and value-shaped FB replies share their layout: mark, code, operation,
// value 1 at byte 5, value 2 at byte 7.
constexpr std::size_t kMarkedValueOffset = 5;

std::optional<ReplyValues> ParseMarkedValueReply(ReplyBytes reply, std::uint8_t mark,
                                                 ValuesUsed used) {
    if (!HoldsValues(reply, kMarkBytes, kMarkedValueOffset, used)) return std::nullopt;
    if (!HasValidCrc(reply)) return std::nullopt;
    if (!HasMark(reply, mark)) return std::nullopt;
    return TakeValues(reply, kMarkedValueOffset);
}

}  // namespace

bool CheckReplyCrc(ReplyBytes reply) {
    return HasValidCrc(reply);
}

bool CheckWriteRegistersReply(ReplyBytes reply) {
    return HasValidCrc(reply) && (reply[1] & kExceptionFlag) == 0;
}

std::optional<FdReply> ParseFdReply(ReplyBytes reply) {
    //   0  1  2  3          4        5   6
    //   FD FD FD baud-code  address  CRC CRC
    if (!Holds(reply, kFdFrameBytes - kCrcBytes)) return std::nullopt;
    if (!HasValidCrc(reply)) return std::nullopt;
    if (!HasMark(reply, kFdMark)) return std::nullopt;
    const std::uint32_t rate = FdBaudRate(reply[3]);
    if (rate == 0) return std::nullopt;
    return FdReply{rate, reply[4]};
}

std::optional<SoilSearchReply> ParseSoilSearchReply(ReplyBytes reply) {
    //   0   1   2   3..4    5..6   7..8    9..10  11..12  13  14
    //   FF  03  0A  addr    baud   parity  stop1  stop2   CRC CRC
    // Each register's low byte is the one that counts.
    if (!Holds(reply, kLineSettingsReplyBytes - kCrcBytes)) return std::nullopt;
    if (!HasValidCrc(reply)) return std::nullopt;
    SoilSearchReply result;
    result.address = reply[4];
    result.baudRate = RegisterBaudRate(reply[6]);
    result.parity = reply[8];
    result.stopFlag1 = reply[10];
    result.stopFlag2 = reply[12];
    return result;
}

std::optional<ReplyValues> ParseReadReply(ReplyBytes reply, std::uint8_t expectedAddress,
                                          ValuesUsed used) {
    //   0        1   2           3..4     5..6     ..   CRC
    //   address  03  byte count  value 1  value 2
    constexpr std::size_t kCheckedBytes = 2;
    constexpr std::size_t kFirstValue = 3;
    if (!HoldsValues(reply, kCheckedBytes, kFirstValue, used)) return std::nullopt;
    if (!HasValidCrc(reply)) return std::nullopt;
    if (reply[0] != expectedAddress) return std::nullopt;
    if (reply[1] != kFuncReadRegisters) return std::nullopt;  // also refuses 0x83, the exception
    return TakeValues(reply, kFirstValue);
}

std::optional<std::vector<std::uint16_t>> ParseRegisterBlock(ReplyBytes reply, std::uint8_t address,
                                                             std::uint8_t count) {
    constexpr std::size_t kFirstWord = 3;
    const std::size_t dataBytes = 2 * static_cast<std::size_t>(count);
    if (count == 0 || reply.size() != kFirstWord + dataBytes + kCrcBytes) return std::nullopt;
    if (!HasValidCrc(reply)) return std::nullopt;
    if (reply[0] != address || reply[1] != kFuncReadRegisters || reply[2] != dataBytes) return std::nullopt;
    std::vector<std::uint16_t> words;
    words.reserve(count);
    for (std::size_t i = 0; i < count; ++i) words.push_back(WordAt(reply, kFirstWord + 2 * i));
    return words;
}

std::optional<ReplyValues> ParseFcReply(ReplyBytes reply, ValuesUsed used) {
    return ParseMarkedValueReply(reply, kFcMark, used);
}

std::optional<ReplyValues> ParseFbReply(ReplyBytes reply, ValuesUsed used) {
    return ParseMarkedValueReply(reply, kFbMark, used);
}

std::optional<FbConfigReply> ParseFbConfigReply(ReplyBytes reply) {
    //   0  1  2  3        4   5..6        7..31            32  33
    //   FB FB FB command  --  sleep time  receiver bitmap  CRC CRC
    constexpr std::size_t kSleepOffset = 5;
    constexpr std::size_t kBitmapOffset = 7;
    if (!Holds(reply, kFbConfigReplyBytes - kCrcBytes)) return std::nullopt;
    if (!HasValidCrc(reply)) return std::nullopt;
    if (!HasMark(reply, kFbMark)) return std::nullopt;
    const std::uint8_t command = reply[3];
    if (command != kFbEnterConfig && command != kFbConfigureReceiver && command != kFbClearReceiver) {
        return std::nullopt;
    }
    FbConfigReply result;
    result.command = command;
    result.sleepTime = WordAt(reply, kSleepOffset);
    std::copy_n(reply.begin() + kBitmapOffset, kConfigBitmapBytes, result.configBits.begin());
    return result;
}

bool CheckEchoReply(ReplyBytes reply, ReplyBytes request) {
    if (reply.size() <= 3 || reply.size() < request.size()) return false;
    return std::equal(request.begin(), request.end(), reply.begin());
}
