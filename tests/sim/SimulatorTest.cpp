// The simulator on its pseudo-terminal: it answers only at the device's line
// speed, switches speed after an FD baud change, logs every request, applies
// queued faults in order and survives noise and a client that comes and goes.

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <thread>

#include "RawPort.h"
#include "protocol/ReplyChecks.h"
#include "protocol/RequestFrames.h"
#include "sim/Simulator.h"
#include "support/BuiltFrame.h"

namespace {

using namespace std::chrono_literals;
using simtest::Bytes;
using simtest::CRawPort;

const Bytes kFdQuery = {0xFD, 0xFD, 0xFD, 0x00, 0x00, 0xE9, 0x88};

TEST(Simulator, AnswersOnlyAtTheDeviceLineSpeed) {
    sim::CSimulator device({.kind = sim::DeviceKind::Th, .address = 5, .baud = 4800});
    CRawPort port(device.SlavePath(), 2400);
    ASSERT_TRUE(port.IsOpen());

    EXPECT_TRUE(port.Ask(kFdQuery, 7, 300ms).empty());
    port.SetBaud(4800);
    EXPECT_EQ(device.LineSpeed(), 4800U);
    const Bytes reply = port.Ask(kFdQuery, 7);
    const auto fd = ParseFdReply(reply);
    ASSERT_TRUE(fd);
    EXPECT_EQ(fd->address, 5);

    ASSERT_TRUE(device.WaitForFrames(2, 2s));
    const auto log = device.Received();
    ASSERT_EQ(log.size(), 2U);
    EXPECT_EQ(log[0].bytes, kFdQuery);
    EXPECT_EQ(log[0].lineBaud, 2400U);
    EXPECT_FALSE(log[0].answered);
    EXPECT_EQ(log[1].lineBaud, 4800U);
    EXPECT_TRUE(log[1].answered);
}

TEST(Simulator, AnFdBaudChangeIsAnsweredAtTheOldSpeedThenTheDeviceMoves) {
    sim::CSimulator device({.kind = sim::DeviceKind::Th, .address = 5, .baud = 4800});
    CRawPort port(device.SlavePath(), 4800);
    const auto fd = ParseFdReply(port.Ask(Built([](TxBuffer tx) { return BuildFdSetBaud(tx, kFdBaudCode9600); }), 7));
    ASSERT_TRUE(fd);
    EXPECT_EQ(fd->baudRate, 9600U);
    EXPECT_EQ(device.Baud(), 9600U);

    EXPECT_TRUE(port.Ask(kFdQuery, 7, 300ms).empty());  // still at 4800: not heard
    port.SetBaud(9600);
    EXPECT_TRUE(ParseFdReply(port.Ask(kFdQuery, 7)));
}

TEST(Simulator, StateWrittenByTestsOrOverTheLineReadsBackTheOtherWay) {
    sim::CSimulator device({.kind = sim::DeviceKind::Lcd, .address = 3, .baud = 9600});
    CRawPort port(device.SlavePath(), 9600);

    ASSERT_TRUE(device.SetRegister(kRegLcdRelay1, 1));
    const auto relay = ParseReadReply(
        port.Ask(Built([](TxBuffer tx) { return BuildRegisterRead(tx, 3, kRegLcdRelay1, 1); }), 7), 3,
        ValuesUsed::First);
    ASSERT_TRUE(relay);
    EXPECT_EQ(relay->value1, 1);

    const Bytes mode4 = Built([](TxBuffer tx) { return BuildRegisterWrite(tx, 3, kRegLcdWorkMode, 4); });
    EXPECT_TRUE(CheckEchoReply(port.Ask(mode4, 8), mode4));
    EXPECT_EQ(device.Register(kRegLcdWorkMode), 4);
    EXPECT_FALSE(device.Register(kRegHumidity));  // the controller has no such register
    EXPECT_FALSE(device.SetRegister(kRegHumidity, 1));
    EXPECT_FALSE(device.FcParam(kFcHumidityUpper));

    device.Update([](sim::DeviceState& state) { state.address = 4; });
    EXPECT_EQ(device.Address(), 4);
}

TEST(Simulator, FaultsApplyInOrderToAnsweredRequests) {
    sim::CSimulator device({.kind = sim::DeviceKind::Light, .address = 1, .baud = 9600});
    CRawPort port(device.SlavePath(), 9600);
    const Bytes read = Built([](TxBuffer tx) { return BuildFcRead(tx, kFcLightUpper); });

    device.InjectFault(sim::Fault::Silent(), 2);
    device.InjectFault(sim::Fault::Short());
    EXPECT_TRUE(port.Ask(read, 11, 300ms).empty());
    EXPECT_TRUE(port.Ask(read, 11, 300ms).empty());
    EXPECT_EQ(port.Ask(read, 11, 300ms).size(), 2U);
    EXPECT_TRUE(ParseFcReply(port.Ask(read, 11), ValuesUsed::First));

    device.InjectFault(sim::Fault::SwappedCrc(), sim::CSimulator::kEveryRequest);
    for (int i = 0; i < 3; ++i) {
        const Bytes reply = port.Ask(read, 11);
        EXPECT_EQ(reply.size(), 11U);
        EXPECT_FALSE(ParseFcReply(reply, ValuesUsed::First));
    }
    device.ClearFaults();
    EXPECT_TRUE(ParseFcReply(port.Ask(read, 11), ValuesUsed::First));

    // A device that stays silent for a request it ignores keeps its fault.
    device.InjectFault(sim::Fault::Short());
    EXPECT_TRUE(port.Ask(Built([](TxBuffer tx) { return BuildFcRead(tx, kFcHumidityUpper); }), 11, 300ms).empty());
    EXPECT_EQ(port.Ask(read, 11, 300ms).size(), 2U);
}

TEST(Simulator, ARequestBehindLineNoiseIsAnswered) {
    sim::CSimulator device({.kind = sim::DeviceKind::Th, .address = 5, .baud = 9600});
    CRawPort port(device.SlavePath(), 9600);
    Bytes noisy = {0x13, 0x37, 0xFD, 0x01, 0x10, 0x00};
    noisy.insert(noisy.end(), kFdQuery.begin(), kFdQuery.end());
    EXPECT_TRUE(ParseFdReply(port.Ask(noisy, 7)));
    EXPECT_GE(device.SkippedBytes(), 6U);
    ASSERT_TRUE(device.WaitForFrames(1, 2s));
    EXPECT_EQ(device.ReceivedBytes(), std::vector<sim::Frame>{kFdQuery});
}

TEST(Simulator, NoiseFarBeyondTheTerminalBufferReachesASlowReaderWhole) {
    sim::CSimulator device({.kind = sim::DeviceKind::Th, .address = 5, .baud = 9600});
    CRawPort port(device.SlavePath(), 9600);
    const sim::Fault noise = sim::Fault::Noise(256 * 1024);
    device.InjectFault(noise);
    port.Write(kFdQuery);
    Bytes got;
    while (got.size() < noise.bytes) {
        const Bytes part = port.Read(4096, 2s);
        if (part.empty()) break;
        got.insert(got.end(), part.begin(), part.end());
        std::this_thread::sleep_for(1ms);  // slower than the simulator writes
    }
    sim::Frame expected;
    for (const auto& piece : sim::ShapeReply(noise, {}, kFdQuery)) expected = piece.bytes;
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(device.WaitUntilSent(1s));
    EXPECT_TRUE(ParseFdReply(port.Ask(kFdQuery, 7)));
}

TEST(Simulator, GivesUpOnNoiseThatNobodyReads) {
    sim::CSimulator device({.kind = sim::DeviceKind::Th, .address = 5, .baud = 9600});
    CRawPort port(device.SlavePath(), 9600);
    device.InjectFault(sim::Fault::Noise(sim::Fault::kMaxNoiseBytes));
    port.Write(kFdQuery);
    ASSERT_TRUE(device.WaitForFrames(1, 2s));
    EXPECT_FALSE(device.WaitUntilSent(100ms));  // the terminal holds far less
    ASSERT_TRUE(device.WaitUntilSent(sim::CSimulator::kWriteStall * 5));
    while (!port.Read(4096, 100ms).empty()) {
    }
    EXPECT_TRUE(ParseFdReply(port.Ask(kFdQuery, 7)));
}

TEST(Simulator, TheLogWaitsClearsAndTimesOut) {
    sim::CSimulator device({.kind = sim::DeviceKind::Th, .address = 5, .baud = 9600});
    EXPECT_FALSE(device.WaitForFrames(1, 50ms));
    CRawPort port(device.SlavePath(), 9600);
    port.Write(kFdQuery);
    port.Write(Built([](TxBuffer tx) { return BuildFcRead(tx, kFcOutputDelay); }));
    ASSERT_TRUE(device.WaitForFrames(2, 3s));
    EXPECT_EQ(device.ReceivedBytes().size(), 2U);
    device.ClearReceived();
    EXPECT_TRUE(device.Received().empty());
}

TEST(Simulator, KeepsServingWhileTheClientClosesAndReopens) {
    sim::CSimulator device({.kind = sim::DeviceKind::Th, .address = 5, .baud = 9600});
    for (int round = 0; round < 3; ++round) {
        CRawPort port(device.SlavePath(), 9600);
        ASSERT_TRUE(port.IsOpen());
        EXPECT_TRUE(ParseFdReply(port.Ask(kFdQuery, 7))) << "round " << round;
    }
    // A reply sent while no client is open waits in the terminal; nothing hangs.
    device.InjectFault(sim::Fault::Delayed(50ms));
    {
        CRawPort port(device.SlavePath(), 9600);
        port.Write(kFdQuery);
    }
    std::this_thread::sleep_for(150ms);
    CRawPort port(device.SlavePath(), 9600);
    EXPECT_GE(port.Ask(kFdQuery, 14).size(), 7U);
}

TEST(Simulator, StopsPromptlyWithAReplyStillScheduled) {
    const auto start = std::chrono::steady_clock::now();
    {
        sim::CSimulator device({.kind = sim::DeviceKind::Th, .address = 5, .baud = 9600});
        device.InjectFault(sim::Fault::Delayed(30s));
        CRawPort port(device.SlavePath(), 9600);
        port.Write(kFdQuery);
        ASSERT_TRUE(device.WaitForFrames(1, 2s));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}

TEST(Simulator, TracesRequestsAndReplies) {
    std::mutex lock;
    std::vector<std::string> lines;
    {
        sim::CSimulator device({.kind = sim::DeviceKind::Th,
                                .address = 5,
                                .baud = 4800,
                                .trace = [&](const std::string& line) {
                                    std::lock_guard guard(lock);
                                    lines.push_back(line);
                                }});
        CRawPort port(device.SlavePath(), 4800);
        ASSERT_EQ(port.Ask(kFdQuery, 7).size(), 7U);
    }
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0], "rx 4800 FD FD FD 00 00 E9 88 | FD query");
    EXPECT_EQ(lines[1], "tx FD FD FD 02 05 28 EB | FD reply: address 5, baud code 2 (4800 bit/s) | good");
}

}  // namespace
