// The simulated devices answer the tool's own frames (built by the protocol's
// builders) with replies that the tool's own checks accept, and keep what a
// write stored.

#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "protocol/BaudCodes.h"
#include "protocol/Crc16.h"
#include "protocol/ReplyChecks.h"
#include "protocol/RequestFrames.h"
#include "sim/Devices.h"
#include "support/BuiltFrame.h"

namespace {

using sim::DeviceKind;
using sim::Frame;

TEST(Devices, FdTransmitterQueryAndSetAddressAndBaud) {
    sim::DeviceState th = sim::MakeDeviceState(DeviceKind::Th, 5, 4800);

    auto reply = sim::AnswerRequest(th, Built(BuildFdQuery));
    ASSERT_TRUE(reply);
    auto fd = ParseFdReply(*reply);
    ASSERT_TRUE(fd);
    EXPECT_EQ(fd->address, 5);
    EXPECT_EQ(fd->baudRate, 4800U);

    reply = sim::AnswerRequest(th, Built([](TxBuffer tx) { return BuildFdSetAddress(tx, 7); }));
    ASSERT_TRUE(reply && (fd = ParseFdReply(*reply)));
    EXPECT_EQ(fd->address, 7);
    EXPECT_EQ(th.address, 7);

    // The reply states the new speed; the device listens at it from now on.
    reply = sim::AnswerRequest(th, Built([](TxBuffer tx) { return BuildFdSetBaud(tx, kFdBaudCode9600); }));
    ASSERT_TRUE(reply && (fd = ParseFdReply(*reply)));
    EXPECT_EQ(fd->baudRate, 9600U);
    EXPECT_EQ(fd->address, 7);
    EXPECT_EQ(th.baud, 9600U);

    // A code outside the FD table changes nothing and gets no answer.
    EXPECT_FALSE(sim::AnswerRequest(th, Built([](TxBuffer tx) { return BuildFdSetBaud(tx, 4); })));
    EXPECT_EQ(th.baud, 9600U);
}

TEST(Devices, WhoAnswersWhichFamily) {
    struct Case {
        const char* name;
        DeviceKind kind;
        Frame request;
        bool answers;
    };
    const Frame fdQuery = Built(BuildFdQuery);
    const Frame thRead = Built([](TxBuffer tx) { return BuildRegisterRead(tx, 5, kRegHumidity, 2); });
    const Frame fcRead = Built([](TxBuffer tx) { return BuildFcRead(tx, kFcHumidityUpper); });
    const Frame lightRead = Built([](TxBuffer tx) { return BuildFcRead(tx, kFcLightUpper); });
    const Frame unusedCode = Built([](TxBuffer tx) { return BuildFcRead(tx, 9); });
    const Frame fbChannel = Built(BuildFbChannelRead);
    const Frame lineRead = Built(BuildLineSettingsRead);
    const std::vector<Case> cases = {
        {"th: FD query", DeviceKind::Th, fdQuery, true},
        {"soil: FD query", DeviceKind::Soil, fdQuery, false},
        {"th: read at its address", DeviceKind::Th, thRead, true},
        {"th: read at another address", DeviceKind::Th,
         Built([](TxBuffer tx) { return BuildRegisterRead(tx, 6, kRegHumidity, 2); }), false},
        {"th: read at 255", DeviceKind::Th, lineRead, false},
        {"soil: read at 255", DeviceKind::Soil, lineRead, true},
        {"soil: read at its own address", DeviceKind::Soil, thRead, true},
        {"th: FC 5", DeviceKind::Th, fcRead, true},
        {"th: FC 13", DeviceKind::Th, lightRead, false},
        {"th: FC 9", DeviceKind::Th, unusedCode, false},
        {"light: FC 13", DeviceKind::Light, lightRead, true},
        {"light: FC 5", DeviceKind::Light, fcRead, false},
        {"light: light intensity register", DeviceKind::Light,
         Built([](TxBuffer tx) { return BuildRegisterRead(tx, 5, kRegLightIntensity, 1); }), true},
        {"wireless: FB channel", DeviceKind::Wireless, fbChannel, true},
        {"th: FB channel", DeviceKind::Th, fbChannel, false},
        {"lcd: FB channel", DeviceKind::Lcd, fbChannel, false},
    };
    for (const Case& c : cases) {
        sim::DeviceState state = sim::MakeDeviceState(c.kind, 5, 9600);
        EXPECT_EQ(sim::AnswerRequest(state, c.request).has_value(), c.answers) << c.name;
    }
}

TEST(Devices, TransmitterRegistersAndParameters) {
    sim::DeviceState th = sim::MakeDeviceState(DeviceKind::Th, 1, 9600);
    th.registers[kRegHumidity].value = 0x0258;
    th.registers[kRegTemperature].value = 0xFF38;

    auto reply = sim::AnswerRequest(th, Built([](TxBuffer tx) { return BuildRegisterRead(tx, 1, kRegHumidity, 2); }));
    ASSERT_TRUE(reply);
    auto values = ParseReadReply(*reply, 1, ValuesUsed::Both);
    ASSERT_TRUE(values);
    EXPECT_EQ(values->value1, 0x0258);
    EXPECT_EQ(values->value2, 0xFF38);

    // Light intensity is the last register; one past it is no register.
    reply = sim::AnswerRequest(th, Built([](TxBuffer tx) { return BuildRegisterRead(tx, 1, kRegLightIntensity, 1); }));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->size(), 7U);
    reply = sim::AnswerRequest(th, Built([](TxBuffer tx) { return BuildRegisterRead(tx, 1, kRegLightIntensity, 2); }));
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, sim::ExceptionReply(1, kFuncReadRegisters, kExceptionIllegalAddress));
    EXPECT_FALSE(ParseReadReply(*reply, 1, ValuesUsed::None));

    // The transmitter takes no register writes.
    reply = sim::AnswerRequest(th, Built([](TxBuffer tx) { return BuildRegisterWrite(tx, 1, kRegHumidity, 1); }));
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[1], kFuncWriteRegister | kExceptionFlag);

    // An FC write is answered with the value now held, and reads back.
    reply = sim::AnswerRequest(th, Built([](TxBuffer tx) { return BuildFcWrite(tx, kFcTemperatureLower, 0x800A); }));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->size(), kFcReplyBytes);
    EXPECT_EQ(th.fcParams[kFcTemperatureLower], 0x800A);
    reply = sim::AnswerRequest(th, Built([](TxBuffer tx) { return BuildFcRead(tx, kFcTemperatureLower); }));
    ASSERT_TRUE(reply);
    values = ParseFcReply(*reply, ValuesUsed::First);
    ASSERT_TRUE(values);
    EXPECT_EQ(values->value1, 0x800A);
}

