// monitor --units against the bus simulator: three units at the monitor's
// speed and one at another, one of the three unplugged while it runs.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/SimProgram.h"
#include "support/SimTrace.h"

namespace {

using namespace std::chrono_literals;

std::string Slurp(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Lines(const std::string& path) {
    std::istringstream text(Slurp(path));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

TEST(BusMonitor, AsksEachUnitInTurnAndAnUnpluggedUnitsRowsSayNoReplyNeverZero) {
    const char* cli = std::getenv("SENTRABUS_CLI");
    const char* directory = std::getenv("SENTRABUS_CLI_TEST_DIR");
    ASSERT_TRUE(cli && directory) << "CTest sets SENTRABUS_CLI and SENTRABUS_CLI_TEST_DIR";
    const std::string base = std::string(directory) + "/bus-monitor";
    std::filesystem::create_directories(directory);
    for (const char* ending : {".ctl", ".trace", ".csv", ".out", ".err"}) std::filesystem::remove(base + ending);
    std::ofstream(base + ".ctl").close();
    CSimProgram bus(0, {"--bus", "th:12,th:13,th:14,light:20@4800", "--baud", "9600", "--control", base + ".ctl",
                        "--trace-file", base + ".trace"});
    ASSERT_TRUE(bus.Valid());

    constexpr int kPolls = 10;
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(::open((base + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        ::dup2(::open((base + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        ::execl(cli, cli, "--port", bus.SlavePath().c_str(), "--baud", "9600", "monitor", "--units", "12,13,14,20",
                "temperature", "humidity", "--interval", "0.2", "--count", std::to_string(kPolls).c_str(), "--csv",
                (base + ".csv").c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Unit 13 is taken off the bus after three polls.
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (Lines(base + ".csv").size() < 1 + 3 * 4 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
    }
    std::ofstream(base + ".ctl", std::ios::app) << "unplug 13\n";
    int status = -1;
    while (::waitpid(child, &status, WNOHANG) == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
    }
    if (std::chrono::steady_clock::now() >= deadline) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        FAIL() << "the monitor did not end";
    }
    EXPECT_EQ(WEXITSTATUS(status), 1) << Slurp(base + ".err");

    // The log: a row per unit per poll in the units' order; a unit that does
    // not answer has the outcome in its cells.
    const std::vector<std::string> lines = Lines(base + ".csv");
    ASSERT_EQ(lines.size(), 1U + kPolls * 4) << Slurp(base + ".csv");
    EXPECT_EQ(lines[0], "time,address,temperature,humidity\r");
    std::map<std::string, std::vector<std::string>> cells;  // address -> its rows without the time
    const std::string order[] = {"12", "13", "14", "20"};
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string row = lines[i].substr(lines[i].find(',') + 1);
        const std::string address = row.substr(0, row.find(','));
        EXPECT_EQ(address, order[(i - 1) % 4]) << "row " << i;
        cells[address].push_back(row.substr(address.size() + 1));
    }
    for (const char* unit : {"12", "14"}) EXPECT_EQ(cells[unit], std::vector<std::string>(kPolls, "25.0,60.0\r"));
    EXPECT_EQ(cells["20"], std::vector<std::string>(kPolls, "no reply,no reply\r"));
    // 13 answers until it is unplugged, and from then on says so.
    const std::vector<std::string>& unplugged = cells["13"];
    std::size_t answered = 0;
    while (answered < unplugged.size() && unplugged[answered] == "25.0,60.0\r") ++answered;
    EXPECT_GE(answered, 3U);
    EXPECT_LT(answered, unplugged.size());
    for (std::size_t i = answered; i < unplugged.size(); ++i) EXPECT_EQ(unplugged[i], "no reply,no reply\r") << i;

    // The counters per unit, a unit that missed a poll as a failure.
    const std::string out = Slurp(base + ".out"), err = Slurp(base + ".err");
    const std::string polls = "polls " + std::to_string(kPolls);
    EXPECT_NE(out.find("unit 12: " + polls + ", good " + std::to_string(kPolls) + ", no reply 0, bad 0\n"),
              std::string::npos) << out;
    EXPECT_NE(err.find("unit 20: not every poll answered: " + polls + ", good 0, no reply " + std::to_string(kPolls)),
              std::string::npos) << err;
    EXPECT_NE(err.find("unit 13: not every poll answered: " + polls + ", good " + std::to_string(answered)),
              std::string::npos) << err;

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
