// What the serial link costs the technician: how long a read and a write take
// from the request to the result on screen (a read to the first paint of its
// field, a write to the first expose of its message box's window, beside a
// bare Qt program's box as the floor) and where that time goes, how long
// a search that finds nothing takes, how soon the window paints, how much of a
// core the program burns while the line is quiet, and how much memory it holds.
//
//   link_bench [--runs N] [--exchanges N]
//
// The exchanges run in this process on the real main window, the real port on
// a pseudo-terminal and the simulator. Idle CPU is measured from outside on the
// program as it starts (a child process of this one), and so are the start-up
// and memory figures. Under xvfb-run the windows use the X server.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include "ChildProcess.h"
#include "app/ConfigAppQt.h"
#include "ui/main/ConfigDlg.h"
#include "serial/SerialPort.h"
#include "sim/Simulator.h"
#include "widgets/qt/AppFonts.h"
#include "widgets/qt/MessageBoxQt.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kIdSearch = 1001;
constexpr int kIdReadTemperature = 1005;
constexpr int kIdTemperatureField = 1014;
constexpr int kIdOutputDelayField = 1063;
constexpr int kIdWriteOutputDelay = 1065;
// What a real transmitter takes between the request and its answer.
constexpr auto kDeviceLatency = 15ms;
constexpr double kSilenceMs = 30.0;  // the quiet time that ends a reply
constexpr double kSearchDesignMs = 2000.0;
// Longer than the caret's 10 s of blinking after start: a program left alone.
constexpr auto kIdleSettle = 12s;
constexpr auto kIdleWindow = 10s;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::int64_t Ticks(Clock::time_point t) { return t.time_since_epoch().count(); }

// --- Statistics and the table ------------------------------------------------------

struct Stat {
    double median = NAN;
    double p99 = NAN;
};

Stat Summarise(std::vector<double> samples) {
    if (samples.empty()) return {};
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    const double median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    const std::size_t p99 = static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(n))) - 1;
    return {median, samples[std::min(p99, n - 1)]};
}

void PrintHeader(const char* title) {
    std::printf("\n%s\n", title);
    std::printf("%-52s %10s %10s %10s %7s  %s\n", "figure", "median", "p99", "floor", "ratio", "goal");
}

void PrintRow(const char* figure, const Stat& s, double floor, const char* unit, const char* goal = "") {
    const std::string ratio = floor > 0 ? std::to_string(s.median / floor).substr(0, 5) : "-";
    char floorText[32] = "-";
    if (!std::isnan(floor)) std::snprintf(floorText, sizeof(floorText), "%.*f", unit[0] == '%' ? 2 : 1, floor);
    const int digits = unit[0] == '%' ? 3 : 1;
    std::printf("%-52s %8.*f%-2s %8.*f%-2s %10s %7s  %s\n", figure, digits, s.median, unit, digits, s.p99, unit,
                floorText, ratio.c_str(), goal);
    std::fflush(stdout);
}

// --- One exchange, timed at every hand-over -------------------------------------------

// Where the time of one request goes.
// `fetched`: the exchange has ended with its reply judged (the verdict);
// `shown`: a read's field painted, a write's box window exposed.
struct Round {
    Clock::time_point click, request, lastByte, cut, fetched, shown;
};

// The simulator's trace: when the device heard the request and when its last
// reply byte went onto the line.
class CDeviceClock {
public:
    void OnTrace(const std::string& line) {
        const auto now = Clock::now();
        std::lock_guard lock(m_lock);
        if (line.rfind("rx", 0) == 0) m_request = now;
        if (line.rfind("tx", 0) == 0) m_lastByte = now;
    }
    void Reset() {
        std::lock_guard lock(m_lock);
        m_request = m_lastByte = {};
    }
    std::pair<Clock::time_point, Clock::time_point> Times() {
        std::lock_guard lock(m_lock);
        return {m_request, m_lastByte};
    }

private:
    std::mutex m_lock;
    Clock::time_point m_request, m_lastByte;
};

