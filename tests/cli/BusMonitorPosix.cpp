// monitor --units against the bus simulator: three units at the monitor's
// speed and one at another, one of the three unplugged while it runs.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "CliProgram.h"
#include "support/SimTrace.h"

namespace {

using namespace std::chrono_literals;

std::string Slurp(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(BusMonitor, AsksEachUnitInTurnAndAnUnpluggedUnitsRowsSayNoReplyNeverZero) {
    const std::string base = FreshTestFile("bus-monitor");
    for (const char* ending : {".trace", ".csv"}) FreshTestFile("bus-monitor" + std::string(ending));
    std::ofstream(base + ".ctl").close();
    CSimProgram bus(0, {"--bus", "th:12,th:13,th:14,light:20@4800", "--baud", "9600", "--control", base + ".ctl",
                        "--trace-file", base + ".trace"});
    ASSERT_TRUE(bus.Valid());

    constexpr int kPolls = 10;
    CliRun run;
    std::thread monitor([&] {
        run = RunCli({"--port", bus.SlavePath(), "--baud", "9600", "monitor", "--units", "12,13,14,20", "temperature",
                      "humidity", "--interval", "0.2", "--count", std::to_string(kPolls), "--csv", base + ".csv"});
    });
    // Unit 13 is taken off the bus once three polls are logged.
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    const auto lines = [&] {
        const std::string text = Slurp(base + ".csv");
        return std::count(text.begin(), text.end(), '\n');
    };
    while (lines() < 1 + 3 * 4 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
    }
    std::ofstream(base + ".ctl", std::ios::app) << "unplug 13\n";
    monitor.join();
    EXPECT_EQ(run.status, 1) << run.err;

    // The log: a row per unit per poll in the units' order; a unit that does
    // not answer has the outcome in its cells.
    std::istringstream csv(Slurp(base + ".csv"));
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line, "time,address,temperature,humidity\r");
    std::map<std::string, std::vector<std::string>> cells;  // address -> its rows without the time
    const std::string order[] = {"12", "13", "14", "20"};
    for (std::size_t row = 0; std::getline(csv, line); ++row) {
        const std::string fields = line.substr(line.find(',') + 1);
        const std::string address = fields.substr(0, fields.find(','));
        EXPECT_EQ(address, order[row % 4]) << "row " << row;
        cells[address].push_back(fields.substr(address.size() + 1));
    }
    for (const char* unit : {"12", "14"}) EXPECT_EQ(cells[unit], std::vector<std::string>(kPolls, "25.0,60.0\r"));
    EXPECT_EQ(cells["20"], std::vector<std::string>(kPolls, "no reply,no reply\r"));
    // 13 answers until it is unplugged, and from then on says so.
    const std::vector<std::string>& unplugged = cells["13"];
    ASSERT_EQ(unplugged.size(), std::size_t{kPolls});
    std::size_t answered = 0;
    while (answered < unplugged.size() && unplugged[answered] == "25.0,60.0\r") ++answered;
    EXPECT_GE(answered, 3U);
    EXPECT_LT(answered, unplugged.size());
    for (std::size_t i = answered; i < unplugged.size(); ++i) EXPECT_EQ(unplugged[i], "no reply,no reply\r") << i;

    // The counters per unit, a unit that missed a poll as a failure.
    const std::string polls = "polls " + std::to_string(kPolls) + ", good ";
    EXPECT_NE(run.out.find("unit 12: " + polls + std::to_string(kPolls) + ", no reply 0, bad 0\n"), std::string::npos);
    EXPECT_NE(run.err.find("unit 20: not every poll answered: " + polls + "0, no reply 10"), std::string::npos);
    EXPECT_NE(run.err.find("unit 13: not every poll answered: " + polls + std::to_string(answered)), std::string::npos);

    // On the wire: one addressed read of registers 0-1 per unit per poll at
    // 9600 bit/s, nothing unaddressed, and no request while a reply was due.
    std::vector<std::string> expected;
    for (int poll = 0; poll < kPolls; ++poll) {
        for (const char* unit : {"0C", "0D", "0E", "14"}) expected.push_back(std::string("9600 ") + unit + " 03 00 00 00 02");
    }
    EXPECT_EQ(HeardRequests(base + ".trace"), expected);
    EXPECT_EQ(Slurp(base + ".trace").find("overlaps a reply"), std::string::npos);
}

}  // namespace
