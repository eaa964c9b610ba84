#pragma once
// The monitor window of the main window's menu: the readings to poll (those
// the device has answered are ticked), the interval, Start/Pause and Clear;
// a chart per quantity against the device's alarm limits, the water leak and
// power failure as bands; the counters, the latency and the last value of
// each reading in large type; "Log to CSV..." and "Save picture...".
//
// Not modal and without an owner, like the frame log: it stays usable while
// the program's modal windows are open. Its polls run on the window thread
// between the windows' operations: a poll that falls due while an operation
// waits for its reply is taken right after it.

#include <array>
#include <memory>
#include <optional>

#include <QString>
#include <QWidget>

#include "device/CsvFile.h"
#include "device/Monitor.h"
#include "MonitorChart.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTimer;

class CMonitorWnd final : public QWidget {
    Q_OBJECT
public:
    explicit CMonitorWnd(CDeviceSession& session);
    ~CMonitorWnd() override;

    // Reads the alarm limits, then polls until Pause.
    void OnStart();
    void OnPause();
    void OnClear();
    // The alarm limits read again from the device.
    void ReadLimits();
    // Starts logging each poll to `path`; false (and why) when it cannot be written.
    bool LogTo(const QString& path, QString* error = nullptr);
    bool SavePicture(const QString& path);
    // One poll now, as the timer takes it.
    void PollNow();

    bool Running() const { return m_running; }
    const CMonitor& Monitor() const { return m_monitor; }
    CMonitorChart* Chart(Reading reading) const;
    QCheckBox* ReadingBox(Reading reading) const { return m_boxes[static_cast<std::size_t>(reading)]; }
    QDoubleSpinBox* IntervalBox() const { return m_interval; }
    QLabel* Counters() const { return m_counters; }
    QLabel* LastValue(Reading reading) const { return m_values[static_cast<std::size_t>(reading)]; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Schedule();
    void RebuildCharts();
    void ShowPoll(const PollRow& row);
    void ShowCounters();

    CDeviceSession& m_session;
    CMonitor m_monitor;
    std::optional<CCsvFile> m_log;
    bool m_running = false;
    QTimer* m_timer;
    std::array<QCheckBox*, 8> m_boxes{};
    std::array<QLabel*, 8> m_values{};
    QDoubleSpinBox* m_interval;
    QPushButton* m_start;
    QLabel* m_counters;
    QWidget* m_charts;
    std::vector<CMonitorChart*> m_chartList;
};
