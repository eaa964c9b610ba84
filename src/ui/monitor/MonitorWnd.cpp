#include "MonitorWnd.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "protocol/TextNumbers.h"
#include "res/IdsMonitor.h"
#include "res/ResourceIds.h"
#include "widgets/InputHold.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kCaption = "Monitor";
// A poll that falls due while an operation of the windows waits for its reply
// is taken this soon after instead.
constexpr int kRetryMs = 5;
constexpr const char* kNoValue = "\u2014";

struct ChartKind {
    const char* title;
    Reading reading;
};
constexpr ChartKind kQuantityCharts[] = {
    {"Temperature (\u2103)", Reading::Temperature},
    {"Humidity (%RH)", Reading::Humidity},
    {"Light intensity", Reading::Light},
    {"CO2", Reading::Co2},
};
constexpr Reading kStateReadings[] = {Reading::WaterLeak, Reading::PowerFailure};

// The alarm limits the device holds for a quantity, by FC parameter.
struct LimitParameters {
    Reading reading;
    Parameter upper;
    Parameter lower;
};
constexpr LimitParameters kLimits[] = {
    {Reading::Temperature, Parameter::TemperatureUpper, Parameter::TemperatureLower},
    {Reading::Humidity, Parameter::HumidityUpper, Parameter::HumidityLower},
    {Reading::Light, Parameter::LightUpper, Parameter::LightLower},
};

std::size_t IndexOf(Reading reading) { return static_cast<std::size_t>(reading); }
int BoxId(Reading reading) { return kIdMonitorReadingFirst + static_cast<int>(reading); }
int ValueId(Reading reading) { return kIdMonitorValueFirst + static_cast<int>(reading); }

std::string SecondsText(std::chrono::milliseconds interval) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(interval.count()) / 1000.0);
    return text;
}

}  // namespace

CMonitorWnd::CMonitorWnd(CDeviceSession& session) : CDialogBase(IDD_MONITOR), m_session(session), m_monitor(session) {
    m_lastValues.fill(kNoValue);
}

CMonitorWnd::~CMonitorWnd() = default;

bool CMonitorWnd::OnInitDialog() {
    CDialogBase::OnInitDialog();
    OnCommand(kIdMonitorStart, [this] { m_running ? OnPause() : OnStart(); });
    OnCommand(kIdMonitorClear, [this] { OnClear(); });
    OnCommand(kIdMonitorReadLimits, [this] { OnReadLimits(); });
    OnCommand(kIdMonitorLogCsv, [this] { OnLogToCsv(); });
    OnCommand(kIdMonitorSavePicture, [this] { OnSavePicture(); });
    SetCanvasPaint(kIdMonitorCharts, [this](CCanvasPainter& painter, int width, int height) {
        m_frames = DrawMonitorCharts(painter, width, height, m_monitor, m_charts);
    });

    // The readings polled before, else those the device has answered so far.
    const std::vector<Reading>& polled = m_monitor.Readings();
    for (const ReadingInfo& info : AllReadings()) {
        const bool before = std::find(polled.begin(), polled.end(), info.reading) != polled.end();
        CheckDlgButton(BoxId(info.reading), polled.empty() ? m_session.HasAnswered(info.reading) : before);
        SetDlgItemText(ValueId(info.reading), m_lastValues[IndexOf(info.reading)]);
    }
    SetDlgItemText(kIdMonitorInterval, SecondsText(m_monitor.Interval()));
    ShowRunning();
    ShowCounters();
    return true;
}

void CMonitorWnd::OnDestroy() {
    // The timer dies with the window, and nobody watches a closed window.
    KillTimer(kPollTimer);
    m_running = false;
}

std::optional<std::size_t> CMonitorWnd::ChartIndex(Reading reading) const {
    for (std::size_t i = 0; i < m_charts.size(); ++i) {
        const std::vector<Reading>& readings = m_charts[i].readings;
        if (std::find(readings.begin(), readings.end(), reading) != readings.end()) return i;
    }
    return std::nullopt;
}