TEST(Devices, RegisterDeviceLineSettings) {
    sim::DeviceState soil = sim::MakeDeviceState(DeviceKind::Soil, 1, 9600);
    soil.registers[kRegLineParity].value = 5;

    auto reply = sim::AnswerRequest(soil, Built(BuildLineSettingsRead));
    ASSERT_TRUE(reply);
    ASSERT_EQ(reply->size(), kLineSettingsReplyBytes);
    auto found = ParseSoilSearchReply(*reply);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->address, 1);
    EXPECT_EQ(found->baudRate, 9600U);
    EXPECT_EQ(found->parity, 5);
    EXPECT_EQ((*reply)[0], kRegisterModeAddress);

    // The 19-byte write: answered with address, function, first register and
    // count; then the device has its new address and speed.
    reply = sim::AnswerRequest(soil, Built([](TxBuffer tx) { return BuildLineSettingsWrite(tx, 9, *FdBaudCode(2400)); }));
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, Built([](TxBuffer tx) {
                  tx[0] = 0xFF; tx[1] = 0x10; tx[2] = 0x02; tx[3] = 0x00; tx[4] = 0x00; tx[5] = 0x05;
                  return static_cast<std::uint16_t>(AppendCrc16(tx, 6));
              }));
    EXPECT_TRUE(CheckReplyCrc(*reply));
    EXPECT_EQ(sim::DeviceAddress(soil), 9);
    EXPECT_EQ(soil.baud, 2400U);
    EXPECT_EQ(soil.registers[kRegLineParity].value, 0);

    // A baud code outside the table is stored and reported, the speed stays.
    soil.registers[kRegLineBaud].value = 6;
    found = ParseSoilSearchReply(*sim::AnswerRequest(soil, Built(BuildLineSettingsRead)));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->baudRate, 0U);
    EXPECT_EQ(soil.baud, 2400U);
}

TEST(Devices, LcdControllerEchoesItsWrites) {
    sim::DeviceState lcd = sim::MakeDeviceState(DeviceKind::Lcd, 1, 9600);
    const Frame setMode = Built([](TxBuffer tx) { return BuildRegisterWrite(tx, 1, kRegLcdWorkMode, 3); });
    auto reply = sim::AnswerRequest(lcd, setMode);
    ASSERT_TRUE(reply);
    EXPECT_TRUE(CheckEchoReply(*reply, setMode));
    EXPECT_EQ(lcd.registers[kRegLcdWorkMode].value, 3);

    const Frame close2 = Built([](TxBuffer tx) { return BuildRegisterWrite(tx, 1, kRegLcdRelay2, 1); });
    reply = sim::AnswerRequest(lcd, close2);
    ASSERT_TRUE(reply);
    EXPECT_TRUE(CheckEchoReply(*reply, close2));

    reply = sim::AnswerRequest(lcd, Built([](TxBuffer tx) { return BuildRegisterRead(tx, 1, kRegLcdRelay2, 1); }));
    ASSERT_TRUE(reply);
    const auto relay = ParseReadReply(*reply, 1, ValuesUsed::First);
    ASSERT_TRUE(relay);
    EXPECT_EQ(relay->value1, 1);

    // The work mode is written, never read back.
    reply = sim::AnswerRequest(lcd, Built([](TxBuffer tx) { return BuildRegisterRead(tx, 1, kRegLcdWorkMode, 1); }));
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[1], kFuncReadRegisters | kExceptionFlag);
}

