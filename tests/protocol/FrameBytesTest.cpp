// Every request frame the tool puts on the wire, byte for byte, CRC included.

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "protocol/BaudCodes.h"
#include "protocol/Crc16.h"
#include "protocol/FrameCodes.h"
#include "protocol/RequestFrames.h"
#include "support/BuiltFrame.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct FixedFrame {
    const char* name;
    std::function<std::uint16_t(TxBuffer)> builder;
    Bytes expected;
};

TEST(FrameBytes, EveryFixedFrameMatchesTheWire) {
    const std::vector<FixedFrame> frames = {
        {"FD query", BuildFdQuery, {0xFD, 0xFD, 0xFD, 0x00, 0x00, 0xE9, 0x88}},
        {"line settings read", BuildLineSettingsRead, {0xFF, 0x03, 0x02, 0x00, 0x00, 0x05, 0x91, 0xAF}},
        {"humidity read, address 1", [](TxBuffer tx) { return BuildRegisterRead(tx, 1, kRegHumidity, 2); },
         {0x01, 0x03, 0x00, 0x00, 0x00, 0x02, 0xC4, 0x0B}},
        {"relay 1 query, address 1", [](TxBuffer tx) { return BuildRegisterRead(tx, 1, kRegLcdRelay1, 1); },
         {0x01, 0x03, 0x00, 0x2F, 0x00, 0x01, 0xB5, 0xC3}},
        {"work mode 3, address 1", [](TxBuffer tx) { return BuildRegisterWrite(tx, 1, kRegLcdWorkMode, 3); },
         {0x01, 0x06, 0x00, 0x2D, 0x00, 0x03, 0x59, 0xC2}},
        {"humidity upper limit read", [](TxBuffer tx) { return BuildFcRead(tx, kFcHumidityUpper); },
         {0xFC, 0xFC, 0xFC, 0x05, 0x00, 0x00, 0x00, 0x63, 0xEB}},
        {"temperature lower limit -10", [](TxBuffer tx) { return BuildFcWrite(tx, kFcTemperatureLower, 0x800A); },
         {0xFC, 0xFC, 0xFC, 0x04, 0x01, 0x80, 0x0A, 0xD2, 0x10}},
        {"temperature adjust -1.5", [](TxBuffer tx) { return BuildFcWrite(tx, kFcTemperatureAdjust, 0x800F); },
         {0xFC, 0xFC, 0xFC, 0x01, 0x01, 0x80, 0x0F, 0x12, 0xDF}},
        {"output delay 300", [](TxBuffer tx) { return BuildFcWrite(tx, kFcOutputDelay, 300); },
         {0xFC, 0xFC, 0xFC, 0x0B, 0x01, 0x01, 0x2C, 0x30, 0x8E}},
        {"remote signal read", [](TxBuffer tx) { return BuildFcRead(tx, kFcRemoteSignal); },
         {0xFC, 0xFC, 0xFC, 0x0C, 0x00, 0x00, 0x00, 0x60, 0x77}},
        {"remote signal normally close", [](TxBuffer tx) { return BuildFcWrite(tx, kFcRemoteSignal, 1); },
         {0xFC, 0xFC, 0xFC, 0x0C, 0x01, 0x00, 0x01, 0xF0, 0x77}},
        {"light upper limit 300", [](TxBuffer tx) { return BuildFcWrite(tx, kFcLightUpper, 300); },
         {0xFC, 0xFC, 0xFC, 0x0D, 0x01, 0x01, 0x2C, 0x30, 0x06}},
        {"light upper limit read", [](TxBuffer tx) { return BuildFcRead(tx, kFcLightUpper); },
         {0xFC, 0xFC, 0xFC, 0x0D, 0x00, 0x00, 0x00, 0x61, 0x8B}},
        {"enter configuration", BuildFbEnterConfig,
         {0xFB, 0xFB, 0xFB, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x45, 0xED}},
        {"leave configuration", BuildFbLeaveConfig,
         {0xFB, 0xFB, 0xFB, 0x02, 0x01, 0x00, 0x00, 0x00, 0x00, 0x45, 0xDE}},
        {"channel read", BuildFbChannelRead, {0xFB, 0xFB, 0xFB, 0x07, 0x00, 0x00, 0x70, 0xA1}},
        {"temperature/humidity read", BuildFbTemperatureHumidityRead,
         {0xFB, 0xFB, 0xFB, 0x05, 0x01, 0x00, 0x00, 0x00, 0x9C, 0x44}},
        {"configure address 1", [](TxBuffer tx) { return BuildFbConfigureReceiver(tx, 0); },
         {0xFB, 0xFB, 0xFB, 0x03, 0x01, 0x00, 0x00, 0xF0, 0x14}},
        {"clear address 1", [](TxBuffer tx) { return BuildFbClearReceiver(tx, 0); },
         {0xFB, 0xFB, 0xFB, 0x06, 0x01, 0x00, 0x00, 0xF0, 0xD8}},
    };
    for (const FixedFrame& frame : frames) {
        EXPECT_EQ(Built(frame.builder), frame.expected) << frame.name;
    }
}

// The frames above fix the byte order on the wire; this is the CRC's own check value.
TEST(FrameBytes, CrcCheckValue) {
    const std::string check = "123456789";
    EXPECT_EQ(ComputeCrc16(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()), 0x4B37);
}

