// The charts' layout, the same on both platforms: round tick values, the time
// axis on the wall clock, and what a chart draws of its samples (every sample
// to the last, gaps for failed polls, the limits, the time outside them).

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "serial/SerialPort.h"
#include "ui/monitor/MonitorChart.h"

namespace {

struct TickRow {
    double low, high;
    int most;
    std::vector<std::string> labels;
};

class NiceTickValues : public ::testing::TestWithParam<TickRow> {};

TEST_P(NiceTickValues, AreRoundAndCoverTheRange) {
    const TickRow& row = GetParam();
    const AxisTicks ticks = NiceTicks(row.low, row.high, row.most);
    std::vector<std::string> labels;
    for (int i = 0; i < ticks.count; ++i) labels.push_back(TickLabel(ticks.At(i), ticks.decimals));
    EXPECT_EQ(labels, row.labels);
    EXPECT_LE(ticks.first, row.low);
    EXPECT_GE(ticks.Last(), row.high);
}

INSTANTIATE_TEST_SUITE_P(Table, NiceTickValues, ::testing::Values(
    TickRow{12.3, 28.1, 6, {"10", "15", "20", "25", "30"}},
    TickRow{-0.04, 0.98, 5, {"-0.25", "0.00", "0.25", "0.50", "0.75", "1.00"}},
    TickRow{-10.5, 31.5, 10, {"-15", "-10", "-5", "0", "5", "10", "15", "20", "25", "30", "35"}},
    TickRow{20.0, 20.0, 4, {"19.0", "19.5", "20.0", "20.5", "21.0"}},
    TickRow{390, 2010, 3, {"0", "1000", "2000", "3000"}}));

TEST(WallClockTicks, FallOnRoundTimesOfTheLocalClock) {
    // The monitor started at 10:00:07.250 UTC, an hour behind the local clock.
    const std::int64_t origin = 1796810407250;  // 2026-12-09T10:00:07.250Z
    std::vector<std::string> labels;
    std::vector<std::uint32_t> at;
    for (const TimeTick& tick : WallClockTicks(0, 300000, origin, 3600, 6)) {
        labels.push_back(tick.label);
        at.push_back(tick.ms);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"11:01", "11:02", "11:03", "11:04", "11:05"}));
    EXPECT_EQ(at.front(), 52750u);
    // Under a minute: seconds in the labels.
    EXPECT_EQ(WallClockTicks(0, 20000, origin, 3600, 4).front().label, "11:00:10");
}

// Records what a chart draws.
class CRecordingPainter final : public CCanvasPainter {
public:
    void FillRect(const PixelRect& rect, ColorRef color) override { fills.push_back({rect, color}); }
    void Polyline(std::span<const CanvasPoint> points, ColorRef, int) override {
        lines.emplace_back(points.begin(), points.end());
    }
    void Text(const PixelRect&, std::string_view text, ColorRef, CanvasAlign, bool) override {
        texts.emplace_back(text);
    }
    std::vector<std::pair<PixelRect, ColorRef>> Fills(ColorRef color) const {
        std::vector<std::pair<PixelRect, ColorRef>> found;
        std::copy_if(fills.begin(), fills.end(), std::back_inserter(found), [&](const auto& f) { return f.second == color; });
        return found;
    }
    std::vector<std::pair<PixelRect, ColorRef>> fills;
    std::vector<std::vector<CanvasPoint>> lines;
    std::vector<std::string> texts;
};

class ChartDrawing : public ::testing::Test {
protected:
    void Record(Reading reading, std::uint32_t timeMs, std::optional<std::uint16_t> word) {
        Sample s;
        s.timeMs = timeMs;
        s.outcome = word ? SampleOutcome::Ok : SampleOutcome::NoReply;
        s.word = word.value_or(0);
        m_monitor.Record(reading, s);
    }
    CSerialPort m_port;
    std::atomic<bool> m_open{false};
    CDeviceSession m_session{m_port, m_open};
    CMonitor m_monitor{m_session};
    CRecordingPainter m_painter;
};