TEST(Devices, LightTransmitterEchoesItsWrites) {
    sim::DeviceState light = sim::MakeDeviceState(DeviceKind::Light, 1, 9600);
    const Frame write = Built([](TxBuffer tx) { return BuildFcWrite(tx, kFcLightHysteresis, 0xFFFB); });
    auto reply = sim::AnswerRequest(light, write);
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, write);
    EXPECT_EQ(light.fcParams[kFcLightHysteresis], 0xFFFB);

    reply = sim::AnswerRequest(light, Built([](TxBuffer tx) { return BuildFcRead(tx, kFcLightHysteresis); }));
    ASSERT_TRUE(reply);
    const auto values = ParseFcReply(*reply, ValuesUsed::First);
    ASSERT_TRUE(values);
    EXPECT_EQ(values->value1, 0xFFFB);
}

TEST(Devices, WirelessReceiver) {
    sim::DeviceState rx = sim::MakeDeviceState(DeviceKind::Wireless, 1, 9600);
    rx.wireless.sleepTime = 300;
    rx.wireless.SetConfigured(0, true);

    auto reply = sim::AnswerRequest(rx, Built(BuildFbEnterConfig));
    ASSERT_TRUE(reply);
    auto config = ParseFbConfigReply(*reply);
    ASSERT_TRUE(config);
    EXPECT_EQ(config->command, kFbEnterConfig);
    EXPECT_EQ(config->sleepTime, 300);
    EXPECT_EQ(config->configBits[0], 0x01);
    EXPECT_TRUE(rx.wireless.configMode);

    // Configure address 200, clear address 1: each answered with the new bitmap.
    reply = sim::AnswerRequest(rx, Built([](TxBuffer tx) { return BuildFbConfigureReceiver(tx, 199); }));
    ASSERT_TRUE(reply && (config = ParseFbConfigReply(*reply)));
    EXPECT_EQ(config->command, kFbConfigureReceiver);
    EXPECT_EQ(config->configBits[24], 0x80);
    reply = sim::AnswerRequest(rx, Built([](TxBuffer tx) { return BuildFbClearReceiver(tx, 0); }));
    ASSERT_TRUE(reply);
    EXPECT_TRUE(ParseFbReply(*reply, ValuesUsed::None));
    EXPECT_FALSE(rx.wireless.IsConfigured(0));
    EXPECT_TRUE(rx.wireless.IsConfigured(199));

    // Index bytes that disagree, or name no address, are not acted on.
    Frame odd = Built([](TxBuffer tx) { return BuildFbConfigureReceiver(tx, 3); });
    odd[6] = 4;
    AppendCrc16(odd, odd.size() - 2);
    EXPECT_FALSE(sim::AnswerRequest(rx, odd));
    EXPECT_FALSE(sim::AnswerRequest(rx, Built([](TxBuffer tx) { return BuildFbConfigureReceiver(tx, 200); })));

    reply = sim::AnswerRequest(rx, Built([](TxBuffer tx) { return BuildFbSleepTimeWrite(tx, 0xFFFF); }));
    ASSERT_TRUE(reply);
    reply = sim::AnswerRequest(rx, Built(BuildFbSleepTimeRead));
    ASSERT_TRUE(reply);
    EXPECT_EQ(ParseFbReply(*reply, ValuesUsed::First)->value1, 0xFFFF);

    reply = sim::AnswerRequest(rx, Built([](TxBuffer tx) { return BuildFbChannelWrite(tx, 42); }));
    ASSERT_TRUE(reply);
    reply = sim::AnswerRequest(rx, Built(BuildFbChannelRead));
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[5], 42);  // the channel is the high byte of value 1

    rx.wireless.temperature = 0xFF9C;
    rx.wireless.humidity = 605;
    reply = sim::AnswerRequest(rx, Built(BuildFbTemperatureHumidityRead));
    ASSERT_TRUE(reply);
    const auto th = ParseFbReply(*reply, ValuesUsed::Both);
    ASSERT_TRUE(th);
    EXPECT_EQ(th->value1, 0xFF9C);
    EXPECT_EQ(th->value2, 605);

    reply = sim::AnswerRequest(rx, Built(BuildFbLeaveConfig));
    ASSERT_TRUE(reply);
    EXPECT_TRUE(ParseFbReply(*reply, ValuesUsed::None));
    EXPECT_FALSE(ParseFbConfigReply(*reply));
    EXPECT_FALSE(rx.wireless.configMode);
}

}  // namespace
