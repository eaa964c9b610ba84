// The frame decoder: the words for every request the tool sends and for the
// replies to them, the outcome class of a reply against its request, and
// words without a crash for bytes of no family.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "protocol/FrameCodes.h"
#include "protocol/FrameDecoder.h"
#include "protocol/ReplyJudge.h"
#include "support/BuiltFrame.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct RequestCase {
    std::function<std::uint16_t(TxBuffer)> builder;
    const char* words;
};

TEST(FrameDecoder, NamesEveryRequestTheToolSends) {
    const std::vector<RequestCase> cases = {
        {BuildFdQuery, "FD query"},
        {[](TxBuffer tx) { return BuildFdSetAddress(tx, 7); }, "FD set address 7"},
        {[](TxBuffer tx) { return BuildFdSetBaud(tx, kFdBaudCode9600); }, "FD set baud code 3 (9600 bit/s)"},
        {BuildLineSettingsRead, "register read of 5 registers from 0x0200 at address 255 (line settings)"},
        {[](TxBuffer tx) { return BuildLineSettingsWrite(tx, 7, 2); },
         "register write of the line settings at address 255: address 7, baud code 2 (4800 bit/s), parity 0, "
         "stop bits 0 0"},
        {[](TxBuffer tx) { return BuildRegisterRead(tx, 1, kRegHumidity, 2); },
         "register read of 2 registers from 0x0000 at address 1 (humidity, temperature)"},
        {[](TxBuffer tx) { return BuildRegisterRead(tx, 5, kRegLightIntensity, 1); },
         "register read of 0x0006 at address 5 (light intensity)"},
        {[](TxBuffer tx) { return BuildRegisterRead(tx, 1, kRegLcdRelay1, 1); },
         "register read of 0x002F at address 1 (relay 1)"},
        {[](TxBuffer tx) { return BuildRegisterWrite(tx, 1, kRegLcdWorkMode, 3); },
         "register write of 0x002D = 3 at address 1 (LCD work mode)"},
        {[](TxBuffer tx) { return BuildFcRead(tx, kFcHumidityUpper); }, "FC read humidity upper limit (code 5)"},
        {[](TxBuffer tx) { return BuildFcWrite(tx, kFcTemperatureLower, 0x800A); },
         "FC write temperature lower limit (code 4) = -10"},
        {[](TxBuffer tx) { return BuildFcWrite(tx, kFcTemperatureAdjust, 0x800F); },
         "FC write temperature adjust (code 1) = -1.5"},
        {[](TxBuffer tx) { return BuildFcWrite(tx, kFcHumidityHysteresis, 15); },
         "FC write humidity hysteresis (code 8) = 1.5"},
        {[](TxBuffer tx) { return BuildFcWrite(tx, kFcOutputDelay, 300); }, "FC write output delay (code 11) = 300"},
        {[](TxBuffer tx) { return BuildFcWrite(tx, kFcRemoteSignal, 1); },
         "FC write remote signal (code 12) = Normally Close"},
        {[](TxBuffer tx) { return BuildFcWrite(tx, kFcLightLower, 0xFFFB); },
         "FC write light lower limit (code 14) = 65531"},
        {BuildFbEnterConfig, "FB enter configuration mode"},
        {BuildFbLeaveConfig, "FB exit configuration mode"},
        {[](TxBuffer tx) { return BuildFbConfigureReceiver(tx, 0); }, "FB configure address 1"},
        {[](TxBuffer tx) { return BuildFbClearReceiver(tx, 199); }, "FB clear address 200"},
        {BuildFbChannelRead, "FB read channel"},
        {[](TxBuffer tx) { return BuildFbChannelWrite(tx, 5); }, "FB write channel 5"},
        {BuildFbSleepTimeRead, "FB read sleep time"},
        {[](TxBuffer tx) { return BuildFbSleepTimeWrite(tx, 60); }, "FB write sleep time 60 s"},
        {BuildFbTemperatureHumidityRead, "FB read T&H"},
    };
    for (const RequestCase& c : cases) EXPECT_EQ(DescribeRequest(Built(c.builder)), c.words);
}

struct ReplyCase {
    Bytes request;
    Bytes reply;
    const char* words;
};

Bytes ConfigReply(std::uint8_t command, std::uint8_t firstBits, std::uint8_t lastBits) {
    Bytes head = {0xFB, 0xFB, 0xFB, command, 0x00, 0x00, 0x3C};
    Bytes bitmap(kConfigBitmapBytes, 0);
    bitmap.front() = firstBits;
    bitmap.back() = lastBits;
    head.insert(head.end(), bitmap.begin(), bitmap.end());
    return Sealed(head);
}

