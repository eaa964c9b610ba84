// Addressed reads of one unit, and the scan of a bus built on them, against a
// simulated unit on the real port.

#include <gtest/gtest.h>

#include "SessionOnDevice.h"
#include "device/BusScan.h"
#include "protocol/FrameCodes.h"

namespace {

using namespace std::chrono_literals;

TEST(BusScan, AsksEveryAddressAtEverySpeedWithAddressedReadsOnlyAndListsWhoAnswered) {
    SessionOnDevice bus(sim::DeviceKind::Th, false);  // a unit at 5, 4800 bit/s
    bus.m_device.SetRegister(kRegHumidity, 605);
    bus.m_device.SetRegister(kRegTemperature, 0xFF38);  // -20.0
    CBusScan scan(bus.m_session, {.portNumber = kPortNumber, .first = 3, .last = 7, .speeds = {2400, kBaud}});
    EXPECT_EQ(std::pair(scan.Speed(), scan.Address()), std::pair(2400U, std::uint8_t{0}));
    std::vector<std::pair<std::uint32_t, int>> asked;  // what the progress shows after each step
    // Polls of the current device wait while addresses are left to ask.
    while (bus.m_session.Scanning() && scan.Step()) asked.emplace_back(scan.Speed(), scan.Address());

    EXPECT_FALSE(scan.Step());
    ASSERT_EQ(asked.size(), 10U);
    // The last address of a speed is shown with its own speed, not the next one.
    EXPECT_EQ(asked[4], std::pair(2400U, 7));
    EXPECT_EQ(asked[5], std::pair(kBaud, 3));
    EXPECT_EQ(scan.Asked(), scan.Total());
    ASSERT_EQ(scan.Found().size(), 1U);
    const FoundUnit& unit = scan.Found()[0];
    EXPECT_EQ(std::tuple(unit.address, unit.baud, unit.humidity, unit.temperature),
              std::tuple(kAddress, kBaud, 605, 0xFF38));
    // The current device is not the scan's business.
    EXPECT_EQ(bus.m_session.Device().address, 0);
    const std::vector<sim::ReceivedFrame> heard = bus.m_device.Received();
    ASSERT_EQ(heard.size(), 10U);
    for (std::size_t i = 0; i < heard.size(); ++i) {
        const sim::Frame& frame = heard[i].bytes;
        EXPECT_EQ(frame, (sim::Frame{static_cast<std::uint8_t>(3 + i % 5), 0x03, 0, 0, 0, 2, frame[6], frame[7]})) << i;
        EXPECT_EQ(heard[i].lineBaud, i < 5 ? 2400U : kBaud);
    }
}

// A scan dropped before its end (Stop) leaves the port to the polls again.
TEST(BusScan, ADroppedScanNoLongerHoldsTheSession) {
    SessionOnDevice bus(sim::DeviceKind::Th, false);
    {
        CBusScan scan(bus.m_session, {.portNumber = kPortNumber, .first = 1, .last = 3, .speeds = {kBaud}});
        ASSERT_TRUE(scan.Step());
        EXPECT_TRUE(bus.m_session.Scanning());
    }
    EXPECT_FALSE(bus.m_session.Scanning());
    const CBusScan empty(bus.m_session, {.first = 9, .last = 8});
    EXPECT_FALSE(bus.m_session.Scanning());
}

TEST(BusScan, AReadOfAUnitSaysWhatBecameOfItsReply) {
    SessionOnDevice bus(sim::DeviceKind::Th, false);
    bus.AssumeFound();
    const OpResult<std::vector<std::uint16_t>> all = bus.m_session.ReadUnitRegisters(kAddress, 0, 7, 100ms);
    ASSERT_TRUE(all.Ok()) << all.outcome.Text();
    EXPECT_EQ(all.value.size(), 7U);
    EXPECT_EQ(all.value[0], *bus.m_device.Register(0));

    const struct {
        sim::Fault fault;
        const char* outcome;
    } rows[] = {
        {sim::Fault::WrongAddress(), "bad reply: address"},
        {sim::Fault::BadCrc(), "bad reply: CRC"},
        {sim::Fault::Silent(), "no reply"},
    };
    for (const auto& row : rows) {
        bus.m_device.InjectFault(row.fault);
        const OpResult<std::vector<std::uint16_t>> read = bus.m_session.ReadUnitRegisters(kAddress, 0, 2, 100ms);
        EXPECT_EQ(read.outcome.Text().substr(0, std::string(row.outcome).size()), row.outcome);
    }
    EXPECT_EQ(bus.m_session.ReadUnitRegisters(kAddress + 1, 0, 2, 50ms).outcome.Text(), "no reply");
}

}  // namespace
