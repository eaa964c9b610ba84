// Several units on one simulated pair: each answers its own addressed reads at
// its own speed, unaddressed frames collide, units come off and back.

#include <gtest/gtest.h>

#include <array>
#include <mutex>

#include "RawPort.h"
#include "protocol/Crc16.h"
#include "protocol/FrameCodes.h"
#include "protocol/ReplyChecks.h"
#include "protocol/RequestFrames.h"
#include "sim/Bus.h"

namespace {

using namespace std::chrono_literals;
using simtest::Bytes;
using simtest::CRawPort;

const Bytes kFdQuery = {0xFD, 0xFD, 0xFD, 0x00, 0x00, 0xE9, 0x88};

Bytes Read(std::uint8_t address, std::uint16_t first = kRegHumidity, std::uint8_t count = 2) {
    std::array<std::uint8_t, 8> frame{};
    BuildRegisterRead(frame, address, first, count);
    return {frame.begin(), frame.end()};
}

// th at 12 and 13 at 9600 bit/s, th at 14 and light at 20 at 4800, a trace kept.
struct BusFixture : ::testing::Test {
    BusFixture()
        : bus({.units = {{sim::DeviceKind::Th, 12, 9600},
                         {sim::DeviceKind::Th, 13, 9600},
                         {sim::DeviceKind::Th, 14, 4800},
                         {sim::DeviceKind::Light, 20, 4800}},
               .trace = [this](const std::string& line) {
                   std::lock_guard lock(traceLock);
                   trace.push_back(line);
               }}),
          port(bus.SlavePath(), 9600) {}

