// monitor_bench: what a day of monitoring costs and how steadily it polls.
//
//   build/default/bench/monitor_bench [--polls N]
//
//  1. 24 hours at 1 Hz of eight readings (691 200 samples) held by the
//     monitor: the resident memory they add.
//  2. A full repaint of the charts over that day (four quantity charts and
//     the state bands, 980 x 640): median and worst of 20.
//  3. `sentrabus-cli monitor` at 1 Hz against a device that answers after
//     15 ms, N polls (default 30): the gaps between polls (from the time
//     stamps of its JSON lines) and the program's CPU over the run.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include <QVBoxLayout>
#include <QWidget>

#include "BenchApp.h"
#include "device/Monitor.h"
#include "serial/SerialPort.h"
#include "sim/Simulator.h"
#include "ui/monitor/MonitorChart.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return 0;
}

double Quantile(std::vector<double> values, double q) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1) + 0.5)];
}

// A day of samples: slow waves, a failed exchange now and then.
void FillADay(CMonitor& monitor) {
    constexpr std::uint32_t kSeconds = 24 * 3600;
    for (std::uint32_t t = 0; t < kSeconds; ++t) {
        for (const ReadingInfo& info : AllReadings()) {
            Sample s;
            s.timeMs = t * 1000 + static_cast<std::uint32_t>(info.reading) * 20;
            s.latencyMs = 47;
            s.outcome = t % 997 == 0 ? SampleOutcome::NoReply : SampleOutcome::Ok;
            const double wave = std::sin(t / 3600.0 + static_cast<double>(info.reading));
            s.word = static_cast<std::uint16_t>(250 + 100 * wave);
            if (info.reading == Reading::WaterLeak) s.word = t % 7200 < 300 ? 2 : 1;
            if (info.reading == Reading::PowerFailure) s.word = t % 10000 < 100 ? 1 : 0;
            monitor.Record(info.reading, s);
        }
    }
}

std::vector<double> RepaintTimes(const CMonitor& monitor) {
    QWidget window;
    window.resize(980, 640);
    auto* layout = new QVBoxLayout(&window);
    std::vector<CMonitorChart*> charts;
    for (const Reading r : {Reading::Temperature, Reading::Humidity, Reading::Light, Reading::Co2}) {
        charts.push_back(new CMonitorChart(QStringLiteral("chart"), {r}, false, &window));
        charts.back()->SetLimits({35.0, 15.0});
    }
    charts.push_back(new CMonitorChart(QStringLiteral("states"), {Reading::WaterLeak, Reading::PowerFailure}, true,
                                       &window));
    for (CMonitorChart* chart : charts) layout->addWidget(chart);
    window.show();
    QApplication::processEvents();
    const std::uint32_t day = 24 * 3600 * 1000;
    std::vector<double> times;
    for (int i = 0; i < 21; ++i) {
        const Clock::time_point start = Clock::now();
        for (CMonitorChart* chart : charts) chart->Refresh(monitor, day);
        (void)window.grab();  // every chart painted once, whole
        if (i > 0) times.push_back(Ms(Clock::now() - start).count());
    }
    return times;
}

// "2026-12-08T21:30:48.120Z" -> ms of the day.
double DayMs(const std::string& stamp) {
    int h = 0, m = 0, s = 0, ms = 0;
    std::sscanf(stamp.c_str() + 11, "%d:%d:%d.%d", &h, &m, &s, &ms);
    return ((h * 60.0 + m) * 60.0 + s) * 1000.0 + ms;
}

void PollTiming(int polls) {
    sim::CSimulator device({.kind = sim::DeviceKind::Th, .address = 5, .baud = 4800,
                            .replyLatency = std::chrono::milliseconds(15)});
    const std::string out = "/tmp/sentrabus-monitor-bench.txt";
    std::vector<std::string> args = {SENTRABUS_CLI_PATH, "--port", device.SlavePath(), "--address", "5", "--json",
                                     "monitor", "temperature", "humidity", "--interval", "1", "--count",
                                     std::to_string(polls)};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = 0;
    const Clock::time_point start = Clock::now();
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::printf("poll timing: the CLI did not start\n");
        return;
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const double wallS = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpuS = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
                        usage.ru_stime.tv_usec / 1e6;

    std::vector<double> stamps;
    std::ifstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = line.find("\"time\":\"");
        if (at != std::string::npos) stamps.push_back(DayMs(line.substr(at + 8, 24)));
    }
    std::vector<double> offBy;
    for (std::size_t i = 1; i < stamps.size(); ++i) offBy.push_back(std::fabs(stamps[i] - stamps[i - 1] - 1000.0));
    std::printf("poll timing, %zu polls at 1 Hz: gap off 1000 ms by median %.1f ms, p99 %.1f ms, worst %.1f ms "
                "(goal: p99 within 20 ms)\n",
                stamps.size(), Quantile(offBy, 0.5), Quantile(offBy, 0.99), Quantile(offBy, 1.0));
    std::printf("CPU of sentrabus-cli over the run: %.2f %% of a core (%.3f s in %.1f s, polls included; "
                "goal between polls: 1 %%)\n",
                100.0 * cpuS / wallS, cpuS, wallS);
}

}  // namespace

int main(int argc, char** argv) {
    int polls = 30;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--polls") == 0) polls = std::max(2, std::atoi(argv[i + 1]));
    }
    bench::CBenchApp app(argc, argv);
    CSerialPort port;
    std::atomic<bool> open{false};
    CDeviceSession session(port, open);
    CMonitor monitor(session);

    const long before = ResidentKb();
    FillADay(monitor);
    const long after = ResidentKb();
    std::size_t samples = 0;
    for (const ReadingInfo& info : AllReadings()) samples += monitor.Series(info.reading).size();
    std::printf("a day at 1 Hz of 8 readings: %zu samples, %.1f MB more resident (goal: 60 MB)\n", samples,
                (after - before) / 1024.0);

    const std::vector<double> repaint = RepaintTimes(monitor);
    std::printf("full repaint of the charts over the day: median %.1f ms, worst %.1f ms (goal: 16 ms)\n",
                Quantile(repaint, 0.5), Quantile(repaint, 1.0));

    PollTiming(polls);
    return 0;
}
