// The reply checks: which replies pass, what they yield, and that a reply too
// short for the fields in use is refused instead of read past its end.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "protocol/Crc16.h"
#include "protocol/ReplyChecks.h"
#include "support/BuiltFrame.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes SwapCrc(Bytes frame) {
    std::swap(frame[frame.size() - 2], frame[frame.size() - 1]);
    return frame;
}

Bytes ConfigReply(std::uint8_t command, std::uint16_t sleep, std::uint8_t firstBits, std::uint8_t lastBits) {
    Bytes head = {0xFB, 0xFB, 0xFB, command, 0x00, static_cast<std::uint8_t>(sleep >> 8),
                  static_cast<std::uint8_t>(sleep & 0xFF)};
    Bytes bitmap(kConfigBitmapBytes, 0);
    bitmap.front() = firstBits;
    bitmap.back() = lastBits;
    head.insert(head.end(), bitmap.begin(), bitmap.end());
    return Sealed(head);
}

const Bytes kFd4800Address7 = Sealed({0xFD, 0xFD, 0xFD, 0x02, 0x07});
const Bytes kLineSettings = Sealed({0xFF, 0x03, 0x0A, 0x00, 0x01, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
const Bytes kTwoRegisters = Sealed({0x01, 0x03, 0x04, 0x02, 0x58, 0x00, 0xFA});
const Bytes kFcValue = Sealed({0xFC, 0xFC, 0xFC, 0x05, 0x00, 0x00, 0x50, 0x00, 0x00});
const Bytes kFbValue = Sealed({0xFB, 0xFB, 0xFB, 0x07, 0x00, 0x05, 0x00, 0x00, 0x00});

TEST(ReplyChecks, SwappedCrcBytesFailEveryCheckThatTestsTheCrc) {
    struct Case {
        const char* name;
        Bytes good;
        std::function<bool(ReplyBytes)> check;
    };
    const std::vector<Case> cases = {
        {"CheckReplyCrc", Sealed({0xFF, 0x10, 0x02, 0x00, 0x00, 0x05}), CheckReplyCrc},
        {"ParseFdReply", kFd4800Address7, [](ReplyBytes r) { return ParseFdReply(r).has_value(); }},
        {"ParseSoilSearchReply", kLineSettings, [](ReplyBytes r) { return ParseSoilSearchReply(r).has_value(); }},
        {"ParseReadReply", kTwoRegisters,
         [](ReplyBytes r) { return ParseReadReply(r, 1, ValuesUsed::Both).has_value(); }},
        {"ParseFcReply", kFcValue, [](ReplyBytes r) { return ParseFcReply(r, ValuesUsed::First).has_value(); }},
        {"ParseFbReply", kFbValue, [](ReplyBytes r) { return ParseFbReply(r, ValuesUsed::First).has_value(); }},
        {"ParseFbConfigReply", ConfigReply(1, 60, 0, 0),
         [](ReplyBytes r) { return ParseFbConfigReply(r).has_value(); }},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(c.check(c.good)) << c.name;
        EXPECT_FALSE(c.check(SwapCrc(c.good))) << c.name;
        Bytes flipped = c.good;
        flipped[0] ^= 0x01;  // any changed byte breaks the CRC
        EXPECT_FALSE(c.check(flipped)) << c.name;
    }
}

TEST(ReplyChecks, FdReply) {
    struct Case {
        const char* name;
        Bytes reply;
        std::optional<std::pair<std::uint32_t, std::uint8_t>> expected;  // baud, address
    };
    const std::vector<Case> cases = {
        {"4800, address 7", kFd4800Address7, {{4800, 7}}},
        {"2400", Sealed({0xFD, 0xFD, 0xFD, 0x01, 0xFF}), {{2400, 255}}},
        {"9600", Sealed({0xFD, 0xFD, 0xFD, 0x03, 0x01}), {{9600, 1}}},
        {"baud code 4", Sealed({0xFD, 0xFD, 0xFD, 0x04, 0x07}), std::nullopt},
        {"baud code 0", Sealed({0xFD, 0xFD, 0xFD, 0x00, 0x07}), std::nullopt},
        {"broken mark", Sealed({0xFD, 0xFD, 0xFC, 0x02, 0x07}), std::nullopt},
        {"FC frame", Sealed({0xFC, 0xFC, 0xFC, 0x02, 0x07}), std::nullopt},
        // Good CRC but no address byte ahead of it: the address would be a CRC byte.
        {"6 bytes", Sealed({0xFD, 0xFD, 0xFD, 0x02}), std::nullopt},
        {"4 bytes", Sealed({0xFD, 0xFD}), std::nullopt},
    };
    for (const Case& c : cases) {
        const auto reply = ParseFdReply(c.reply);
        ASSERT_EQ(reply.has_value(), c.expected.has_value()) << c.name;
        if (!reply) continue;
        EXPECT_EQ(reply->baudRate, c.expected->first) << c.name;
        EXPECT_EQ(reply->address, c.expected->second) << c.name;
    }
}

TEST(ReplyChecks, SoilSearchReply) {
    const auto found = ParseSoilSearchReply(kLineSettings);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->address, 1);
    EXPECT_EQ(found->baudRate, 9600U);
    EXPECT_EQ(found->parity, 0);
    EXPECT_EQ(found->stopFlag1, 0);
    EXPECT_EQ(found->stopFlag2, 0);

    // Only the low byte of each register counts; code 6 is no rate but passes.
    const auto odd = ParseSoilSearchReply(
        Sealed({0xFF, 0x03, 0x0A, 0x12, 0x22, 0x00, 0x06, 0x00, 0x05, 0x00, 0x01, 0x00, 0x02}));
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->address, 0x22);
    EXPECT_EQ(odd->baudRate, 0U);
    EXPECT_EQ(odd->parity, 5);
    EXPECT_EQ(odd->stopFlag1, 1);
    EXPECT_EQ(odd->stopFlag2, 2);

    // One register short: the second stop flag would come from the CRC.
    EXPECT_FALSE(ParseSoilSearchReply(Sealed({0xFF, 0x03, 0x08, 0x00, 0x01, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00})));
    EXPECT_FALSE(ParseSoilSearchReply(Sealed({0xFF, 0x03})));
}