// Hands the window's waiter on, noting when the exchange was woken by a cut
// reply (where the link wakes it) and when its last fetch returned.
template <class W>
bool ForwardWaitForReply(W& waiter, std::chrono::milliseconds interval) {
    if constexpr (requires { waiter.WaitForReply(interval); }) {
        return waiter.WaitForReply(interval);
    } else {
        waiter.Wait(interval);
        return false;
    }
}
template <class W>
void ForwardWake(W& waiter) {
    if constexpr (requires { waiter.Wake(); }) waiter.Wake();
}

class CTimingWaiter final : public IExchangeWaiter {
public:
    explicit CTimingWaiter(IExchangeWaiter& inner) : m_inner(inner) {}
    void BeginExchange() { m_inner.BeginExchange(); }
    void Wait(std::chrono::milliseconds interval) { m_inner.Wait(interval); }
    bool WaitForReply(std::chrono::milliseconds interval) { return ForwardWaitForReply(m_inner, interval); }
    void Wake() {
        std::int64_t none = 0;
        m_woken.compare_exchange_strong(none, Ticks(Clock::now()));
        ForwardWake(m_inner);
    }
    void EndExchange() {
        m_fetched = Clock::now();
        m_inner.EndExchange();
    }

    void Reset() { m_woken = 0; }
    std::optional<Clock::time_point> Woken() const {
        const std::int64_t t = m_woken.load();
        if (t == 0) return std::nullopt;
        return Clock::time_point(Clock::duration(t));
    }
    Clock::time_point Fetched() const { return m_fetched; }

private:
    IExchangeWaiter& m_inner;
    std::atomic<std::int64_t> m_woken{0};
    Clock::time_point m_fetched;
};

// Watches the reply queue from outside, for a link that does not wake its
// exchange: the first moment a cut reply waits there.
class CCutSpy {
public:
    explicit CCutSpy(const CByteQueue& queue)
        : m_thread([this, &queue](std::stop_token stop) {
              while (!stop.stop_requested()) {
                  if (m_armed && m_cut == 0 && queue.Count() > 0) m_cut = Ticks(Clock::now());
                  std::this_thread::sleep_for(200us);
              }
          }) {}
    void Arm() {
        m_cut = 0;
        m_armed = true;
    }
    std::optional<Clock::time_point> Cut() {
        m_armed = false;
        if (m_cut == 0) return std::nullopt;
        return Clock::time_point(Clock::duration(m_cut.load()));
    }

private:
    std::atomic<bool> m_armed{false};
    std::atomic<std::int64_t> m_cut{0};
    std::jthread m_thread;
};

// Paint events of one control.
class CPaintWatch : public QObject {
public:
    explicit CPaintWatch(QWidget* widget) { widget->installEventFilter(this); }
    void Arm() { m_paints.clear(); }
    // The first paint at or after `after`, waiting for it when needed.
    std::optional<Clock::time_point> PaintedAfter(Clock::time_point after) {
        const auto deadline = Clock::now() + 2s;
        for (;;) {
            for (const auto painted : m_paints)
                if (painted >= after) return painted;
            if (Clock::now() >= deadline) return std::nullopt;
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) m_paints.push_back(Clock::now());
        return QObject::eventFilter(watched, event);
    }

private:
    std::vector<Clock::time_point> m_paints;
};