const ChartSpec* CMonitorWnd::Chart(Reading reading) const {
    const std::optional<std::size_t> index = ChartIndex(reading);
    return index ? &m_charts[*index] : nullptr;
}

const ChartFrame* CMonitorWnd::DrawnChart(Reading reading) const {
    const std::optional<std::size_t> index = ChartIndex(reading);
    return index && *index < m_frames.size() ? &m_frames[*index] : nullptr;
}

std::vector<Reading> CMonitorWnd::TickedReadings() const {
    std::vector<Reading> ticked;
    for (const ReadingInfo& info : AllReadings()) {
        if (IsDlgButtonChecked(BoxId(info.reading))) ticked.push_back(info.reading);
    }
    return ticked;
}

void CMonitorWnd::RebuildCharts() {
    m_charts.clear();
    m_frames.clear();
    const std::vector<Reading>& polled = m_monitor.Readings();
    const auto polls = [&](Reading r) { return std::find(polled.begin(), polled.end(), r) != polled.end(); };
    for (const ChartKind& kind : kQuantityCharts) {
        if (polls(kind.reading)) m_charts.push_back({kind.title, {kind.reading}, false, {}});
    }
    ChartSpec states{"Water leak / power failure (shaded: warning)", {}, true, {}};
    for (const Reading r : kStateReadings) {
        if (polls(r)) states.readings.push_back(r);
    }
    if (!states.readings.empty()) m_charts.push_back(states);
}

void CMonitorWnd::OnReadLimits() {
    for (const LimitParameters& limits : kLimits) {
        const std::optional<std::size_t> index = ChartIndex(limits.reading);
        if (!index) continue;
        const auto take = [&](Parameter p) -> std::optional<double> {
            const OpResult<std::uint16_t> word = m_session.ReadParameter(p);
            if (!word.Ok()) return std::nullopt;
            return ValueNumber(InfoOf(p).form, word.value);
        };
        m_charts[*index].limits = {take(limits.upper), take(limits.lower)};
    }
    RefreshCanvas(kIdMonitorCharts);
}

void CMonitorWnd::OnStart() {
    const std::vector<Reading> chosen = TickedReadings();
    if (chosen.empty()) {
        m_note = "Tick the readings to poll.";
        ShowCounters();
        return;
    }
    const double seconds = ParseLeadingDouble(GetDlgItemText(kIdMonitorInterval));
    const auto interval = std::chrono::milliseconds(std::lround(std::clamp(seconds, 0.0, 3600.0) * 1000));
    if (!(seconds >= 0 && seconds <= 3600) || !m_monitor.SetInterval(interval)) {
        MessageBox("The interval must be 0.2 to 60 seconds.", kCaption, MsgIcon::Warning);
        return;
    }
    if (chosen != m_monitor.Readings()) {
        m_monitor.SetReadings(chosen);
        m_monitor.Clear();
        RebuildCharts();
    }
    m_note.clear();
    OnReadLimits();
    m_running = true;
    ShowRunning();
    m_monitor.Start(Clock::now());
    Schedule();
}

void CMonitorWnd::OnPause() {
    m_running = false;
    KillTimer(kPollTimer);
    ShowRunning();
}

// Start reads "Pause" while polling; the choice of readings and the interval
// wait for the pause.
void CMonitorWnd::ShowRunning() {
    SetDlgItemText(kIdMonitorStart, m_running ? "Pause" : "Start");
    for (const ReadingInfo& info : AllReadings()) EnableDlgItem(BoxId(info.reading), !m_running);
    EnableDlgItem(kIdMonitorInterval, !m_running);
}

void CMonitorWnd::OnClear() {
    m_monitor.Clear();
    m_lastValues.fill(kNoValue);
    for (const ReadingInfo& info : AllReadings()) SetDlgItemText(ValueId(info.reading), kNoValue);
    RefreshCanvas(kIdMonitorCharts);
    ShowCounters();
}

