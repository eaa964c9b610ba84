// serve_bench: what `sentrabus-cli serve` costs the machine it runs on for
// months: its CPU, as a share of one core, while it polls 30 units once a
// second and publishes to a local Mosquitto broker, and its resident memory
// over the run (flat, or it grows).
//
//   build/default/bench/serve_bench [--seconds S] [--units N] [--interval S]
//
// The default run is 60 s; an hour is --seconds 3600. The bus is the
// simulator program (sentrabus-sim --bus), the broker a real mosquitto on a
// free port (the tests' broker), the gateway the real program.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "cli/MosquittoBroker.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// User and system CPU time of `pid` so far, in seconds.
double CpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    // Fields after the command's closing parenthesis: utime and stime are the 12th and 13th.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 1; i <= 13 && fields >> field; ++i) {
        if (i == 12) utime = std::stoull(field);
        if (i == 13) stime = std::stoull(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

long ResidentKib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    int seconds = 60;
    int units = 30;
    std::string interval = "1";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--units") == 0) units = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--interval") == 0) interval = argv[i + 1];
    }
    const CMosquittoBroker broker;
    const fs::path& dir = broker.Directory();
    bench::ChildOptions quiet;
    quiet.discardStderr = true;

    std::string bus;
    std::string list;
    for (int u = 1; u <= units; ++u) {
        bus += (u > 1 ? "," : "") + std::string("th:") + std::to_string(u);
        list += (u > 1 ? "," : "") + std::to_string(u);
    }
    const std::string link = (dir / "bus").string();
    bench::CChildProcess sim({SENTRABUS_SIM_PATH, "--bus", bus, "--baud", "9600", "--link", link}, quiet);
    for (int i = 0; i < 100 && !fs::exists(link); ++i) std::this_thread::sleep_for(50ms);
    if (!broker.Running() || !sim.Started() || !fs::exists(link)) {
        std::fprintf(stderr, "serve_bench: the broker or the simulator did not start\n");
        return 1;
    }
    bench::ChildOptions log;
    log.stdoutFile = (dir / "serve.out").string();
    log.discardStderr = true;  // its "unit 12 online" lines would mix with the table
    bench::CChildProcess serve({SENTRABUS_CLI_PATH, "--port", link, "--baud", "9600", "serve", "--units", list,
                                "--mqtt", broker.Url(), "--interval", interval,
                                "--ha-discovery"},
                               log);

    // The first seconds hold the start: connection, discovery, the first values.
    std::this_thread::sleep_for(5s);
    const pid_t pid = serve.Pid();
    const double cpuStart = CpuSeconds(pid);
    const auto start = std::chrono::steady_clock::now();
    std::printf("serve_bench: %d units every %s s, %d s measured\n", units, interval.c_str(), seconds);
    std::printf("%8s %10s %12s\n", "time s", "CPU %", "RSS KiB");
    const int step = std::max(1, std::min(60, seconds / 6));
    long firstRss = ResidentKib(pid);
    long lastRss = firstRss;
    double lastCpu = cpuStart;
    for (int elapsed = step; elapsed <= seconds; elapsed += step) {
        std::this_thread::sleep_until(start + std::chrono::seconds(elapsed));
        const double cpu = CpuSeconds(pid);
        lastRss = ResidentKib(pid);
        if (lastRss < 0) {
            std::fprintf(stderr, "serve_bench: serve ended early\n");
            return 1;
        }
        std::printf("%8d %10.3f %12ld\n", elapsed, 100.0 * (cpu - lastCpu) / step, lastRss);
        lastCpu = cpu;
    }
    const double total = 100.0 * (CpuSeconds(pid) - cpuStart) / seconds;
    std::printf("CPU over the run: %.3f %% of a core (goal under 1 %%)\n", total);
    std::printf("resident memory: %ld KiB at the start, %ld KiB at the end (%+ld KiB)\n", firstRss, lastRss,
                lastRss - firstRss);
    return 0;
}
