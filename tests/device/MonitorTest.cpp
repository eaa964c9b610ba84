// The monitor against a simulated transmitter whose values change between
// polls and whose replies are spoiled now and then: every sample in its
// place, failures as gaps (never as zeros) and counted by kind.

#include <gtest/gtest.h>

#include <thread>

#include "SessionOnDevice.h"
#include "device/Monitor.h"

namespace {

using Clock = std::chrono::steady_clock;

TEST(Monitor, KeepsEverySampleCountsEachOutcomeAndLeavesGapsForFailures) {
    SessionOnDevice line(sim::DeviceKind::Th, true);
    line.AssumeFound();
    CMonitor monitor(line.m_session);
    monitor.SetReadings({Reading::Temperature, Reading::WaterLeak});
    monitor.Start(Clock::now());

    // Poll 2 gets no reply to its temperature read, poll 3 a bad CRC, poll 4 a
    // reply from another address.
    const sim::Fault faults[] = {sim::Fault::None(), sim::Fault::Silent(), sim::Fault::BadCrc(),
                                 sim::Fault::WrongAddress(), sim::Fault::None()};
    for (int poll = 0; poll < 5; ++poll) {
        line.m_device.SetRegister(kRegTemperature, static_cast<std::uint16_t>(200 + poll));
        line.m_device.InjectFault(faults[poll]);
        const PollRow row = monitor.Poll(monitor.NextPollDue());
        ASSERT_EQ(row.samples.size(), 2U);
    }

    const std::vector<Sample>& temperature = monitor.Series(Reading::Temperature);
    ASSERT_EQ(temperature.size(), 5U);
    const SampleOutcome expected[] = {SampleOutcome::Ok, SampleOutcome::NoReply, SampleOutcome::BadCrc,
                                      SampleOutcome::WrongAddress, SampleOutcome::Ok};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(temperature[i].outcome, expected[i]) << i;
        EXPECT_EQ(SampleValue(Reading::Temperature, temperature[i]).has_value(), expected[i] == SampleOutcome::Ok);
    }
    EXPECT_EQ(*SampleValue(Reading::Temperature, temperature[4]), 20.4);
    EXPECT_EQ(SampleText(Reading::Temperature, temperature[1]), "no reply");
    EXPECT_GT(temperature[4].timeMs, temperature[0].timeMs);
    EXPECT_EQ(monitor.Count(SampleOutcome::Ok), 7U);  // five leak reads and two temperatures
    EXPECT_EQ(monitor.Count(SampleOutcome::NoReply), 1U);
    EXPECT_EQ(monitor.Polls(), 5U);
    EXPECT_TRUE(monitor.LatencyMedian().has_value());
    EXPECT_LE(*monitor.LatencyMedian(), *monitor.LatencyP99());

    // A decimated view keeps the failed polls as gaps and the values' range.
    const std::vector<ChartColumn> view = monitor.Decimated(Reading::Temperature, 0, temperature[4].timeMs + 1, 5);
    int gaps = 0;
    for (const ChartColumn& column : view) gaps += column.low ? 0 : 1;
    EXPECT_GE(gaps, 1);
    EXPECT_EQ(*view.back().high, 20.4);

    monitor.Clear();
    EXPECT_TRUE(monitor.Series(Reading::Temperature).empty());
    EXPECT_EQ(monitor.Count(SampleOutcome::Ok), 0U);
}

TEST(Monitor, PausesWhileTheReceiverIsInConfigurationModeAndRefusesIntervalsOutOfRange) {
    SessionOnDevice line(sim::DeviceKind::Wireless, true);
    line.AssumeFound();
    CMonitor monitor(line.m_session);
    monitor.SetReadings({Reading::Temperature});
    ASSERT_TRUE(line.m_session.EnterConfiguration().Ok());
    line.m_device.ClearReceived();
    EXPECT_TRUE(monitor.Poll(Clock::now()).samples.empty());
    EXPECT_TRUE(line.m_device.ReceivedBytes().empty());
    line.m_session.LeaveConfiguration();

    EXPECT_FALSE(monitor.SetInterval(std::chrono::milliseconds(199)));
    EXPECT_FALSE(monitor.SetInterval(std::chrono::milliseconds(60001)));
    EXPECT_TRUE(monitor.SetInterval(std::chrono::milliseconds(200)));
    EXPECT_EQ(monitor.Interval(), std::chrono::milliseconds(200));
}

// Pause and Start again: the samples go on counting from the first start, and
// a view up to the last sample holds it.
TEST(Monitor, AStartAfterAPauseKeepsTheSamplesInTimeOrder) {
    SessionOnDevice line(sim::DeviceKind::Th, true);
    line.AssumeFound();
    CMonitor monitor(line.m_session);
    monitor.SetReadings({Reading::Temperature});
    monitor.Start(Clock::now());
    monitor.Poll(monitor.NextPollDue());
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    monitor.Start(Clock::now());
    monitor.Poll(monitor.NextPollDue());
    const std::vector<Sample>& series = monitor.Series(Reading::Temperature);
    ASSERT_EQ(series.size(), 2U);
    EXPECT_GE(series[1].timeMs, series[0].timeMs + 30);
    EXPECT_TRUE(monitor.Decimated(Reading::Temperature, 0, series[1].timeMs, 4).back().high.has_value());
}

}  // namespace
