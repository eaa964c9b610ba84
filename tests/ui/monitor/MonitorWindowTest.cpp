// The monitor window in the real program against a simulated transmitter:
// the readings answered before are ticked, the device's limits are drawn where
// they are, and a window's operation during monitoring runs between two polls
// with no frame of either cut into the other.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QChart>
#include <QImage>
#include <QLineSeries>
#include <QTest>

#include "device/Monitor.h"
#include "res/IdsConfig.h"
#include "support/MainWindowFixture.h"
#include "ui/monitor/MonitorWnd.h"

namespace {

class MonitorWindow : public MainWindowFixture {
protected:
    CMonitorWnd& OpenMonitor() {
        Dlg().OnSysCommand(CConfigDlg::kMonitorCommand);
        CMonitorWnd* monitor = Dlg().MonitorWindow();
        if (!monitor) throw std::logic_error("no monitor window");
        return *monitor;
    }
    // Lets the monitor's own timer poll `polls` more times.
    static bool PollsFor(const CMonitorWnd& monitor, std::uint64_t polls) {
        const std::uint64_t target = monitor.Monitor().Polls() + polls;
        return QTest::qWaitFor([&] { return monitor.Monitor().Polls() >= target; }, 10000);
    }
};

TEST_F(MonitorWindow, DrawsTheDevicesLimitsAndPollsTheReadingsAnsweredBefore) {
    OpenOnFoundDevice({.kind = sim::DeviceKind::Th, .address = 5, .baud = 4800});
    Device().SetFcParam(kFcTemperatureUpper, 30);
    Device().SetFcParam(kFcTemperatureLower, 0x800A);  // -10
    Device().SetRegister(kRegTemperature, 315);         // 31.5: above the upper limit
    Click(kIdReadTemperature);
    CMonitorWnd& monitor = OpenMonitor();
    EXPECT_TRUE(monitor.ReadingBox(Reading::Temperature)->isChecked());
    EXPECT_FALSE(monitor.ReadingBox(Reading::Light)->isChecked());

    monitor.IntervalBox()->setValue(0.2);
    monitor.OnStart();
    ASSERT_TRUE(PollsFor(monitor, 3));
    monitor.OnPause();
    CMonitorChart* chart = monitor.Chart(Reading::Temperature);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->Limits().upper, 30.0);
    EXPECT_EQ(chart->Limits().lower, -10.0);
    EXPECT_EQ(monitor.LastValue(Reading::Temperature)->text(), "31.5");

    // The dashed upper limit lies where 30 °C is on the chart's value axis.
    const QImage picture = chart->grab().toImage();
    const QPointF at = chart->chart()->mapToPosition(QPointF(0, 30), chart->UpperLimitSeries());
    const int y = qRound(at.y());
    int limitPixels = 0;
    for (int x = qRound(at.x()); x < picture.width() - 20; ++x) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (QColor(picture.pixel(x, y + dy)) == CMonitorChart::UpperLimitColor()) ++limitPixels;
        }
    }
    EXPECT_GT(limitPixels, 40) << "no dashed line at y " << y;
}

TEST_F(MonitorWindow, AnOperationDuringMonitoringRunsBetweenPolls) {
    OpenOnFoundDevice({.kind = sim::DeviceKind::Th, .address = 5, .baud = 4800});
    Device().SetReplyLatency(std::chrono::milliseconds(60));
    Click(kIdReadTemperature);
    CMonitorWnd& monitor = OpenMonitor();
    monitor.IntervalBox()->setValue(0.2);
    monitor.OnStart();
    ClearRequests();
    // Reads of the main window while the monitor polls every 200 ms: each
    // takes about 90 ms, so polls fall due during them.
    for (int i = 0; i < 8; ++i) {
        ClearBusy();
        Click(kIdReadHumidity);
        Pump(ms(40));
    }
    ASSERT_TRUE(PollsFor(monitor, 1));
    monitor.OnPause();
    EXPECT_EQ(Device().SkippedBytes(), 0U) << "a frame was cut into another";
    int windowReads = 0;
    for (const sim::Frame& f : Requests()) windowReads += f.size() == 8 ? 1 : 0;
    EXPECT_GE(windowReads, 8);
    EXPECT_EQ(Text(kIdHumidityField), "60.0");
    EXPECT_EQ(monitor.Monitor().Count(SampleOutcome::Ok), monitor.Monitor().Polls());
}

}  // namespace

namespace {

// Not a check: with SENTRABUS_SCREENSHOTS=DIR, a minute of a transmitter whose
// temperature and humidity drift, polled at 0.2 s, saved as DIR/monitor.png
// to look at.
TEST_F(MonitorWindow, Screenshot) {
    const char* directory = std::getenv("SENTRABUS_SCREENSHOTS");
    if (directory == nullptr) GTEST_SKIP() << "set SENTRABUS_SCREENSHOTS=DIR to save one";
    OpenOnFoundDevice({.kind = sim::DeviceKind::Th, .address = 5, .baud = 4800});
    Device().SetFcParam(kFcTemperatureUpper, 28);
    Device().SetFcParam(kFcTemperatureLower, 22);
    Device().SetFcParam(kFcHumidityUpper, 70);
    Device().SetFcParam(kFcHumidityLower, 40);
    Click(kIdReadTemperature);
    ClearBusy();
    Click(kIdReadHumidity);
    ClearBusy();
    Click(kIdReadWaterLeak);
    CMonitorWnd& monitor = OpenMonitor();
    monitor.IntervalBox()->setValue(0.2);
    monitor.OnStart();
    for (int step = 0; step < 60; ++step) {
        Device().SetRegister(kRegTemperature, static_cast<std::uint16_t>(250 + 40 * std::sin(step / 8.0)));
        Device().SetRegister(kRegHumidity, static_cast<std::uint16_t>(550 + 120 * std::cos(step / 11.0)));
        Device().SetRegister(kRegWaterLeak, step > 35 && step < 45 ? 2 : 1);
        if (step == 20) Device().InjectFault(sim::Fault::Silent(), 3);
        PollsFor(monitor, 1);
    }
    monitor.OnPause();
    EXPECT_TRUE(monitor.grab().save(QString::fromLocal8Bit(directory) + "/monitor.png"));
}

}  // namespace