// The first message box shown after Arm(): when its window was first exposed
// and when it first painted. The box is closed once it has painted, as the
// technician's Enter would.
class CBoxWatch : public QObject {
public:
    CBoxWatch() { QCoreApplication::instance()->installEventFilter(this); }
    void Arm() {
        m_box = nullptr;
        m_text.clear();
        m_exposed.reset();
        m_painted.reset();
    }
    std::optional<Clock::time_point> Exposed() const { return m_exposed; }
    std::optional<Clock::time_point> Painted() const { return m_painted; }
    const QString& Text() const { return m_text; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && !m_box) {
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                m_box = box;
                m_text = box->text();
            }
        } else if (m_box && event->type() == QEvent::Expose && watched == m_box->windowHandle()) {
            if (!m_exposed && m_box->windowHandle()->isExposed()) m_exposed = Clock::now();
        } else if (m_box && event->type() == QEvent::Paint && watched == m_box && !m_painted) {
            m_painted = Clock::now();
            QMetaObject::invokeMethod(m_box, &QDialog::accept, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QMessageBox> m_box;
    QString m_text;
    std::optional<Clock::time_point> m_exposed, m_painted;
};

struct ExchangeRounds {
    std::vector<Round> reads, writes, failedWrites;
};

void Fail(const char* what) {
    std::fprintf(stderr, "link_bench: %s\n", what);
    std::exit(1);
}

void Settle(std::chrono::milliseconds time) {
    const auto end = Clock::now() + time;
    while (Clock::now() < end) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

ExchangeRounds RunExchanges(int count) {
    CDeviceClock deviceClock;
    sim::CSimulator device({.kind = sim::DeviceKind::Th,
                            .address = 1,
                            .baud = 4800,
                            .replyLatency = kDeviceLatency,
                            .trace = [&](const std::string& line) { deviceClock.OnTrace(line); }});
    qputenv("SENTRABUS_COM1", QByteArray::fromStdString(device.SlavePath()));
    CConfigDlg dlg;
    dlg.Create();
    dlg.show();
    QString boxText;
    SetMessageBoxHook([&](const MessageBoxCall& call) {
        boxText = QString::fromStdString(call.text);
        return 1;
    });
    dlg.ClickDlgItem(kIdSearch);
    if (!boxText.startsWith("Device Address:1")) Fail("the search did not find the device");

    // From here on the boxes are real.
    SetMessageBoxHook({});
    CBoxWatch box;

    CTimingWaiter timing(*dlg.Link().Waiter());
    dlg.Link().SetWaiter(&timing);
    CCutSpy spy(dlg.Link().Receive().m_replyQueue);
    CPaintWatch paint(dlg.GetDlgItem(kIdTemperatureField));
    ExchangeRounds rounds;

    // A failed write shows the question icon, as the bare Qt box does; the
    // simulator spoils the CRC of its one reply.
    enum class Kind { Read, Write, FailedWrite };
    auto one = [&](Kind kind) {
        const bool read = kind == Kind::Read;
        Settle(60ms);  // a quiet line, and the busy flag's timer has ticked
        dlg.Busy().Clear();
        deviceClock.Reset();
        timing.Reset();
        box.Arm();
        if (!read) dlg.SetDlgItemText(kIdOutputDelayField, "5");
        if (kind == Kind::FailedWrite) device.InjectFault(sim::Fault::BadCrc());
        Settle(20ms);
        paint.Arm();
        spy.Arm();
        Round round;
        round.click = Clock::now();
        dlg.ClickDlgItem(read ? kIdReadTemperature : kIdWriteOutputDelay);
        const auto spied = spy.Cut();
        round.fetched = timing.Fetched();
        if (read) {
            if (dlg.GetDlgItemText(kIdTemperatureField) != "25.0") Fail("a read failed");
            const auto painted = paint.PaintedAfter(round.fetched);
            if (!painted) Fail("the read value was never painted");
            round.shown = *painted;
        } else {
            const char* expected = kind == Kind::Write ? "Setting successfully" : "Setting failed";
            if (box.Text() != expected) Fail("a write did not show its box");
            if (!box.Exposed()) Fail("the box's window was never exposed");
            round.shown = *box.Exposed();
        }
        std::tie(round.request, round.lastByte) = deviceClock.Times();
        const auto woken = timing.Woken();
        round.cut = woken && spied ? std::min(*woken, *spied) : woken ? *woken : spied ? *spied : round.fetched;
        (read ? rounds.reads : kind == Kind::Write ? rounds.writes : rounds.failedWrites).push_back(round);
    };
    for (int i = 0; i < count; ++i) {
        one(Kind::Read);
        one(Kind::Write);
        one(Kind::FailedWrite);
    }
    dlg.Link().SetWaiter(nullptr);
    // Closed before the device goes, which would otherwise be logged as pulled.
    g_serialPort.Close();
    g_portOpen = false;
    return rounds;
}

std::vector<double> RunSearches(int rounds) {
    sim::CSimulator device({.kind = sim::DeviceKind::Th, .address = 1, .baud = 9600});
    device.InjectFault(sim::Fault::Silent(), sim::CSimulator::kEveryRequest);
    qputenv("SENTRABUS_COM1", QByteArray::fromStdString(device.SlavePath()));
    CConfigDlg dlg;
    dlg.Create();
    QString text;
    SetMessageBoxHook([&](const MessageBoxCall& call) {
        text = QString::fromStdString(call.text);
        return 1;
    });
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        dlg.ClickDlgItem(kIdSearch);
        samples.push_back(Ms(Clock::now() - start));
        if (text != "Search end  Unrecognized baud rate") Fail("the silent device was found");
        Settle(50ms);
    }
    SetMessageBoxHook({});
    return samples;
}

// --- Child processes ----------------------------------------------------------------

std::string SelfPath() { return std::filesystem::read_symlink("/proc/self/exe").string(); }

// This program in a child mode; its stderr (Qt's start-up remarks, the
// serial log) goes nowhere.
bench::ChildOptions ChildMode(bool captureStdout) {
    bench::ChildOptions options;
    options.captureStdout = captureStdout;
    options.discardStderr = true;
    return options;
}

// The numbers the child prints, one a line.
std::vector<double> RunChild(const std::vector<std::string>& args) {
    bench::CChildProcess child(args, ChildMode(true));
    if (!child.Started()) Fail("cannot start a child");
    const std::string text = child.ReadOutput();
    child.Wait();
    std::vector<double> values;
    std::istringstream lines(text);
    for (double value; lines >> value;) values.push_back(value);
    return values;
}

// Nanoseconds on a CPU, all threads of `pid` together.
std::int64_t CpuNs(pid_t pid) {
    std::int64_t total = 0;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream stat(task.path() / "schedstat");
        std::int64_t ns = 0;
        if (stat >> ns) total += ns;
    }
    return total;
}

