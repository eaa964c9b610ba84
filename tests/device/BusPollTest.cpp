// The poller of a bus of units against a simulated unit on the real port: one
// addressed read per unit per poll, covering the wanted readings' registers.

#include <gtest/gtest.h>

#include "SessionOnDevice.h"
#include "device/BusPoll.h"
#include "protocol/FrameCodes.h"

namespace {

using namespace std::chrono_literals;

TEST(BusPoll, EachReadCoversTheWantedRegistersFromTheLowestToTheHighest) {
    CSerialPort port;
    std::atomic<bool> open{false};
    CDeviceSession session(port, open);
    const struct {
        std::vector<Reading> readings;
        std::uint16_t first;
        std::uint8_t count;
    } rows[] = {
        {{Reading::Temperature}, kRegTemperature, 1},
        {{Reading::Humidity, Reading::Temperature}, kRegHumidity, 2},
        {{Reading::Voltage, Reading::Humidity}, kRegHumidity, 6},
        {{Reading::Light, Reading::Co2, Reading::WaterLeak}, kRegWaterLeak, 5},
        {{}, kRegHumidity, 1},
    };
    for (const auto& row : rows) {
        const CBusPoller poller(session, {12}, row.readings, 50ms);
        EXPECT_EQ(std::pair(poller.FirstRegister(), poller.RegisterCount()), std::pair(row.first, row.count))
            << row.readings.size();
    }
}

TEST(BusPoll, AsksEachUnitOnceAPollInTurnAndCountsWhatEachGave) {
    SessionOnDevice bus(sim::DeviceKind::Th, false);  // a unit at 5
    bus.AssumeFound();
    bus.m_device.SetRegister(kRegHumidity, 605);
    bus.m_device.SetRegister(kRegTemperature, 0xFF38);
    bus.m_device.SetRegister(kRegPowerFailure, 1);
    // 9 is listed first and never answers; 5 twice, asked once.
    CBusPoller poller(bus.m_session, {9, kAddress, 9},
                      {Reading::PowerFailure, Reading::Temperature, Reading::Humidity, Reading::Temperature}, 60ms);
    ASSERT_EQ(poller.Units(), (std::vector<std::uint8_t>{9, kAddress}));

    const std::vector<UnitSample> first = poller.Poll();
    ASSERT_EQ(first.size(), 2U);
    EXPECT_EQ(first[0].address, 9);
    EXPECT_EQ(first[0].outcome.Text(), "no reply");
    EXPECT_TRUE(first[0].words.empty());
    EXPECT_EQ(first[1].address, kAddress);
    ASSERT_TRUE(first[1].outcome.Ok()) << first[1].outcome.Text();
    using Words = std::vector<std::pair<Reading, std::uint16_t>>;
    EXPECT_EQ(first[1].words, (Words{{Reading::PowerFailure, 1}, {Reading::Temperature, 0xFF38}, {Reading::Humidity, 605}}));
    EXPECT_LE(first[0].time, first[1].time);

    bus.m_device.InjectFault(sim::Fault::BadCrc());
    const std::vector<UnitSample> second = poller.Poll();
    EXPECT_EQ(second[1].outcome.Text(), "bad reply: CRC");
    EXPECT_TRUE(second[1].words.empty());
    bus.m_device.Unplug();
    EXPECT_EQ(poller.Poll()[1].outcome.Text(), "no reply");

    const auto counted = [&](std::uint8_t address) {
        const CBusPoller::Counters& c = poller.CountersOf(address);
        return std::tuple(c.polls, c.good, c.noReply, c.bad);
    };
    EXPECT_EQ(counted(kAddress), std::tuple(3U, 1U, 1U, 1U));
    EXPECT_EQ(counted(9), std::tuple(3U, 0U, 3U, 0U));
    EXPECT_EQ(counted(77), std::tuple(0U, 0U, 0U, 0U));

    // One addressed read of registers 0-3 per unit per poll, in the units' order.
    const std::vector<sim::ReceivedFrame> heard = bus.m_device.Received();
    ASSERT_EQ(heard.size(), 6U);
    for (std::size_t i = 0; i < heard.size(); ++i) {
        const sim::Frame& frame = heard[i].bytes;
        const std::uint8_t unit = i % 2 == 0 ? 9 : kAddress;
        EXPECT_EQ(frame, (sim::Frame{unit, 0x03, 0, 0, 0, 4, frame[6], frame[7]})) << i;
    }
}

}  // namespace