void CMonitorWnd::OnTimer(int timerId) {
    if (timerId != kPollTimer) return;
    KillTimer(kPollTimer);
    PollNow();
}

void CMonitorWnd::Schedule() {
    if (!m_running) return;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(m_monitor.NextPollDue() - Clock::now());
    SetTimer(kPollTimer, static_cast<int>(std::clamp<long long>(wait.count(), 1, 60000)));
}

void CMonitorWnd::PollNow() {
    if (!m_running) return;
    // An operation of the windows is waiting for its reply: the bus is
    // theirs until it returns.
    if (CInputHold::IsHolding()) {
        SetTimer(kPollTimer, kRetryMs);
        return;
    }
    const PollRow row = m_monitor.Poll(Clock::now());
    ShowPoll(row);
    Schedule();
}

void CMonitorWnd::ShowPoll(const PollRow& row) {
    std::vector<std::string> fields = {IsoTimeNow()};
    for (const auto& [reading, sample] : row.samples) {
        fields.push_back(SampleText(reading, sample));
        m_lastValues[IndexOf(reading)] = fields.back();
        SetDlgItemText(ValueId(reading), fields.back());
    }
    if (m_log && !row.samples.empty() && !m_log->Append(fields)) {
        m_note = m_log->Error();
        m_log.reset();
    }
    RefreshCanvas(kIdMonitorCharts);
    ShowCounters();
}

void CMonitorWnd::ShowCounters() {
    std::string text = "Polls: " + std::to_string(m_monitor.Polls());
    for (std::size_t o = 0; o < static_cast<std::size_t>(SampleOutcome::kCount); ++o) {
        const auto outcome = static_cast<SampleOutcome>(o);
        text += "\n" + std::string(SampleOutcomeText(outcome)) + ": " + std::to_string(m_monitor.Count(outcome));
    }
    if (const auto median = m_monitor.LatencyMedian()) {
        text += "\nLatency: median " + std::to_string(*median) + " ms,\n99th percentile " +
                std::to_string(*m_monitor.LatencyP99()) + " ms";
    }
    if (m_session.InConfiguration()) text += "\nPaused: the receiver is in configuration mode";
    if (m_session.Scanning()) text += "\nPaused: the bus is being scanned";
    if (!m_note.empty()) text += "\n" + m_note;
    SetDlgItemText(kIdMonitorCounters, text);
}

void CMonitorWnd::OnLogToCsv() {
    const std::optional<std::string> path =
        AskFileName({FileDialogKind::Save, "Log to CSV", "monitor.csv", {{"CSV files", "*.csv"}, {"All files", "*"}}});
    if (!path) return;
    std::string error;
    if (!LogTo(*path, &error)) MessageBox(error, kCaption, MsgIcon::Warning);
}

void CMonitorWnd::OnSavePicture() {
    const std::optional<std::string> path =
        AskFileName({FileDialogKind::Save, "Save picture", "monitor.png", {{"PNG images", "*.png"}}});
    if (path && !SavePicture(*path)) MessageBox("The picture could not be saved to " + *path, kCaption, MsgIcon::Warning);
}

bool CMonitorWnd::LogTo(const std::string& path, std::string* error) {
    // The columns of the readings polled, or about to be.
    const std::vector<Reading> readings = m_running ? m_monitor.Readings() : TickedReadings();
    // Rows under another log's header would make both unreadable; the log
    // kept so far, if any, goes on.
    if (const std::optional<std::string> refusal = OtherReadingsLog(path, readings)) {
        if (error) *error = *refusal;
        return false;
    }
    m_log.emplace(path, LogHeader(readings));
    if (m_log->Valid()) return true;
    if (error) *error = m_log->Error();
    m_log.reset();
    return false;
}

bool CMonitorWnd::SavePicture(const std::string& path) { return SaveCanvasPicture(kIdMonitorCharts, path); }