enum class IdleCase { PortOpen, NoPort, DevicePulled };

// Share of one core that Sentrabus uses over the idle window, in per cent. The
// child is the program as it starts, except that its message boxes (the open
// failure's) are answered at once, as the technician does.
double IdleCpu(IdleCase which) {
    auto device = std::make_unique<sim::CSimulator>(sim::SimConfig{.kind = sim::DeviceKind::Th, .baud = 4800});
    const std::string path = which == IdleCase::NoPort ? "/dev/sentrabus-bench-no-port" : device->SlavePath();
    ::setenv("SENTRABUS_COM1", path.c_str(), 1);
    bench::CChildProcess child({SelfPath(), "--child", "idle"}, ChildMode(false));
    if (!child.Started()) Fail("cannot start a child");
    const pid_t pid = child.Pid();
    std::this_thread::sleep_for(kIdleSettle);
    if (which == IdleCase::DevicePulled) {
        device.reset();  // the far end of the line goes away: the port hangs up
        std::this_thread::sleep_for(500ms);
    }
    const auto start = Clock::now();
    const std::int64_t before = CpuNs(pid);
    std::this_thread::sleep_for(kIdleWindow);
    const std::int64_t used = CpuNs(pid) - before;
    const double window = Ms(Clock::now() - start) * 1e6;
    child.Stop();
    return 100.0 * static_cast<double>(used) / window;
}

// --- What the children measure --------------------------------------------------------

