// cli_bench: how long `sentrabus-cli read` of all eight readings takes against
// a device that answers each request 15 ms after it, start to exit, as a
// ratio to the floor of 8 x 15 ms; the same with exchanges that end after the
// line's 30 ms of silence (as in the windows) instead of on the complete
// reply; and the time from starting the program to the device hearing its
// first request.
//
//   build/default/bench/cli_bench [--runs N]
//
// The device is the simulator in this process, on a pseudo-terminal; the CLI
// is the real program, started as a technician's shell starts it.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "sim/Simulator.h"

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr std::chrono::milliseconds kLatency{15};
constexpr int kReadings = 8;

struct Sample {
    double wallMs = 0;
    double firstRequestMs = 0;
};

// One run of the CLI; false when it failed or the device heard too little.
bool RunOnce(sim::CSimulator& device, bool silenceCut, Sample& sample) {
    device.ClearReceived();
    const std::string port = device.SlavePath();
    bench::ChildOptions options;
    options.environment["SENTRABUS_SILENCE_CUT"] =
        silenceCut ? std::optional<std::string>("1") : std::optional<std::string>();
    const Clock::time_point start = Clock::now();
    bench::CChildProcess cli({SENTRABUS_CLI_PATH, "--port", port, "--address", "5", "--baud", "4800", "read"}, options);
    if (!cli.Started()) return false;
    const bool heard = device.WaitForFrames(1, std::chrono::seconds(5));
    const Clock::time_point first = Clock::now();
    const int status = cli.Wait();
    const Clock::time_point end = Clock::now();
    sample.wallMs = Ms(end - start).count();
    sample.firstRequestMs = Ms(first - start).count();
    return heard && bench::ExitedCleanly(status) &&
           device.Received().size() == static_cast<std::size_t>(kReadings);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool Measure(sim::CSimulator& device, bool silenceCut, int runs) {
    std::vector<double> wall;
    std::vector<double> first;
    for (int run = 0; run < runs; ++run) {
        Sample sample;
        if (!RunOnce(device, silenceCut, sample)) {
            std::fprintf(stderr, "cli_bench: a run of %s failed\n", SENTRABUS_CLI_PATH);
            return false;
        }
        wall.push_back(sample.wallMs);
        first.push_back(sample.firstRequestMs);
    }
    const double floorMs = kReadings * static_cast<double>(kLatency.count());
    std::printf("%-34s %8.1f ms  %5.2f x floor  (min %.1f, max %.1f)   first request %5.1f ms (max %.1f)\n",
                silenceCut ? "read, 30 ms silence cut" : "read, cut on the complete reply", Median(wall),
                Median(wall) / floorMs, *std::min_element(wall.begin(), wall.end()),
                *std::max_element(wall.begin(), wall.end()), Median(first),
                *std::max_element(first.begin(), first.end()));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 20;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
    }
    sim::SimConfig config;
    config.kind = sim::DeviceKind::Th;
    config.address = 5;
    config.baud = 4800;
    config.replyLatency = kLatency;
    sim::CSimulator device(config);

    std::printf("sentrabus-cli read of %d readings, device latency %lld ms (floor %lld ms), median of %d runs\n",
                kReadings, static_cast<long long>(kLatency.count()),
                static_cast<long long>(kReadings * kLatency.count()), runs);
    if (!Measure(device, false, runs) || !Measure(device, true, runs)) return 1;
    return 0;
}