TEST(FrameDecoder, ReadsEveryReplyInTheFormItsWindowShows) {
    const Bytes fdQuery = Built(BuildFdQuery);
    const Bytes th = Built([](TxBuffer tx) { return BuildRegisterRead(tx, 1, kRegHumidity, 2); });
    const std::vector<ReplyCase> cases = {
        {fdQuery, Sealed({0xFD, 0xFD, 0xFD, 0x02, 0x05}), "FD reply: address 5, baud code 2 (4800 bit/s)"},
        {Built(BuildLineSettingsRead), Sealed({0xFF, 0x03, 0x0A, 0, 1, 0, 3, 0, 0, 0, 0, 0, 1}),
         "register reply from address 255: address 1, baud code 3 (9600 bit/s), parity 0, stop bits 0 1"},
        {th, Sealed({0x01, 0x03, 0x04, 0x02, 0x58, 0xFF, 0x38}),
         "register reply from address 1: humidity 60.0, temperature -20.0"},
        {Built([](TxBuffer tx) { return BuildRegisterRead(tx, 1, kRegWaterLeak, 1); }),
         Sealed({0x01, 0x03, 0x02, 0x00, 0x02}), "register reply from address 1: water leak or CO2 2 (Warning as a leak)"},
        {Built([](TxBuffer tx) { return BuildRegisterRead(tx, 1, kRegLcdRelay2, 1); }),
         Sealed({0x01, 0x03, 0x02, 0x00, 0x01}), "register reply from address 1: relay 2 1 (closed)"},
        {th, Sealed({0x01, 0x83, 0x02}), "register exception from address 1: function 3, code 2 (illegal data address)"},
        {Built(BuildLineSettingsRead), Sealed({0xFF, 0x90, 0x01}),
         "register exception from address 255: function 16, code 1 (illegal function): the write failed, nothing was "
         "changed"},
        {Built(BuildLineSettingsRead), Sealed({0xFF, 0x10, 0x02, 0x00, 0x00, 0x05}),
         "register reply from address 255: wrote 5 registers from 0x0200"},
        {Built([](TxBuffer tx) { return BuildFcRead(tx, kFcTemperatureHysteresis); }),
         Sealed({0xFC, 0xFC, 0xFC, 0x07, 0x00, 0x80, 0x05, 0x00, 0x00}),
         "FC reply: temperature hysteresis = -0.5"},
        {Built([](TxBuffer tx) { return BuildFcRead(tx, kFcRemoteSignal); }),
         Sealed({0xFC, 0xFC, 0xFC, 0x0C, 0x00, 0x00, 0x02, 0x00, 0x00}), "FC reply: remote signal = 2 (no such item)"},
        {Built(BuildFbEnterConfig), ConfigReply(kFbEnterConfig, 0x0D, 0x80),
         "FB configuration reply: sleep time 60 s, 4 addresses configured: 1, 3-4, 200"},
        {Built([](TxBuffer tx) { return BuildFbConfigureReceiver(tx, 0); }), ConfigReply(kFbConfigureReceiver, 0, 0),
         "FB configuration reply: sleep time 60 s, no address configured"},
        {Built(BuildFbTemperatureHumidityRead), Sealed({0xFB, 0xFB, 0xFB, 0x05, 0x01, 0xFF, 0x9C, 0x02, 0x5D}),
         "FB reply: -10.0\u2103  60.5 %RH"},
        {Built(BuildFbChannelRead), Sealed({0xFB, 0xFB, 0xFB, 0x07, 0x00, 0x05, 0x00, 0x00, 0x00}),
         "FB reply: channel 5"},
        {Built(BuildFbSleepTimeRead), Sealed({0xFB, 0xFB, 0xFB, 0x04, 0x00, 0x00, 0x3C, 0x00, 0x00}),
         "FB reply: sleep time 60 s"},
    };
    for (const ReplyCase& c : cases) EXPECT_EQ(DescribeReply(c.reply, c.request), c.words) << HexText(c.reply);
}

struct OutcomeCase {
    const char* name;
    Bytes request;
    Bytes reply;
    ReplyExpectation expectation;
    const char* outcome;
    bool complete;  // the shape a judged exchange may stop at without the silence
};