// Ends the process with the time from `startTicks` to the first paint of a
// widget on screen, on stdout.
class CFirstPaint : public QObject {
public:
    explicit CFirstPaint(std::int64_t startTicks) : m_start(Clock::duration(startTicks)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A widget painted on screen: renders into pixmaps while the window is
        // being built do not count.
        if (event->type() == QEvent::Paint && watched->isWidgetType() && static_cast<QWidget*>(watched)->isVisible()) {
            std::printf("%.3f\n", Ms(Clock::now() - m_start));
            std::fflush(stdout);
            ::_exit(0);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Clock::time_point m_start;
};

// The high-water mark of this process's resident memory. (getrusage's figure
// would include the parent's: Linux carries it across exec.)
double PeakRssMb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    return NAN;
}

// The floor of a box: a bare Qt program shows a parented, window-modal
// QMessageBox with the question icon over a shown dialog, `count` times, and
// prints for each the time from asking for it to the first expose of its
// window.
int BareBoxes(int argc, char** argv, int count) {
    QApplication app(argc, argv);
    QDialog owner;
    QLabel label("Sentrabus", &owner);
    owner.resize(600, 800);
    owner.show();
    Settle(300ms);
    CBoxWatch watch;
    for (int i = 0; i < count; ++i) {
        Settle(60ms);
        watch.Arm();
        const auto asked = Clock::now();
        QMessageBox box(QMessageBox::Question, "Warning", "Setting failed", QMessageBox::Ok, &owner);
        box.setWindowModality(Qt::WindowModal);
        box.exec();
        if (watch.Exposed()) std::printf("%.3f\n", Ms(*watch.Exposed() - asked));
    }
    return 0;
}

int RunChildMode(const std::string& mode, int argc, char** argv) {
    if (mode == "idle") {
        CConfigApp app(argc, argv);
        SetMessageBoxHook([](const MessageBoxCall&) { return 1; });
        app.InitInstance();
        return 0;
    }
    if (mode == "first-paint" || mode == "first-paint-floor") {
        const std::int64_t start = std::strtoll(argv[3], nullptr, 10);
        sim::CSimulator device({.kind = sim::DeviceKind::Th, .baud = 4800});
        ::setenv("SENTRABUS_COM1", device.SlavePath().c_str(), 1);
        if (mode == "first-paint") {
            CConfigApp app(argc, argv);
            CFirstPaint watch(start);
            app.installEventFilter(&watch);
            app.InitInstance();
        } else {
            QApplication app(argc, argv);
            InstallDialogFontSubstitutions();
            CFirstPaint watch(start);
            app.installEventFilter(&watch);
            QDialog dialog;
            QLabel label("Sentrabus", &dialog);
            dialog.exec();
        }
        return 1;
    }
    if (mode == "box-floor") return BareBoxes(argc, argv, std::atoi(argv[3]));
    QApplication app(argc, argv);
    InstallDialogFontSubstitutions();
    if (mode == "rss-floor") {
        QDialog dialog;
        QLabel label("Sentrabus", &dialog);
        dialog.show();
        Settle(300ms);
        std::printf("%.2f\n", PeakRssMb());
        return 0;
    }
    if (mode == "rss") {
        sim::CSimulator device({.kind = sim::DeviceKind::Th, .address = 1, .baud = 4800});
        ::setenv("SENTRABUS_COM1", device.SlavePath().c_str(), 1);
        CConfigDlg dlg;
        dlg.Create();
        dlg.show();
        SetMessageBoxHook([](const MessageBoxCall&) { return 1; });
        dlg.ClickDlgItem(kIdSearch);
        for (int i = 0; i < 20; ++i) {
            Settle(20ms);
            dlg.Busy().Clear();
            dlg.ClickDlgItem(kIdReadTemperature);
        }
        if (dlg.GetDlgItemText(kIdTemperatureField) != "25.0") Fail("the reads failed");
        Settle(100ms);
        std::printf("%.2f\n", PeakRssMb());
        SetMessageBoxHook({});
        return 0;
    }
    return 2;
}

std::vector<double> ChildSamples(const std::string& mode, int runs) {
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i) {
        std::vector<std::string> args{SelfPath(), "--child", mode};
        if (mode.starts_with("first-paint")) args.push_back(std::to_string(Ticks(Clock::now())));
        for (const double value : RunChild(args)) samples.push_back(value);
    }
    return samples;
}

// --- The tables -------------------------------------------------------------------------

template <class F>
std::vector<double> Each(const std::vector<Round>& rounds, F f) {
    std::vector<double> values;
    for (const Round& r : rounds) values.push_back(f(r));
    return values;
}