// Temperature 25.0 at 0 to 2 s, no reply at 3 s, 31.5 at 4 and 5 s; the
// humidity polled after it each time, its last sample the latest of all.
TEST_F(ChartDrawing, DrawsEverySampleToTheLastBreaksAtFailedPollsAndShadesTheTimeOutsideTheLimits) {
    for (std::uint32_t s = 0; s <= 5; ++s) {
        Record(Reading::Temperature, s * 1000, s == 3 ? std::nullopt : std::optional<std::uint16_t>(s < 3 ? 250 : 315));
        Record(Reading::Humidity, s * 1000 + 40, 600);
    }
    const std::vector<ChartSpec> charts = {{"t", {Reading::Temperature}, false, {30.0, -10.0}},
                                           {"h", {Reading::Humidity}, false, {}}};
    const std::vector<ChartFrame> frames = DrawMonitorCharts(m_painter, 600, 400, m_monitor, charts);
    ASSERT_EQ(frames.size(), 2u);
    const ChartFrame& t = frames[0];
    const ChartFrame& h = frames[1];

    // Two runs of the temperature, split at the failed poll; never at zero.
    std::vector<std::vector<CanvasPoint>> temperature, humidity;
    for (const auto& line : m_painter.lines) {
        (line.front().y >= h.plot.top ? humidity : temperature).push_back(line);
    }
    ASSERT_EQ(temperature.size(), 2u);
    for (const auto& run : temperature) {
        for (const CanvasPoint& p : run) EXPECT_TRUE(p.y == t.YOf(25.0) || p.y == t.YOf(31.5)) << p.y;
    }
    // The last sample of each line is drawn, at the right end of its chart.
    ASSERT_EQ(humidity.size(), 1u);
    EXPECT_GE(humidity[0].back().x, h.plot.right - 3);
    EXPECT_GE(temperature[1].back().x, t.XOf(5000) - 2);

    // The limits as dashes on their rows; the time above 30 shaded from 4 s on.
    const auto upper = m_painter.Fills(chart_colors::kUpperLimit);
    EXPECT_GT(upper.size(), 10u);
    for (const auto& [rect, color] : upper) EXPECT_LE(std::abs(rect.top - t.YOf(30.0)), 1);
    EXPECT_FALSE(m_painter.Fills(chart_colors::kLowerLimit).empty());
    const auto outside = m_painter.Fills(chart_colors::kOutsideLimits);
    ASSERT_EQ(outside.size(), 1u);
    EXPECT_NEAR(outside[0].first.left, t.XOf(4000), 3);
    EXPECT_EQ(outside[0].first.right, t.plot.right);
}

// Water leak warns at 1 and 2 s, power failure's poll fails at 2 s: each
// state holds until the next sample.
TEST_F(ChartDrawing, StateLanesShadeWarningsAndFailedPolls) {
    for (std::uint32_t s = 0; s <= 4; ++s) {
        Record(Reading::WaterLeak, s * 1000, static_cast<std::uint16_t>(s == 1 || s == 2 ? 2 : 1));
        Record(Reading::PowerFailure, s * 1000 + 20, s == 2 ? std::nullopt : std::optional<std::uint16_t>(0));
    }
    const std::vector<ChartSpec> charts = {{"s", {Reading::WaterLeak, Reading::PowerFailure}, true, {}}};
    const ChartFrame frame = DrawMonitorCharts(m_painter, 500, 200, m_monitor, charts).at(0);
    const auto warnings = m_painter.Fills(chart_colors::kWarning);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NEAR(warnings[0].first.left, frame.XOf(1000), 3);
    EXPECT_NEAR(warnings[0].first.right, frame.XOf(3000), 3) << "until the next sample";
    EXPECT_LT(warnings[0].first.bottom, frame.plot.top + frame.plot.Height() / 2 + 1) << "in the water leak's lane";
    const auto failed = m_painter.Fills(chart_colors::kFailedPoll);
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_GT(failed[0].first.top, frame.plot.top + frame.plot.Height() / 2 - 1) << "in the power failure's lane";
    EXPECT_TRUE(m_painter.lines.empty());
    EXPECT_TRUE(std::any_of(m_painter.texts.begin(), m_painter.texts.end(),
                            [](const std::string& text) { return text.find(':') != std::string::npos; }))
        << "no time axis";
}

}  // namespace
