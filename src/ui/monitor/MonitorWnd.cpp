#include "MonitorWnd.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "widgets/InputHold.h"

namespace {

using Clock = std::chrono::steady_clock;

QString Qs(const std::string& text) { return QString::fromStdString(text); }

// A poll that falls due while an operation of the windows waits for its reply
// is taken this soon after instead.
constexpr int kRetryMs = 5;

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

}  // namespace

CMonitorWnd::CMonitorWnd(CDeviceSession& session) : m_session(session), m_monitor(session) {
    setWindowTitle(QStringLiteral("Monitor"));
    auto* layout = new QHBoxLayout(this);

    auto* controls = new QVBoxLayout();
    auto* readings = new QGroupBox(QStringLiteral("Readings"), this);
    auto* readingsLayout = new QGridLayout(readings);
    int row = 0;
    for (const ReadingInfo& info : AllReadings()) {
        const auto index = static_cast<std::size_t>(info.reading);
        m_boxes[index] = new QCheckBox(Qs(info.name), readings);
        m_values[index] = new QLabel(QStringLiteral("\u2014"), readings);
        QFont big = m_values[index]->font();
        big.setPointSizeF(big.pointSizeF() * 1.8);
        big.setBold(true);
        m_values[index]->setFont(big);
        readingsLayout->addWidget(m_boxes[index], row, 0);
        readingsLayout->addWidget(m_values[index], row, 1, Qt::AlignRight);
        ++row;
    }
    controls->addWidget(readings);

    auto* intervalRow = new QHBoxLayout();
    intervalRow->addWidget(new QLabel(QStringLiteral("Interval (s):"), this));
    m_interval = new QDoubleSpinBox(this);
    m_interval->setRange(CMonitor::kShortestInterval.count() / 1000.0, CMonitor::kLongestInterval.count() / 1000.0);
    m_interval->setDecimals(1);
    m_interval->setSingleStep(0.1);
    m_interval->setValue(1.0);
    intervalRow->addWidget(m_interval);
    controls->addLayout(intervalRow);

    m_start = new QPushButton(QStringLiteral("Start"), this);
    auto* clear = new QPushButton(QStringLiteral("Clear"), this);
    auto* limits = new QPushButton(QStringLiteral("Read limits"), this);
    auto* log = new QPushButton(QStringLiteral("Log to CSV..."), this);
    auto* picture = new QPushButton(QStringLiteral("Save picture..."), this);
    for (QPushButton* button : {m_start, clear, limits, log, picture}) controls->addWidget(button);
    m_counters = new QLabel(this);
    m_counters->setWordWrap(true);
    controls->addWidget(m_counters);
    controls->addStretch();
    layout->addLayout(controls);

    m_charts = new QWidget(this);
    new QVBoxLayout(m_charts);
    layout->addWidget(m_charts, 1);

    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &CMonitorWnd::PollNow);
    connect(m_start, &QPushButton::clicked, this, [this] { m_running ? OnPause() : OnStart(); });
    connect(clear, &QPushButton::clicked, this, &CMonitorWnd::OnClear);
    connect(limits, &QPushButton::clicked, this, &CMonitorWnd::ReadLimits);
    connect(m_interval, &QDoubleSpinBox::valueChanged, this, [this](double seconds) {
        m_monitor.SetInterval(std::chrono::milliseconds(static_cast<long long>(seconds * 1000 + 0.5)));
    });
    connect(log, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Log to CSV"),
                                                          QStringLiteral("monitor.csv"),
                                                          QStringLiteral("CSV files (*.csv);;All files (*)"));
        QString error;
        if (!path.isEmpty() && !LogTo(path, &error)) QMessageBox::warning(this, windowTitle(), error);
    });
    connect(picture, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save picture"),
                                                          QStringLiteral("monitor.png"),
                                                          QStringLiteral("PNG images (*.png)"));
        if (!path.isEmpty() && !SavePicture(path)) {
            QMessageBox::warning(this, windowTitle(), QStringLiteral("The picture could not be saved to %1").arg(path));
        }
    });
    resize(980, 640);
}

CMonitorWnd::~CMonitorWnd() = default;

void CMonitorWnd::showEvent(QShowEvent* event) {
    // The readings the device has answered so far, as long as nothing runs.
    if (!m_running) {
        for (const ReadingInfo& info : AllReadings()) {
            m_boxes[static_cast<std::size_t>(info.reading)]->setChecked(m_session.HasAnswered(info.reading));
        }
    }
    QWidget::showEvent(event);
}

CMonitorChart* CMonitorWnd::Chart(Reading reading) const {
    for (CMonitorChart* chart : m_chartList) {
        if (chart->property("reading").toInt() == static_cast<int>(reading)) return chart;
    }
    return nullptr;
}

