// sentrabus-cli end to end: the program against the sentrabus-sim program on
// a pseudo-terminal, through this platform's real port (termios on Linux,
// Win32 under Wine). One row per behaviour: the command, what it prints, its
// exit status and the requests the device heard, as the simulator's trace
// records them (speed, then the bytes without their CRC: the simulator only
// hears frames whose CRC is good).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "CliProgram.h"
#include "serial/SerialPort.h"
#include "support/SimProgram.h"

namespace {

// COM7..COM12 belong to the serial and protocol tests that CTest runs beside
// these under Wine; COM60 leads nowhere on either platform.
constexpr int kSimPort = 20;

const std::string kTh = "--device th --address 5 --baud 4800";
const std::string kSoil = "--device soil --address 3 --baud 9600";
const std::string kLcd = "--device lcd --address 5 --baud 4800";
const std::string kLight = "--device light --address 5 --baud 4800";
const std::string kWireless = "--device wireless --address 5 --baud 4800";
const std::vector<std::string> kAt5 = {"--address", "5", "--baud", "4800"};
#ifdef _WIN32
// Wine's QueryDosDevice does not see the COM links the line server adds, though CreateFile follows them.
const std::string kSimPortLine = "COM20  {path}  ";
#else
const std::string kSimPortLine = "COM20  {path}  present\n";
#endif

struct CliCase {
    const char* behaviour;
    std::string device;              // sentrabus-sim options
    std::vector<std::string> args;   // after --port COM20 unless they name a port ("{path}": the device path)
    int status;
    // In standard output ("{path}" as above); a JSON document it must contain when it starts with {.
    std::string out;
    std::string err;                 // in standard error
    std::vector<std::string> wire;   // the requests heard, in order
    bool holdPort = false;           // another program holds the port open
};

void PrintTo(const CliCase& c, std::ostream* out) { *out << c.behaviour; }

std::vector<std::string> Join(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

const std::vector<CliCase> kCases = {
    {"ports lists where each COM entry leads", kTh, {"ports"}, 0, kSimPortLine, "", {}},
    {"search finds the FD device at the second speed", kTh, {"search"}, 0,
     "address 5, 4800 bit/s (FD frames)", "",
     {"2400 FD FD FD 00 00", "4800 FD FD FD 00 00"}},
    {"read of every reading, as JSON", kTh, Join(kAt5, {"--json", "read"}), 0,
     R"({"port": "COM20", "device": {"address": 5, "baud": 4800, "mode": "fd"}, "results": [
        {"name": "temperature", "ok": true, "value": 25.0, "text": "25.0"}, {"name": "humidity", "value": 60.0},
        {"name": "water-leak", "value": 1, "text": "Normal"}, {"name": "power-failure", "text": "Normal"},
        {"name": "current"}, {"name": "voltage"}, {"name": "light", "value": 0}, {"name": "co2"}]})", "",
     {"4800 05 03 00 00 00 02", "4800 05 03 00 00 00 02", "4800 05 03 00 02 00 01", "4800 05 03 00 03 00 01",
      "4800 05 03 00 04 00 01", "4800 05 03 00 05 00 01", "4800 05 03 00 06 00 01", "4800 05 03 00 02 00 01"}},
    {"a device path is opened as given", kTh, {"--port", "{path}", "--address", "5", "--baud", "4800", "read",
     "temperature"}, 0, "temperature: 25.0", "", {"4800 05 03 00 00 00 02"}},
    {"get in the window's words; the search is told on stderr", kTh, {"get", "temperature-lower", "remote-signal"},
     0, "temperature-lower: -10\nremote-signal: Normally Open\n", "found address 5, 4800 bit/s",
     {"2400 FD FD FD 00 00", "4800 FD FD FD 00 00", "4800 FC FC FC 04 00 00 00", "4800 FC FC FC 0C 00 00 00"}},
    {"set writes each value and reads it back", kTh,
     Join(kAt5, {"--json", "set", "temperature-adjust=-1.5", "temperature-upper=40"}), 0,
     R"({"results": [{"name": "temperature-adjust", "ok": true, "value": -1.5, "text": "-1.5"},
                     {"name": "temperature-upper", "ok": true, "value": 40, "text": "40"}]})", "",
     {"4800 FC FC FC 01 01 80 0F", "4800 FC FC FC 01 00 00 00", "4800 FC FC FC 03 01 00 28",
      "4800 FC FC FC 03 00 00 00"}},
    {"set on the light sensor, which echoes its writes", kLight, Join(kAt5, {"set", "light-upper=300"}), 0,
     "light-upper: 300", "", {"4800 FC FC FC 0D 01 01 2C", "4800 FC FC FC 0D 00 00 00"}},
    {"a write that does not take stops the writes after it", kTh,
     Join(kAt5, {"--json", "set", "light-upper=5", "temperature-upper=30"}), 1,
     R"({"results": [{"name": "light-upper", "ok": false, "error": "write failed: no reply"},
                     {"name": "temperature-upper", "ok": false}]})", "light-upper: write failed: no reply",
     {"4800 FC FC FC 0D 01 00 05"}},
    {"a value the form cannot hold is refused, nothing sent", kTh, Join(kAt5, {"set", "temperature-adjust=1.25"}), 2,
     "", "temperature-adjust takes a number from -3276.7 to 3276.7 with at most one decimal (°C)", {}},
    {"a refusal with --json is an error document", kTh, Join(kAt5, {"--json", "set", "humidity-hysteresis=-1"}), 2,
     R"({"error": "humidity-hysteresis takes a number from 0 to 3276.7 with at most one decimal (%RH), not \"-1\""})",
     "", {}},
    {"an address out of range is refused, nothing sent", kTh, {"--address", "256", "read"}, 2, "",
     "the address takes a whole number from 1 to 255", {}},
    {"a baud rate the devices do not take is refused", kTh, Join(kAt5, {"baud", "19200"}), 2, "",
     "the baud rate takes 2400, 4800 or 9600", {}},
    {"a receiver address out of range is refused", kWireless, Join(kAt5, {"wireless", "configure", "201"}), 2, "",
     "the receiver address takes a whole number from 1 to 200", {}},
    {"no arguments print the usage", kTh, {}, 2, "Usage: sentrabus-cli", "", {}},
    {"address write in FD mode, read back", kTh, Join(kAt5, {"--json", "address", "7"}), 0,
     R"({"device": {"address": 7}, "results": [{"name": "address", "ok": true, "value": 7}]})", "",
     {"4800 FD FD FD 00 07", "4800 FD FD FD 00 00"}},
    {"baud write in FD mode: the port follows, the device is read back at the new speed", kTh,
     Join(kAt5, {"baud", "9600"}), 0, "baud: 9600", "", {"4800 FD FD FD 03 00", "9600 FD FD FD 00 00"}},
    {"register mode: the device at 255 tells its address, readings from 255", kSoil,
     {"--register-mode", "--json", "read", "temperature"}, 0,
     R"({"device": {"address": 3, "baud": 9600, "mode": "register", "parity": "none"},
         "results": [{"name": "temperature", "value": 21.5}]})", "",
     {"9600 FF 03 02 00 00 05", "9600 FF 03 00 00 00 02"}},
    {"register-mode address write, read back", kSoil, {"--register-mode", "--address", "3", "address", "7"}, 0,
     "address: 7", "", {"9600 FF 10 02 00 00 05 0A 00 07 00 03 00 00 00 00 00 00", "9600 FF 03 02 00 00 05"}},
    {"register-mode address write answered by an exception is a failure", kSoil + " --fault exception --fault-count 1",
     {"--register-mode", "--address", "3", "address", "7"}, 1, "", "address: write failed: bad reply: exception 1",
     {"9600 FF 10 02 00 00 05 0A 00 07 00 03 00 00 00 00 00 00"}},
    {"register-mode baud write answered by an exception is a failure", kSoil + " --fault exception --fault-count 1",
     {"--register-mode", "--address", "3", "baud", "4800"}, 1, "", "baud: write failed: bad reply: exception 1",
     {"9600 FF 10 02 00 00 05 0A 00 03 00 02 00 00 00 00 00 00"}},
    {"lcd work mode", kLcd, Join(kAt5, {"lcd", "mode", "3"}), 0, "lcd-mode: 3", "", {"4800 05 06 00 2D 00 03"}},
    {"lcd relay switched, then queried", kLcd, Join(kAt5, {"lcd", "relay", "2", "on"}), 0, "relay-2: on (closed)", "",
     {"4800 05 06 00 30 00 01", "4800 05 03 00 30 00 01"}},
    {"wireless channel inside configuration mode", kWireless, Join(kAt5, {"wireless", "channel", "12"}), 0,
     "channel: 12", "",
     {"4800 FB FB FB 01 01 00 00 00 00", "4800 FB FB FB 07 01 0C", "4800 FB FB FB 07 00 00",
      "4800 FB FB FB 02 01 00 00 00 00"}},
    {"a configure the receiver's table does not show fails, and the mode is still left",
     kWireless + " --ignore-configure", Join(kAt5, {"wireless", "configure", "3"}), 1, "",
     "receiver-3: the receiver answered, but its table does not list the address",
     {"4800 FB FB FB 01 01 00 00 00 00", "4800 FB FB FB 03 01 02 02", "4800 FB FB FB 02 01 00 00 00 00"}},
    {"wireless table from the enter reply", kWireless, Join(kAt5, {"--json", "wireless", "table"}), 0,
     R"({"results": [{"name": "sleep-time", "value": 60}, {"name": "configured", "value": [], "text": "none"}]})", "",
     {"4800 FB FB FB 01 01 00 00 00 00", "4800 FB FB FB 02 01 00 00 00 00"}},
    {"a device that stops answering: one line, status 1", kTh + " --fault silent",
     Join(kAt5, {"read", "temperature"}), 1, "", "temperature: no reply\n", {"4800 05 03 00 00 00 02"}},
    {"a search that finds nothing", kTh + " --fault silent", {"search"}, 1, "", "no device answered the search",
     {"2400 FD FD FD 00 00", "4800 FD FD FD 00 00", "9600 FD FD FD 00 00", "9600 FF 03 02 00 00 05"}},
    {"a missing port: status 3 and what to do", kTh, {"--port", "COM60", "read"}, 3, "", "no such device", {}},
    {"a busy port: status 3", kTh, Join(kAt5, {"read"}), 3, "", "busy", {}, true},
    {"monitor polls the readings named, one line each, the counters at the end", kTh,
     Join(kAt5, {"monitor", "temperature", "--interval", "0.2", "--count", "2"}), 0,
     "polls 2, ok 2, no reply 0", "",
     {"4800 05 03 00 00 00 02", "4800 05 03 00 00 00 02"}},
    {"monitor: a device that stops answering is counted, not read as zero", kTh + " --fault silent",
     Join(kAt5, {"--json", "monitor", "temperature", "--interval", "0.2", "--count", "2"}), 1,
     R"("name":"temperature","ok":false,"error":"no reply")",
     "not every reading answered", {"4800 05 03 00 00 00 02", "4800 05 03 00 00 00 02"}},
    {"monitor: an interval out of range is refused, nothing sent", kTh,
     Join(kAt5, {"monitor", "--interval", "0.1"}), 2, "", "--interval takes 0.2 to 60 seconds", {}},
    {"monitor: a log that cannot be written is said before polling", kTh,
     Join(kAt5, {"monitor", "--csv", "/nonexistent-sentrabus-dir/m.csv"}), 2, "", "--csv: cannot write", {}},
    {"--trace prints the frame log's lines", kTh, Join(kAt5, {"--trace", "get", "temperature-lower"}), 0,
     "temperature-lower: -10",
     "tx\tFC FC FC 04 00 00 00 62 17\tFC read temperature lower limit (code 4)\t\n", {"4800 FC FC FC 04 00 00 00"}},
};

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// "rx 4800 FD FD FD 00 00 E9 88 | FD query" -> "4800 FD FD FD 00 00"
std::vector<std::string> HeardRequests(const std::string& traceFile) {
    std::ifstream trace(HostPath(traceFile));
    std::vector<std::string> heard;
    for (std::string line; std::getline(trace, line);) {
        if (line.rfind("rx ", 0) != 0) continue;
        std::vector<std::string> words = Words(line.substr(3, line.find(" |") - 3));
        std::string request;
        for (std::size_t i = 0; i + 2 < words.size(); ++i) request += (i ? " " : "") + words[i];
        heard.push_back(request);
    }
    return heard;
}

