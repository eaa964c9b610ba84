// units_monitor_bench: how long one poll of `sentrabus-cli monitor --units`
// takes over 30 units at 9600 bit/s that answer 15 ms after a request, and
// over 30 addresses where nobody answers (each costs its wait). A poll longer
// than --interval runs straight after the one before, so the time of N polls
// less the time of one, over N - 1, is a poll without the program's start.
//
//   build/default/bench/units_monitor_bench
//
// The bus is the simulator in this process, on a pseudo-terminal; the CLI is
// the real program, started as a technician's shell starts it.

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "sim/Bus.h"

namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr std::chrono::milliseconds kLatency{15};
constexpr int kPolls = 6;

// "1,2,...,30" from `first`.
std::string Units(int first, int count) {
    std::string units;
    for (int a = first; a < first + count; ++a) units += (units.empty() ? "" : ",") + std::to_string(a);
    return units;
}

// The seconds `polls` polls took, start to exit; negative when the run failed.
double Run(const sim::CBus& bus, const std::string& units, int polls) {
    bench::ChildOptions options;
    options.discardStderr = true;
    const Clock::time_point start = Clock::now();
    bench::CChildProcess cli({SENTRABUS_CLI_PATH, "--port", bus.SlavePath(), "--baud", "9600", "monitor", "--units",
                              units, "--interval", "0.2", "--count", std::to_string(polls)},
                             options);
    if (!cli.Started()) return -1;
    const int status = cli.Wait();
    // Status 1 is a unit that missed a poll, as every silent one does.
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) return -1;
    return Seconds(Clock::now() - start).count();
}

}  // namespace

int main() {
    std::vector<sim::BusUnit> units;
    for (std::uint8_t a = 1; a <= 30; ++a) units.push_back({sim::DeviceKind::Th, a, 9600});
    sim::CBus bus({.units = units, .lineBaud = 9600, .replyLatency = kLatency});
    std::printf("sentrabus-cli monitor --units, temperature and humidity, %d polls less one, at 9600 bit/s\n", kPolls);
    const struct {
        const char* what;
        int first;
    } rows[] = {{"30 units answering after 15 ms", 1}, {"30 silent addresses", 31}};
    for (const auto& row : rows) {
        const double one = Run(bus, Units(row.first, 30), 1);
        const double many = Run(bus, Units(row.first, 30), kPolls);
        if (one < 0 || many < 0) return 1;
        std::printf("%-34s %6.2f s a poll\n", row.what, (many - one) / (kPolls - 1));
    }
    return 0;
}