void CMonitorWnd::RebuildCharts() {
    for (CMonitorChart* chart : m_chartList) delete chart;
    m_chartList.clear();
    const std::vector<Reading>& polled = m_monitor.Readings();
    const auto polls = [&](Reading r) { return std::find(polled.begin(), polled.end(), r) != polled.end(); };
    for (const ChartKind& kind : kQuantityCharts) {
        if (!polls(kind.reading)) continue;
        auto* chart = new CMonitorChart(QString::fromUtf8(kind.title), {kind.reading}, false, m_charts);
        chart->setProperty("reading", static_cast<int>(kind.reading));
        m_charts->layout()->addWidget(chart);
        m_chartList.push_back(chart);
    }
    std::vector<Reading> states;
    for (const Reading r : {Reading::WaterLeak, Reading::PowerFailure}) {
        if (polls(r)) states.push_back(r);
    }
    if (!states.empty()) {
        auto* chart = new CMonitorChart(QStringLiteral("Water leak / power failure (shaded: warning)"), states, true,
                                        m_charts);
        chart->setProperty("reading", static_cast<int>(states.front()));
        m_charts->layout()->addWidget(chart);
        m_chartList.push_back(chart);
    }
}

void CMonitorWnd::ReadLimits() {
    for (const LimitParameters& limits : kLimits) {
        CMonitorChart* chart = Chart(limits.reading);
        if (chart == nullptr) continue;
        ChartLimits read;
        const auto take = [&](Parameter p) -> std::optional<double> {
            const OpResult<std::uint16_t> word = m_session.ReadParameter(p);
            if (!word.Ok()) return std::nullopt;
            return ParameterNumber(InfoOf(p).form, word.value);
        };
        read.upper = take(limits.upper);
        read.lower = take(limits.lower);
        chart->SetLimits(read);
    }
}

void CMonitorWnd::OnStart() {
    std::vector<Reading> chosen;
    for (const ReadingInfo& info : AllReadings()) {
        if (m_boxes[static_cast<std::size_t>(info.reading)]->isChecked()) chosen.push_back(info.reading);
    }
    if (chosen.empty()) {
        m_counters->setText(QStringLiteral("Tick the readings to poll."));
        return;
    }
    if (chosen != m_monitor.Readings()) {
        m_monitor.SetReadings(chosen);
        m_monitor.Clear();
        RebuildCharts();
    }
    ReadLimits();
    m_running = true;
    m_start->setText(QStringLiteral("Pause"));
    for (QCheckBox* box : m_boxes) box->setEnabled(false);
    m_monitor.Start(Clock::now());
    Schedule();
}

void CMonitorWnd::OnPause() {
    m_running = false;
    m_timer->stop();
    m_start->setText(QStringLiteral("Start"));
    for (QCheckBox* box : m_boxes) box->setEnabled(true);
}

void CMonitorWnd::OnClear() {
    m_monitor.Clear();
    for (CMonitorChart* chart : m_chartList) chart->Refresh(m_monitor, 0);
    ShowCounters();
}

void CMonitorWnd::Schedule() {
    if (!m_running) return;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(m_monitor.NextPollDue() - Clock::now());
    m_timer->start(static_cast<int>(std::max<long long>(wait.count(), 0)));
}

void CMonitorWnd::PollNow() {
    if (!m_running) return;
    // An operation of the windows is waiting for its reply: the bus is
    // theirs until it returns.
    if (CInputHold::IsHolding()) {
        m_timer->start(kRetryMs);
        return;
    }
    const PollRow row = m_monitor.Poll(Clock::now());
    ShowPoll(row);
    Schedule();
}

void CMonitorWnd::ShowPoll(const PollRow& row) {
    std::vector<std::string> fields = {IsoTimeNow()};
    std::uint32_t nowMs = 0;
    for (const auto& [reading, sample] : row.samples) {
        fields.push_back(SampleText(reading, sample));
        m_values[static_cast<std::size_t>(reading)]->setText(Qs(SampleText(reading, sample)));
        nowMs = std::max(nowMs, sample.timeMs);
    }
    if (m_log && !row.samples.empty() && !m_log->Append(fields)) {
        m_counters->setText(Qs(m_log->Error()));
        m_log.reset();
    }
    for (CMonitorChart* chart : m_chartList) chart->Refresh(m_monitor, nowMs);
    ShowCounters();
}

void CMonitorWnd::ShowCounters() {
    QString text = QStringLiteral("Polls: %1").arg(m_monitor.Polls());
    for (std::size_t o = 0; o < static_cast<std::size_t>(SampleOutcome::kCount); ++o) {
        const auto outcome = static_cast<SampleOutcome>(o);
        text += QStringLiteral("\n%1: %2").arg(SampleOutcomeText(outcome)).arg(m_monitor.Count(outcome));
    }
    if (const auto median = m_monitor.LatencyMedian()) {
        text += QStringLiteral("\nLatency: median %1 ms, 99th percentile %2 ms").arg(*median).arg(*m_monitor.LatencyP99());
    }
    if (m_session.InConfiguration()) text += QStringLiteral("\nPaused: the receiver is in configuration mode");
    m_counters->setText(text);
}

bool CMonitorWnd::LogTo(const QString& path, QString* error) {
    std::vector<std::string> header = {"time"};
    for (const ReadingInfo& info : AllReadings()) {
        if (m_boxes[static_cast<std::size_t>(info.reading)]->isChecked()) header.emplace_back(info.name);
    }
    m_log.emplace(path.toStdString(), header);
    if (m_log->Valid()) return true;
    if (error) *error = Qs(m_log->Error());
    m_log.reset();
    return false;
}

bool CMonitorWnd::SavePicture(const QString& path) { return m_charts->grab().save(path, "PNG"); }