TEST(ReplyChecks, ReadReply) {
    struct Case {
        const char* name;
        Bytes reply;
        std::uint8_t expectedAddress;
        ValuesUsed used;
        std::optional<std::pair<std::uint16_t, std::uint16_t>> values;
    };
    const Bytes oneRegister = Sealed({0x01, 0x03, 0x02, 0x00, 0x01});  // 7 bytes
    const std::vector<Case> cases = {
        {"two registers", kTwoRegisters, 1, ValuesUsed::Both, {{0x0258, 0x00FA}}},
        {"another address", kTwoRegisters, 2, ValuesUsed::Both, std::nullopt},
        {"exception 0x83", Sealed({0x01, 0x83, 0x02}), 1, ValuesUsed::First, std::nullopt},
        {"exception 0x83, long", Sealed({0x01, 0x83, 0x04, 0x02, 0x58, 0x00, 0xFA}), 1, ValuesUsed::Both,
         std::nullopt},
        {"function 04", Sealed({0x01, 0x04, 0x04, 0x02, 0x58, 0x00, 0xFA}), 1, ValuesUsed::Both, std::nullopt},
        {"register mode, from 255", Sealed({0xFF, 0x03, 0x04, 0x02, 0x58, 0x00, 0xFA}), 255, ValuesUsed::Both,
         {{0x0258, 0x00FA}}},
        {"register mode, from the device address", kTwoRegisters, 255, ValuesUsed::Both, std::nullopt},
        // The byte count is not examined; the one value in use is there.
        {"7 bytes, one value used", oneRegister, 1, ValuesUsed::First, {{0x0001, 0x0000}}},
        {"7 bytes, two values used", oneRegister, 1, ValuesUsed::Both, std::nullopt},
        {"byte count says 4, one register sent", Sealed({0x01, 0x03, 0x04, 0x00, 0x01}), 1, ValuesUsed::First,
         {{0x0001, 0x0000}}},
        {"9 bytes, one value used", kTwoRegisters, 1, ValuesUsed::First, {{0x0258, 0x00FA}}},
        {"no data", Sealed({0x01, 0x03, 0x00}), 1, ValuesUsed::First, std::nullopt},
        {"4 bytes", Sealed({0x01, 0x03}), 1, ValuesUsed::First, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto values = ParseReadReply(c.reply, c.expectedAddress, c.used);
        ASSERT_EQ(values.has_value(), c.values.has_value()) << c.name;
        if (!values) continue;
        EXPECT_EQ(values->value1, c.values->first) << c.name;
        EXPECT_EQ(values->value2, c.values->second) << c.name;
    }
    EXPECT_EQ(ExpectedReadAddress(true, 7), 255);
    EXPECT_EQ(ExpectedReadAddress(false, 7), 7);
}

TEST(ReplyChecks, FcAndFbValueReplies) {
    using Check = std::optional<ReplyValues> (*)(ReplyBytes, ValuesUsed);
    struct Case {
        const char* name;
        Check check;
        Bytes reply;
        ValuesUsed used;
        std::optional<std::uint16_t> value1;
    };
    const Bytes fcEcho = {0xFC, 0xFC, 0xFC, 0x04, 0x01, 0x80, 0x0A, 0xD2, 0x10};
    const std::vector<Case> cases = {
        {"FC value", ParseFcReply, kFcValue, ValuesUsed::First, 0x0050},
        {"FC reply of another code", ParseFcReply, Sealed({0xFC, 0xFC, 0xFC, 0x09, 0x07, 0x12, 0x34, 0, 0}),
         ValuesUsed::First, 0x1234},
        {"FC echo of a write, value unused", ParseFcReply, fcEcho, ValuesUsed::None, 0x800A},
        {"FC echo of a write, first value", ParseFcReply, fcEcho, ValuesUsed::First, 0x800A},
        {"FC echo of a write, both values", ParseFcReply, fcEcho, ValuesUsed::Both, std::nullopt},
        {"FC 7 bytes, value unused", ParseFcReply, Sealed({0xFC, 0xFC, 0xFC, 0x05, 0x00}), ValuesUsed::None, 0},
        {"FC 7 bytes, first value", ParseFcReply, Sealed({0xFC, 0xFC, 0xFC, 0x05, 0x00}), ValuesUsed::First,
         std::nullopt},
        {"FC marks on an FB reply", ParseFcReply, kFbValue, ValuesUsed::First, std::nullopt},
        {"FC 4 bytes", ParseFcReply, Sealed({0xFC, 0xFC}), ValuesUsed::None, std::nullopt},
        {"FB channel 5", ParseFbReply, kFbValue, ValuesUsed::First, 0x0500},
        {"FB any command", ParseFbReply, Sealed({0xFB, 0xFB, 0xFB, 0x02, 0x01, 0, 0, 0, 0}), ValuesUsed::None, 0},
        {"FB configuration reply, value-shaped", ParseFbReply, ConfigReply(6, 0x1234, 0, 0), ValuesUsed::First,
         0x1234},
        {"FB marks on an FC reply", ParseFbReply, kFcValue, ValuesUsed::First, std::nullopt},
        {"FB 8 bytes, first value", ParseFbReply, Sealed({0xFB, 0xFB, 0xFB, 0x07, 0x00, 0x05}), ValuesUsed::First,
         std::nullopt},
    };
    for (const Case& c : cases) {
        const auto values = c.check(c.reply, c.used);
        ASSERT_EQ(values.has_value(), c.value1.has_value()) << c.name;
        if (values) {
            EXPECT_EQ(values->value1, *c.value1) << c.name;
        }
    }
    const auto th = ParseFbReply(Sealed({0xFB, 0xFB, 0xFB, 0x05, 0x01, 0xFF, 0x9C, 0x02, 0x5D}), ValuesUsed::Both);
    ASSERT_TRUE(th);
    EXPECT_EQ(th->value1, 0xFF9C);
    EXPECT_EQ(th->value2, 0x025D);
}

TEST(ReplyChecks, FbConfigReply) {
    const auto entered = ParseFbConfigReply(ConfigReply(1, 0x003C, 0x01, 0x80));
    ASSERT_TRUE(entered);
    EXPECT_EQ(entered->command, 1);
    EXPECT_EQ(entered->sleepTime, 0x003C);
    EXPECT_EQ(entered->configBits.front(), 0x01);
    EXPECT_EQ(entered->configBits.back(), 0x80);
    EXPECT_EQ(std::count(entered->configBits.begin(), entered->configBits.end(), 0), 23);

    EXPECT_TRUE(ParseFbConfigReply(ConfigReply(3, 0, 0, 0)));
    EXPECT_TRUE(ParseFbConfigReply(ConfigReply(6, 0, 0, 0)));
    EXPECT_FALSE(ParseFbConfigReply(ConfigReply(2, 0, 0, 0)));
    EXPECT_FALSE(ParseFbConfigReply(ConfigReply(0, 0, 0, 0)));
    EXPECT_FALSE(ParseFbConfigReply(ConfigReply(7, 0, 0, 0)));

    // A value-shaped reply with a good CRC holds no bitmap.
    EXPECT_FALSE(ParseFbConfigReply(Sealed({0xFB, 0xFB, 0xFB, 0x01, 0x00, 0x00, 0x3C, 0, 0})));
    // One bitmap byte short.
    Bytes shorter = ConfigReply(1, 60, 0, 0);
    shorter.resize(shorter.size() - 3);
    EXPECT_FALSE(ParseFbConfigReply(Sealed(shorter)));
}

TEST(ReplyChecks, CrcOnlyAndEcho) {
    EXPECT_TRUE(CheckReplyCrc(Sealed({0xFF, 0x10, 0x02, 0x00, 0x00, 0x05})));
    EXPECT_FALSE(CheckReplyCrc(Bytes{0xFF, 0xFF}));  // the CRC of nothing: no reply at all
    EXPECT_FALSE(CheckReplyCrc(Bytes{}));

    const Bytes request = {0x01, 0x06, 0x00, 0x2D, 0x00, 0x03, 0x59, 0xC2};
    Bytes longer = request;
    longer.push_back(0x00);
    Bytes otherCrc = request;
    otherCrc.back() ^= 0x01;
    struct Case {
        const char* name;
        Bytes reply;
        bool passes;
    };
    const std::vector<Case> cases = {
        {"echo", request, true},
        {"echo with more bytes behind it", longer, true},
        {"echo differing in a CRC byte", otherCrc, false},
        {"first 5 bytes of the echo", Bytes(request.begin(), request.begin() + 5), false},
        {"3 bytes", Bytes(request.begin(), request.begin() + 3), false},
        {"nothing", Bytes{}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckEchoReply(c.reply, request), c.passes) << c.name;
    }
}

}  // namespace
