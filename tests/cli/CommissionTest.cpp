// sentrabus-cli commission end to end: the program works through a box of
// three units of the sentrabus-sim program, which a technician pulls and
// replaces one after the other (the simulator's signals). The first unit
// falls silent half-way through its profile.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "CliProgram.h"
#include "support/SimProgram.h"
#include "support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;

constexpr int kSimPort = 20;

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(HostPath(path), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The searches the simulator has heard begin: each starts with the FD query at 2400 bit/s.
std::size_t SearchesHeard(const std::string& trace) {
    std::size_t searches = 0;
    for (const std::string& line : Lines(trace)) searches += line.starts_with("rx 2400 FD FD FD 00 00 ") ? 1 : 0;
    return searches;
}

TEST(Commission, ABoxOfThreeUnitsEachWithItsAddressAndARowAndOneThatFellSilent) {
    const std::string trace = FreshTestFile("commission-trace.txt");
    const std::string profile = FreshTestFile("commission-profile.json");
    const std::string record = FreshTestFile("commission-record.csv");
    std::ofstream(HostPath(profile)) << R"({"format": "sentrabus-profile", "version": 1, "kind": "th",
        "parameters": {"temperature-upper": 45, "humidity-hysteresis": 2.5, "output-delay": 10}})";
    // The first unit answers the search, the kind check, one read and one write, then nothing.
    CSimProgram device(kSimPort, {"--device", "th", "--address", "5", "--baud", "4800", "--fault", "none",
                                  "--fault-count", "4", "--fault", "silent", "--trace-file", trace});
    ASSERT_TRUE(device.Valid()) << "no simulator: CTest sets SENTRABUS_SIM to the sentrabus-sim program";

    CliRun run;
    std::jthread technician([&] {
        run = RunCli({"--port", "COM" + std::to_string(kSimPort), "commission", HostPath(profile), "--record",
                      HostPath(record), "--first-address", "12", "--baud", "9600", "--count", "3"});
    });
    // After each row the unit is pulled; once the program searches again, the next one goes in.
    for (std::size_t rows = 1; rows <= 2; ++rows) {
        ASSERT_TRUE(WaitUntil([&] { return Lines(record).size() > rows; }, 40s)) << "no row for unit " << rows;
        const std::size_t searches = SearchesHeard(trace);
        ASSERT_TRUE(device.Unplug());
        ASSERT_TRUE(WaitUntil([&] { return SearchesHeard(trace) > searches; }, 20s));
        ASSERT_TRUE(device.PlugInFresh());
    }
    technician.join();

    EXPECT_EQ(run.status, 1) << "stdout:\n" << run.out << "stderr:\n" << run.err;
    EXPECT_NE(run.out.find("done: unit 2, address 12 \u2014 connect the next unit"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("done: unit 3, address 13 \u2014 connect the next unit"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("unit-1: failed: temperature-upper: written, read-back failed: no reply; written: "
                           "temperature-upper\n"),
              std::string::npos)
        << run.err;
    const std::vector<std::string> rows = Lines(record);
    ASSERT_EQ(rows.size(), 4U);
    EXPECT_TRUE(rows[0].starts_with("time,port,address before,baud before,address after,baud after,temperature-upper,"
                                    "humidity-hysteresis,output-delay,temperature,"))
        << rows[0];
    EXPECT_NE(rows[1].find(",5,4800,5,4800,\"written, read-back failed: no reply\",not read: no reply,not reached,,,,,"
                           "\"failed: temperature-upper: written, read-back failed: no reply\"\r"),
              std::string::npos)
        << rows[1];
    EXPECT_NE(rows[2].find(",5,4800,12,9600,45,2.5,10,25.0,60.0,Normal,Normal,ok\r"), std::string::npos) << rows[2];
    EXPECT_NE(rows[3].find(",5,4800,13,9600,45,2.5,10,25.0,60.0,Normal,Normal,ok\r"), std::string::npos) << rows[3];
}

}  // namespace