    std::mutex traceLock;
    std::vector<std::string> trace;
    sim::CBus bus;
    CRawPort port;
};

TEST_F(BusFixture, EachUnitAnswersItsAddressedReadsAtItsOwnSpeedOnly) {
    bus.Update(13, [](sim::DeviceState& state) { state.registers[kRegTemperature].value = 0xFF38; });
    const struct {
        std::uint32_t speed;
        std::uint8_t address;
        std::optional<std::uint16_t> temperature;  // none: silence
    } rows[] = {
        {9600, 12, 250}, {9600, 13, 0xFF38}, {9600, 14, {}}, {9600, 21, {}},
        {4800, 14, 250}, {4800, 12, {}},     {4800, 13, {}},
    };
    for (const auto& row : rows) {
        port.SetBaud(row.speed);
        const Bytes reply = port.Ask(Read(row.address), 9, row.temperature ? 2000ms : 150ms);
        const auto words = ParseRegisterBlock(reply, row.address, 2);
        EXPECT_EQ(words ? std::optional((*words)[1]) : std::nullopt, row.temperature)
            << int(row.address) << " at " << row.speed;
    }
    port.SetBaud(4800);
    const auto light = ParseRegisterBlock(port.Ask(Read(20, kRegLightIntensity, 1), 7), 20, 1);
    EXPECT_TRUE(light);
    EXPECT_EQ(bus.Received().size(), std::size(rows) + 1);
}

TEST_F(BusFixture, AnUnaddressedFrameAnsweredByTwoUnitsFailsItsCrcAndByOneDoesNot) {
    const Bytes collided = port.Ask(kFdQuery, 7);
    ASSERT_EQ(collided.size(), 7U);
    EXPECT_FALSE(HasValidCrc(collided));
    EXPECT_FALSE(ParseFdReply(collided));

    bus.Unplug(13);
    const auto fd = ParseFdReply(port.Ask(kFdQuery, 7));
    ASSERT_TRUE(fd);
    EXPECT_EQ(fd->address, 12);
    std::lock_guard lock(traceLock);
    EXPECT_NE(std::find_if(trace.begin(), trace.end(),
                           [](const std::string& l) { return l.find("(unit 12, 13 collide) | bad: CRC") != l.npos; }),
              trace.end());
}

TEST(BusCollision, RepliesAreOredAndNeverPassAsAReply) {
    const sim::Frame a = {0x0C, 0x03, 0x02, 0x00, 0xFA, 0x00, 0x00};
    const sim::Frame b = {0x0D, 0x03, 0x02, 0x01, 0x00};
    const sim::Frame line = sim::CollideReplies({a, b});
    EXPECT_EQ(line, (sim::Frame{0x0D, 0x03, 0x02, 0x01, 0xFA, 0x00, 0x00}));

    // Two units saying the very same good frame still collide.
    std::array<std::uint8_t, 8> frame{};
    BuildRegisterRead(frame, 12, 0, 2);
    const sim::Frame same(frame.begin(), frame.end());
    ASSERT_TRUE(HasValidCrc(same));
    EXPECT_FALSE(HasValidCrc(sim::CollideReplies({same, same})));
}

TEST_F(BusFixture, AnUnpluggedUnitIsSilentAndComesBackWithItsSettings) {
    bus.Update(12, [](sim::DeviceState& state) { state.registers[kRegHumidity].value = 333; });
    EXPECT_FALSE(bus.Unplug(99));
    ASSERT_TRUE(bus.Unplug(12));
    EXPECT_TRUE(port.Ask(Read(12), 9, 150ms).empty());
    // The others go on answering.
    EXPECT_TRUE(ParseRegisterBlock(port.Ask(Read(13), 9), 13, 2));

    ASSERT_TRUE(bus.Plug(12));
    const auto words = ParseRegisterBlock(port.Ask(Read(12), 9), 12, 2);
    ASSERT_TRUE(words);
    EXPECT_EQ((*words)[0], 333);
    const std::vector<sim::ReceivedFrame> heard = bus.Received();
    ASSERT_EQ(heard.size(), 3U);
    EXPECT_EQ(std::vector<bool>({heard[0].answered, heard[1].answered, heard[2].answered}),
              std::vector<bool>({false, true, true}));
}

TEST_F(BusFixture, TheTraceMarksARequestSentWhileAReplyWasDue) {
    bus.SetReplyLatency(300ms);
    port.Write(Read(12));
    ASSERT_TRUE(bus.WaitForFrames(1, 2000ms));
    port.Write(Read(13));
    ASSERT_TRUE(bus.WaitForFrames(2, 2000ms));
    std::lock_guard lock(traceLock);
    ASSERT_EQ(trace.size(), 2U);
    EXPECT_EQ(trace[0].find("overlaps"), std::string::npos) << trace[0];
    EXPECT_NE(trace[1].find("(answered by 13) (overlaps a reply)"), std::string::npos) << trace[1];
}

TEST(BusUnits, ReadsTheListOfUnitsAndRefusesWhatIsNotOne) {
    std::string error;
    const std::vector<sim::BusUnit> units = sim::ParseBusUnits("th:12,light:20@4800", 9600, error);
    ASSERT_EQ(units.size(), 2U);
    EXPECT_EQ(std::tuple(units[0].kind, units[0].address, units[0].baud), std::tuple(sim::DeviceKind::Th, 12, 9600U));
    EXPECT_EQ(std::tuple(units[1].kind, units[1].address, units[1].baud),
              std::tuple(sim::DeviceKind::Light, 20, 4800U));
    const struct {
        const char* text;
        const char* error;
    } bad[] = {
        {"", "a unit is KIND:ADDRESS[@BAUD], not \"\""},
        {"th:12,", "a unit is KIND:ADDRESS[@BAUD], not \"\""},
        {"th@4800:12", "a unit is KIND:ADDRESS[@BAUD], not \"th@4800:12\""},
        {"toaster:3", "unknown device in \"toaster:3\""},
        {"th:0", "address must be 1..255 in \"th:0\""},
        {"th:256", "address must be 1..255 in \"th:256\""},
        {"th:12@1234", "unsupported baud rate in \"th:12@1234\""},
        {"th:12,light:12@4800", "two units at address 12"},
    };
    for (const auto& row : bad) {
        EXPECT_TRUE(sim::ParseBusUnits(row.text, 9600, error).empty()) << row.text;
        EXPECT_EQ(error, row.error);
    }
}

}  // namespace
