// The monitor's CSV log survives the program being killed: every row written
// before the kill is whole.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "CliProgram.h"
#include "support/SimProgram.h"

namespace {

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

TEST(MonitorLog, EveryRowWrittenBeforeAKillIsWhole) {
    const char* cli = std::getenv("SENTRABUS_CLI");
    ASSERT_TRUE(cli) << "CTest sets SENTRABUS_CLI";
    const std::string csv = FreshTestFile("monitor-killed.csv");
    CSimProgram device(21, {"--device", "th", "--address", "5", "--baud", "4800"});
    ASSERT_TRUE(device.Valid());

    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        ::execl(cli, cli, "--port", device.SlavePath().c_str(), "--address", "5", "monitor", "temperature",
                "humidity", "--interval", "0.2", "--csv", csv.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (Lines(csv).size() < 4 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);

    const std::vector<std::string> lines = Lines(csv);
    ASSERT_GE(lines.size(), 4U);
    EXPECT_EQ(lines[0], "time,temperature,humidity\r");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].ends_with(",25.0,60.0\r")) << "row " << i << ": " << lines[i];
        EXPECT_EQ(lines[i].size(), std::string("2026-12-08T21:30:48.120Z,25.0,60.0\r").size()) << lines[i];
    }
}

}  // namespace