// Every member of `expected` is in `actual` with a matching value; arrays
// match element by element and have the same length.
bool Contains(const nlohmann::json& actual, const nlohmann::json& expected) {
    if (expected.is_object()) {
        if (!actual.is_object()) return false;
        for (const auto& [key, value] : expected.items()) {
            if (!actual.contains(key) || !Contains(actual[key], value)) return false;
        }
        return true;
    }
    if (expected.is_array()) {
        if (!actual.is_array() || actual.size() != expected.size()) return false;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            if (!Contains(actual[i], expected[i])) return false;
        }
        return true;
    }
    return actual == expected;
}

class CliTable : public ::testing::TestWithParam<CliCase> {};

TEST_P(CliTable, PrintsExitsAndSends) {
    const CliCase& c = GetParam();
#ifdef _WIN32
    if (c.holdPort) GTEST_SKIP() << "Wine does not emulate the exclusive open of a COM port";
#endif
    const char* directory = std::getenv("SENTRABUS_CLI_TEST_DIR");
    ASSERT_NE(directory, nullptr) << "CTest sets SENTRABUS_CLI_TEST_DIR";
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '-');
    const std::string traceFile = std::string(directory) + "/sim-trace-" + name + ".txt";
    std::filesystem::create_directories(HostPath(directory));
    std::filesystem::remove(HostPath(traceFile));
    std::vector<std::string> options = Words(c.device);
    options.insert(options.end(), {"--trace-file", traceFile});
    CSimProgram device(kSimPort, options);
    ASSERT_TRUE(device.Valid()) << "no simulator: CTest sets SENTRABUS_SIM to the sentrabus-sim program";

    std::vector<std::string> args;
    const bool portGiven = std::find(c.args.begin(), c.args.end(), "--port") != c.args.end();
    if (!portGiven && !c.args.empty()) args = {"--port", "COM" + std::to_string(kSimPort)};