void PrintBreakdown(const char* what, const std::vector<Round>& rounds) {
    std::printf("  %s (medians, ms):", what);
    const auto part = [&](const char* name, Clock::time_point Round::*from, Clock::time_point Round::*to) {
        std::printf("  %s %.1f", name, Summarise(Each(rounds, [&](const Round& r) { return Ms(r.*to - r.*from); })).median);
    };
    part("click→request at device", &Round::click, &Round::request);
    part("| →last reply byte", &Round::request, &Round::lastByte);
    part("| →cut", &Round::lastByte, &Round::cut);
    part("| →fetched", &Round::cut, &Round::fetched);
    part("| →on screen", &Round::fetched, &Round::shown);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty() && qgetenv("DISPLAY").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "sentrabus.serial.debug=false");
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) return RunChildMode(argv[2], argc, argv);

    int runs = 5;
    int exchanges = 40;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--exchanges") == 0) exchanges = std::max(1, std::atoi(argv[i + 1]));
    }

    // The program's own application object, as the technician runs it.
    CConfigApp app(argc, argv);
    std::printf("link_bench: %s, device answers after %lld ms, %d exchanges, %d runs\n",
                qgetenv("QT_QPA_PLATFORM").isEmpty() ? "X display" : qgetenv("QT_QPA_PLATFORM").constData(),
                static_cast<long long>(kDeviceLatency.count()), exchanges, runs);

    const ExchangeRounds rounds = RunExchanges(exchanges);
    const std::vector<double> searches = RunSearches(runs);
    g_serialPort.Close();
    g_portOpen = false;

    PrintHeader("Exchanges, searches, start-up and memory");
    const auto device = [](const std::vector<Round>& r) {
        return Summarise(Each(r, [](const Round& x) { return Ms(x.lastByte - x.request); })).median;
    };
    PrintRow("read round trip (click → value painted)",
             Summarise(Each(rounds.reads, [](const Round& r) { return Ms(r.shown - r.click); })),
             device(rounds.reads) + kSilenceMs, "ms");
    PrintRow("read: last reply byte → value painted",
             Summarise(Each(rounds.reads, [](const Round& r) { return Ms(r.shown - r.lastByte); })), kSilenceMs,
             "ms", "<= 33 ms");
    PrintRow("write round trip (request at device → box exposed)",
             Summarise(Each(rounds.writes, [](const Round& r) { return Ms(r.shown - r.request); })),
             device(rounds.writes) + kSilenceMs, "ms", "<= 80 ms");
    const auto boxFloor = Summarise(RunChild({SelfPath(), "--child", "box-floor", std::to_string(exchanges)})).median;
    const auto verdictToBox = [](const Round& r) { return Ms(r.shown - r.fetched); };
    PrintRow("write: verdict → box exposed (floor: bare Qt box)", Summarise(Each(rounds.writes, verdictToBox)),
             boxFloor, "ms", "<= 15 ms");
    PrintRow("failed write: verdict → question box exposed", Summarise(Each(rounds.failedWrites, verdictToBox)),
             boxFloor, "ms", "<= 15 ms");
    PrintRow("no-device search (click → box)", Summarise(searches), kSearchDesignMs, "ms");
    const auto paintFloor = Summarise(ChildSamples("first-paint-floor", runs)).median;
    PrintRow("start to first paint (floor: a bare Qt dialog)", Summarise(ChildSamples("first-paint", runs)),
             paintFloor, "ms");
    const auto rssFloor = Summarise(ChildSamples("rss-floor", 3)).median;
    PrintRow("peak RSS after a search and 20 reads (floor: bare)", Summarise(ChildSamples("rss", 3)), rssFloor,
             "MB");

    std::printf("\nRound trip, request written → last reply byte at the port → reply cut → fetched and judged → on "
                "screen (a read's field painted, a write's box exposed)\n");
    PrintBreakdown("read ", rounds.reads);
    PrintBreakdown("write", rounds.writes);

    PrintHeader("Idle CPU of Sentrabus over 10 s (share of one core)");
    const struct {
        const char* figure;
        IdleCase which;
        const char* goal;
    } idle[] = {
        {"idle CPU, port open on a quiet line", IdleCase::PortOpen, "<= 0.2 %"},
        {"idle CPU, no port open", IdleCase::NoPort, "<= 0.05 %"},
        {"idle CPU, device pulled while open", IdleCase::DevicePulled, ""},
    };
    for (const auto& c : idle) {
        std::vector<double> samples;
        for (int i = 0; i < runs; ++i) samples.push_back(IdleCpu(c.which));
        PrintRow(c.figure, Summarise(samples), 0.0, "%", c.goal);
    }
    return 0;
}
