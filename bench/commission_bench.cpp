// commission_bench: how long `sentrabus-cli commission` takes per unit for a
// temperature/humidity profile of ten settings, all different from the
// unit's, plus its address and baud rate, against a device that answers each
// request 15 ms after it: start to exit of one unit (--count 1), as a ratio to
// the floor of the exchanges it takes x 15 ms.
//
//   build/default/bench/commission_bench [--runs N]
//
// The unit answers at 2400 bit/s, the first speed the search tries, so that
// the search is one exchange and no wait for silence; each run gets a fresh
// unit with factory settings. The CLI is the real program.

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "sim/Simulator.h"

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr std::chrono::milliseconds kLatency{15};

// Every one of the ten differs from what a fresh unit holds.
constexpr const char* kProfile = R"({"format": "sentrabus-profile", "version": 1, "kind": "th", "parameters": {
    "humidity-upper": 85, "humidity-lower": 25, "temperature-upper": 40, "temperature-lower": -5,
    "humidity-hysteresis": 3.0, "temperature-hysteresis": 1.5, "humidity-adjust": -1.5, "temperature-adjust": 0.5,
    "output-delay": 10, "remote-signal": "closed"}})";

struct Sample {
    double wallMs = 0;
    std::size_t answered = 0;  // exchanges the unit answered
    std::size_t unanswered = 0;
};

bool RunOnce(sim::CSimulator& device, const std::string& profile, const std::string& record, Sample& sample) {
    device.PlugInFresh();
    device.ClearReceived();
    std::filesystem::remove(record);
    const Clock::time_point start = Clock::now();
    bench::CChildProcess cli({SENTRABUS_CLI_PATH, "--port", device.SlavePath(), "commission", profile, "--record",
                              record, "--first-address", "12", "--baud", "9600", "--count", "1"});
    if (!cli.Started()) return false;
    const int status = cli.Wait();
    sample.wallMs = Ms(Clock::now() - start).count();
    for (const sim::ReceivedFrame& frame : device.Received()) ++(frame.answered ? sample.answered : sample.unanswered);
    return bench::ExitedCleanly(status) && device.Address() == 12 && device.Baud() == 9600;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 10;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
    }
    char directory[] = "/tmp/commission-bench-XXXXXX";
    if (::mkdtemp(directory) == nullptr) return 1;
    const std::string profile = std::string(directory) + "/th.json";
    const std::string record = std::string(directory) + "/record.csv";
    std::ofstream(profile) << kProfile;

    sim::SimConfig config;
    config.kind = sim::DeviceKind::Th;
    config.address = 5;
    config.baud = 2400;
    config.replyLatency = kLatency;
    sim::CSimulator device(config);

    std::vector<double> wall;
    Sample sample;
    for (int run = 0; run < runs; ++run) {
        sample = {};
        if (!RunOnce(device, profile, record, sample)) {
            std::fprintf(stderr, "commission_bench: a run of %s failed\n", SENTRABUS_CLI_PATH);
            std::filesystem::remove_all(directory);
            return 1;
        }
        wall.push_back(sample.wallMs);
    }
    std::filesystem::remove_all(directory);
    const double floorMs = static_cast<double>(sample.answered) * static_cast<double>(kLatency.count());
    std::printf("sentrabus-cli commission, one unit: th profile of 10 settings + address + baud, device latency %lld ms\n",
                static_cast<long long>(kLatency.count()));
    std::printf("exchanges per unit %zu (unanswered %zu), floor %.0f ms\n", sample.answered, sample.unanswered, floorMs);
    std::printf("start to exit %8.1f ms  %5.2f x floor  (min %.1f, max %.1f, median of %d runs)\n", Median(wall),
                Median(wall) / floorMs, *std::min_element(wall.begin(), wall.end()),
                *std::max_element(wall.begin(), wall.end()), runs);
    return 0;
}