TEST(ReplyJudge, JudgesAReplyByTheOperationsCheckAndKnowsAWholeOne) {
    const Bytes fdQuery = Built(BuildFdQuery);
    const Bytes th = Built([](TxBuffer tx) { return BuildRegisterRead(tx, 1, kRegHumidity, 2); });
    const Bytes good = Sealed({0x01, 0x03, 0x04, 0x02, 0x58, 0x00, 0xFA});
    Bytes swapped = good;
    std::swap(swapped[swapped.size() - 2], swapped[swapped.size() - 1]);
    const Bytes lightWrite = Built([](TxBuffer tx) { return BuildFcWrite(tx, kFcLightUpper, 300); });
    Bytes alteredEcho = lightWrite;
    alteredEcho[6] ^= 1;
    const Bytes lineWrite = Built([](TxBuffer tx) { return BuildLineSettingsWrite(tx, 7, 2); });
    const ReplyExpectation read{ReplyCheck::Read, ValuesUsed::Both, 1};
    const ReplyExpectation registerModeRead{ReplyCheck::Read, ValuesUsed::Both, kRegisterModeAddress};
    const std::vector<OutcomeCase> cases = {
        {"nothing", th, {}, read, "no reply", false},
        {"two bytes", th, {0x01, 0x03}, read, "short (2 bytes)", false},
        {"good read", th, good, read, "good", true},
        {"swapped CRC", th, swapped, read, "bad: CRC", false},
        {"other address", th, Sealed({0x07, 0x03, 0x04, 0x02, 0x58, 0x00, 0xFA}), read, "bad: address 7, expected 1",
         true},
        {"register mode answers at 255", th, Sealed({0xFF, 0x03, 0x04, 0x02, 0x58, 0x00, 0xFA}), registerModeRead,
         "good", true},
        {"exception", th, Sealed({0x01, 0x83, 0x02}), read, "bad: exception 2", true},
        {"too short for both values", th, Sealed({0x01, 0x03, 0x02, 0x02, 0x58}), read, "bad: length", false},
        {"FD baud code 4", fdQuery, Sealed({0xFD, 0xFD, 0xFD, 0x04, 0x07}), {ReplyCheck::Fd}, "bad: baud code 4", true},
        {"FC answer to FD", fdQuery, Sealed({0xFC, 0xFC, 0xFC, 0x04, 0x07}), {ReplyCheck::Fd}, "bad: mark", true},
        {"light write echoed", lightWrite, lightWrite, {ReplyCheck::Echo}, "good", true},
        {"light write altered", lightWrite, alteredEcho, {ReplyCheck::Echo}, "bad: echo: byte 6 differs", false},
        {"configuration reply of command 2", Built(BuildFbEnterConfig), ConfigReply(kFbLeaveConfig, 0, 0),
         {ReplyCheck::FbConfig}, "bad: command 2", true},
        {"line settings written", lineWrite, Sealed({0xFF, 0x10, 0x02, 0x00, 0x00, 0x05}),
         {ReplyCheck::WriteRegisters}, "good", true},
        // A refusal is no confirmation, however good its CRC.
        {"line settings write refused", lineWrite, Sealed({0xFF, 0x90, 0x02}), {ReplyCheck::WriteRegisters},
         "bad: exception 2", true},
    };
    for (const OutcomeCase& c : cases) {
        EXPECT_EQ(OutcomeText(JudgeReply(c.reply, c.request, c.expectation)), c.outcome) << c.name;
        EXPECT_EQ(IsCompleteReply(c.reply, c.request, c.expectation), c.complete) << c.name;
    }
}

TEST(FrameDecoder, NamesWhatItDoesNotKnowWithItsBytes) {
    const std::vector<std::pair<Bytes, const char*>> cases = {
        {Sealed({0xFC, 0xFC, 0xFC, 0x09, 0x00, 0x00, 0x00}), "FC read unknown code 9"},
        {Sealed({0xFB, 0xFB, 0xFB, 0x08, 0x01, 0xAA}), "FB command 8 (unknown), write, payload AA"},
        {Sealed({0x01, 0x03, 0x00, 0x07, 0x00, 0x01}), "register read of 0x0007 at address 1"},
        {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0, 0x11}, "unknown family: 12 34 56 78 9A BC DE F0 ..."},
        {{0xFD, 0xFD, 0xFD, 0x00}, "FD frame cut short (4 bytes)"},
        {{0xFC, 0xFC, 0xFC, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00}, "FC read humidity upper limit (code 5) (bad CRC)"},
    };
    for (const auto& [bytes, words] : cases) EXPECT_EQ(DescribeRequest(bytes), words);
}

}  // namespace
