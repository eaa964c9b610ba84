// scan_bench: how long `sentrabus-cli scan` takes over a whole bus, 247
// addresses at 2400, 4800 and 9600 bit/s (goal 45 s or less), and at one
// speed (goal 15 s or less), against three units that answer 15 ms after a
// request, start to exit, with the default wait for a silent address. Each run
// must find the three units. --timeouts 20,30,40 measures one speed with other
// waits too, to show the margin between the wait and the units' latency.
//
//   build/default/bench/scan_bench [--timeouts MS,MS,...]
//
// The bus is the simulator in this process, on a pseudo-terminal; the CLI is
// the real program, started as a technician's shell starts it.

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "device/BusScan.h"
#include "sim/Bus.h"

namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr std::chrono::milliseconds kLatency{15};

// One scan; the seconds it took, or a negative number when it failed or missed a unit.
double Scan(const sim::CBus& bus, const std::string& speeds, long timeoutMs, std::size_t expectedUnits) {
    bench::ChildOptions options;
    options.captureStdout = true;
    options.discardStderr = true;
    std::vector<std::string> args = {SENTRABUS_CLI_PATH, "--port", bus.SlavePath(), "scan", "--speeds", speeds};
    if (timeoutMs > 0) args.insert(args.end(), {"--reply-timeout", std::to_string(timeoutMs)});
    const Clock::time_point start = Clock::now();
    bench::CChildProcess cli(args, options);
    if (!cli.Started()) return -1;
    const std::string out = cli.ReadOutput();
    const int status = cli.Wait();
    const double seconds = Seconds(Clock::now() - start).count();
    std::size_t found = 0;
    for (std::size_t at = out.find("address "); at != std::string::npos; at = out.find("address ", at + 1)) ++found;
    if (!bench::ExitedCleanly(status) || found != expectedUnits) {
        std::fprintf(stderr, "scan_bench: scan at %s found %zu units, not %zu:\n%s", speeds.c_str(), found,
                     expectedUnits, out.c_str());
        return -1;
    }
    return seconds;
}

void Print(const char* what, double seconds, double goal) {
    std::printf("%-40s %6.1f s  (goal %.0f s or less: %s)\n", what, seconds, goal, seconds <= goal ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<long> timeouts;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--timeouts") != 0) continue;
        for (const char* p = argv[i + 1]; *p != '\0';) {
            char* end = nullptr;
            timeouts.push_back(std::strtol(p, &end, 10));
            p = *end == ',' ? end + 1 : end;
            if (end == p && *p != '\0') break;
        }
    }
    sim::CBus bus({.units = {{sim::DeviceKind::Th, 12, 9600}, {sim::DeviceKind::Th, 13, 4800},
                             {sim::DeviceKind::Th, 247, 2400}},
                   .lineBaud = 9600,
                   .replyLatency = kLatency});
    std::printf("sentrabus-cli scan of addresses 1-247, units answering after %lld ms, default wait %lld ms\n",
                static_cast<long long>(kLatency.count()), static_cast<long long>(kDefaultScanReplyTimeout.count()));
    const double whole = Scan(bus, "2400,4800,9600", 0, 3);
    const double one = Scan(bus, "9600", 0, 1);
    if (whole < 0 || one < 0) return 1;
    Print("whole bus, three speeds", whole, 45);
    Print("one speed (9600 bit/s)", one, 15);
    for (const long timeout : timeouts) {
        const double seconds = Scan(bus, "9600", timeout, 1);
        if (seconds < 0) {
            std::printf("one speed, --reply-timeout %-4ld          missed the unit\n", timeout);
        } else {
            std::printf("one speed, --reply-timeout %-4ld          %6.1f s\n", timeout, seconds);
        }
    }
    return 0;
}