#ifdef _WIN32
    const std::string path = "\\\\.\\COM" + std::to_string(kSimPort);  // the COM port's device path
#else
    const std::string path = device.SlavePath();
#endif
    for (const std::string& arg : c.args) args.push_back(arg == "{path}" ? path : arg);
    CSerialPort holder;
    if (c.holdPort) {
        holder.SetParams(kSimPort, 8, CSerialPort::kNoParity, CSerialPort::kOneStopBit, 4800);
        ASSERT_TRUE(holder.Open());
    }
    const CliRun run = RunCli(args);

    SCOPED_TRACE(c.behaviour);
    EXPECT_EQ(run.status, c.status) << "stdout:\n" << run.out << "stderr:\n" << run.err;
    if (!c.out.empty() && c.out.front() == '{') {
        const nlohmann::json actual = nlohmann::json::parse(run.out, nullptr, false);
        EXPECT_TRUE(Contains(actual, nlohmann::json::parse(c.out))) << run.out;
    } else {
        std::string out = c.out;
        if (const std::size_t at = out.find("{path}"); at != std::string::npos) out.replace(at, 6, path);
        EXPECT_NE(run.out.find(out), std::string::npos) << run.out;
    }
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_EQ(HeardRequests(traceFile), c.wire);
}

std::string CaseName(const ::testing::TestParamInfo<CliCase>& info) { return "Row" + std::to_string(info.index); }

INSTANTIATE_TEST_SUITE_P(Commands, CliTable, ::testing::ValuesIn(kCases), CaseName);

}  // namespace
