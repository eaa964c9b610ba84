// monitor_bench on Linux: the resident memory from /proc, and the poll timing
// of sentrabus-cli against the in-process simulator.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "MonitorBench.h"
#include "sim/Simulator.h"

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

// "2026-12-08T21:30:48.120Z" -> ms of the day.
double DayMs(const std::string& stamp) {
    int h = 0, m = 0, s = 0, ms = 0;
    std::sscanf(stamp.c_str() + 11, "%d:%d:%d.%d", &h, &m, &s, &ms);
    return ((h * 60.0 + m) * 60.0 + s) * 1000.0 + ms;
}

}  // namespace

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return 0;
}

void PollTiming(int polls) {
    sim::CSimulator device({.kind = sim::DeviceKind::Th, .address = 5, .baud = 4800,
                            .replyLatency = std::chrono::milliseconds(15)});
    const std::string out = "/tmp/sentrabus-monitor-bench.txt";
    std::vector<std::string> args = {SENTRABUS_CLI_PATH, "--port", device.SlavePath(), "--address", "5", "--json",
                                     "monitor", "temperature", "humidity", "--interval", "1", "--count",
                                     std::to_string(polls)};
    const Clock::time_point start = Clock::now();
    ChildOptions options;
    options.stdoutFile = out;
    CChildProcess cli(args, options);
    if (!cli.Started()) {
        std::printf("poll timing: the CLI did not start\n");
        return;
    }
    rusage usage{};
    cli.Wait(&usage);
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

}  // namespace bench