// Frames whose bytes depend on the operator's input: the variable bytes land
// where the layouts put them, and every frame closes with its own CRC.
TEST(FrameBytes, VariableFramesCarryTheirFieldsAndAValidCrc) {
    struct Case {
        const char* name;
        Bytes built;
        Bytes head;  // the bytes ahead of the CRC
    };
    const std::vector<Case> cases = {
        {"FD set address 7", Built([](TxBuffer tx) { return BuildFdSetAddress(tx, 7); }),
         {0xFD, 0xFD, 0xFD, 0x00, 0x07}},
        {"FD set baud 9600", Built([](TxBuffer tx) { return BuildFdSetBaud(tx, *FdBaudCode(9600)); }),
         {0xFD, 0xFD, 0xFD, 0x03, 0x00}},
        {"line settings write: address 9, 2400",
         Built([](TxBuffer tx) { return BuildLineSettingsWrite(tx, 9, *FdBaudCode(2400)); }),
         {0xFF, 0x10, 0x02, 0x00, 0x00, 0x05, 0x0A, 0x00, 0x09, 0x00, 0x01, 0, 0, 0, 0, 0, 0}},
        {"temperature read in register mode",
         Built([](TxBuffer tx) { return BuildRegisterRead(tx, kRegisterModeAddress, kRegHumidity, 2); }),
         {0xFF, 0x03, 0x00, 0x00, 0x00, 0x02}},
        {"relay 2 close, address 200", Built([](TxBuffer tx) { return BuildRegisterWrite(tx, 200, kRegLcdRelay2, 1); }),
         {0xC8, 0x06, 0x00, 0x30, 0x00, 0x01}},
        {"configure address 200", Built([](TxBuffer tx) { return BuildFbConfigureReceiver(tx, 199); }),
         {0xFB, 0xFB, 0xFB, 0x03, 0x01, 0xC7, 0xC7}},
        {"clear address 200", Built([](TxBuffer tx) { return BuildFbClearReceiver(tx, 199); }),
         {0xFB, 0xFB, 0xFB, 0x06, 0x01, 0xC7, 0xC7}},
        {"sleep time read", Built(BuildFbSleepTimeRead), {0xFB, 0xFB, 0xFB, 0x04, 0x00, 0x00, 0x00, 0x00}},
        {"sleep time 65535", Built([](TxBuffer tx) { return BuildFbSleepTimeWrite(tx, 0xFFFF); }),
         {0xFB, 0xFB, 0xFB, 0x04, 0x01, 0xFF, 0xFF}},
        {"channel FF (nothing selected)", Built([](TxBuffer tx) { return BuildFbChannelWrite(tx, 0xFF); }),
         {0xFB, 0xFB, 0xFB, 0x07, 0x01, 0xFF}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.built.size(), c.head.size() + 2) << c.name;
        EXPECT_TRUE(std::equal(c.head.begin(), c.head.end(), c.built.begin())) << c.name;
        const std::uint16_t crc = ComputeCrc16(c.head);
        EXPECT_EQ(c.built[c.head.size()], crc & 0xFF) << c.name;
        EXPECT_EQ(c.built[c.head.size() + 1], crc >> 8) << c.name;
    }
}

TEST(FrameBytes, BuildReadRequestFillsBytesOneToFiveOnly) {
    std::array<std::uint8_t, 8> tx;
    tx.fill(0xAA);
    BuildReadRequest(tx, 0x00, 0x06, 1);
    EXPECT_EQ(tx, (std::array<std::uint8_t, 8>{0xAA, 0x03, 0x00, 0x06, 0x00, 0x01, 0xAA, 0xAA}));
}

TEST(FrameBytes, ABufferTooSmallGetsNothing) {
    std::array<std::uint8_t, 8> tx{};
    EXPECT_EQ(BuildFdQuery(std::span<std::uint8_t>(tx).first(6)), 0);
    EXPECT_EQ(BuildFcRead(tx, kFcLightUpper), 0);       // needs 9
    EXPECT_EQ(BuildLineSettingsWrite(tx, 1, 2), 0);     // needs 19
    EXPECT_EQ(BuildRegisterRead(std::span<std::uint8_t>(tx).first(7), 1, 0, 1), 0);
    EXPECT_EQ(BuildRegisterRead(tx, 1, 0, 1), 8);
}

// The edges of both tables: codes outside them read as rate 0.
TEST(FrameBytes, BaudCodeTables) {
    EXPECT_EQ(FdBaudRate(0), 0U);
    EXPECT_EQ(FdBaudRate(1), 2400U);
    EXPECT_EQ(FdBaudRate(3), 9600U);
    EXPECT_EQ(FdBaudRate(4), 0U);
    EXPECT_EQ(RegisterBaudRate(0), 1200U);
    EXPECT_EQ(RegisterBaudRate(5), 38400U);
    EXPECT_EQ(RegisterBaudRate(6), 0U);
    EXPECT_EQ(FdBaudCode(4800), 2);
    EXPECT_EQ(FdBaudCode(19200), std::nullopt);
    EXPECT_EQ(RegisterBaudCode(1200), 0);
}

}  // namespace
