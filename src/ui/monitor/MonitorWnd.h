#pragma once
// The monitor window of the main window's menu: the readings to poll (those
// the device has answered are ticked), the interval, Start/Pause and Clear;
// a chart per quantity against the device's alarm limits, the water leak and
// power failure as bands; the counters, the latency and the last value of
// each reading in large type; "Log to CSV..." and "Save picture...".
//
// One source for both platforms, on the dialog verbs: the charts are a canvas
// control drawn through MonitorChart. The window has no owner and no modal
// loop, like the frame log: it stays usable while the program's modal windows
// are open. Its polls run on the window thread between the windows'
// operations: a poll that falls due while an operation waits for its reply is
// taken right after it. Closing the window pauses the polling; the samples
// stay for the next opening until Clear.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "MonitorChart.h"
#include "device/CsvFile.h"
#include "device/Monitor.h"
#include "widgets/DialogBase.h"

class CMonitorWnd : public CDialogBase {
public:
    static constexpr int kPollTimer = 1;

    explicit CMonitorWnd(CDeviceSession& session);
    ~CMonitorWnd() override;

    // Reads the alarm limits, then polls until Pause.
    void OnStart();
    void OnPause();
    void OnClear();
    // The alarm limits read again from the device.
    void OnReadLimits();
    // Ask for the file, then log or save.
    void OnLogToCsv();
    void OnSavePicture();
    // Starts logging each poll to `path`; false (and why) when it cannot be written.
    bool LogTo(const std::string& path, std::string* error = nullptr);
    // The charts as a PNG file; false when it cannot be written.
    bool SavePicture(const std::string& path);
    // One poll now, as the timer takes it.
    void PollNow();

    bool Running() const { return m_running; }
    const CMonitor& Monitor() const { return m_monitor; }
    // The chart of a reading (the state chart for the water leak and the
    // power failure) and where it was last drawn; nullptr when there is none.
    const ChartSpec* Chart(Reading reading) const;
    const ChartFrame* DrawnChart(Reading reading) const;

protected:
    bool OnInitDialog() override;
    void OnTimer(int timerId) override;
    // Enter clicks the default button (Start or Pause); it never closes the window.
    void OnOK() override {}
    void OnDestroy() override;

private:
    std::optional<std::size_t> ChartIndex(Reading reading) const;
    void RebuildCharts();
    void Schedule();
    void ShowPoll(const PollRow& row);
    void ShowCounters();
    void ShowRunning();
    std::vector<Reading> TickedReadings() const;

    CDeviceSession& m_session;
    CMonitor m_monitor;
    std::optional<CCsvFile> m_log;
    bool m_running = false;
    std::vector<ChartSpec> m_charts;
    std::vector<ChartFrame> m_frames;  // where the last paint put each chart
    std::array<std::string, 8> m_lastValues;
    std::string m_note;  // a line under the counters: why nothing runs, or a log that failed
};
