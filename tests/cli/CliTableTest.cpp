// sentrabus-cli end to end: the program against the sentrabus-sim program on
// a pseudo-terminal, through this platform's real port (termios on Linux,
// Win32 under Wine). One row per behaviour: the command, what it prints, its
// exit status and the requests the device heard, as the simulator's trace
// records them (speed, then the bytes without their CRC: the simulator only
// hears frames whose CRC is good).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "CliProgram.h"
#include "device/FilePath.h"
#include "serial/SerialPort.h"
#include "support/SimProgram.h"
#include "support/SimTrace.h"

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
    std::string out{};
    std::string err{};               // in standard error
    std::vector<std::string> wire{}; // the requests heard, in order
    bool holdPort = false;           // another program holds the port open
    std::string file{};              // written to {file} before the run (a profile, a table)
    std::string fileFolder{};        // {file}'s folder under the test directory
    std::string fileAfter{};         // in {file} after the run
    std::vector<std::string> then{}; // a second command on the same device ("{file}" as above)
    int thenStatus = 0;
    std::string thenOut{};           // in its standard output
};

void PrintTo(const CliCase& c, std::ostream* out) { *out << c.behaviour; }

std::vector<std::string> Join(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// FC requests at 4800 bit/s as heard: "03" a read of code 3, "03=002D" a write of 0x002D.
std::vector<std::string> Fc(const std::string& requests) {
    std::vector<std::string> wire;
    for (const std::string& r : Words(requests)) {
        const bool write = r.size() == 7;
        wire.push_back("4800 FC FC FC " + r.substr(0, 2) + (write ? " 01 " + r.substr(3, 2) + " " + r.substr(5, 2) : " 00 00 00"));
    }
    return wire;
}

// Every setting of the simulated transmitter as it comes, but temperature-upper 45 and output-delay 9.
const std::string kThProfile = R"({"format": "sentrabus-profile", "version": 1, "kind": "th", "parameters": {
    "humidity-upper": 80, "humidity-lower": 20, "temperature-upper": 45, "temperature-lower": -10,
    "humidity-hysteresis": 2.0, "temperature-hysteresis": 1.0, "humidity-adjust": 0.0, "temperature-adjust": 0.0,
    "output-delay": 9, "remote-signal": "open"}})";
// The transmitter's settings in the order a profile reads them, and its kind's probe (code 3) before them.
const std::string kThReads = "05 06 03 04 08 07 02 01 0B 0C";

std::string ThProfileWith(const std::string& parameters) {
    return R"({"format": "sentrabus-profile", "version": 1, "kind": "th", "parameters": {)" + parameters + "}}";
}

// A receiver's table as `wireless table --csv` prints it.
std::string TableCsv(const std::vector<int>& configured) {
    std::string csv = "address,configured\n";
    for (int address = 1; address <= 200; ++address) {
        const bool yes = std::find(configured.begin(), configured.end(), address) != configured.end();
        csv += std::to_string(address) + (yes ? ",yes\n" : ",no\n");
    }
    return csv;
}

const std::string kEnter = "4800 FB FB FB 01 01 00 00 00 00";
const std::string kLeave = "4800 FB FB FB 02 01 00 00 00 00";
const std::string kChannelRead = "4800 FB FB FB 07 00 00";
const std::string kSleepRead = "4800 FB FB FB 04 00 00 00 00";
const std::string kWirelessProfile =
    R"({"format": "sentrabus-profile", "version": 1, "kind": "wireless",
        "parameters": {"channel": 0, "sleep-time": 60, "addresses": []}})";

// Three units at two speeds on one bus.
// Unit 21, a light sensor, keeps no temperature or humidity: it answers the
// scan's read with an exception, and is there all the same.
const std::string kBus = "--bus th:12,th:13@4800,th:20,light:21 --baud 9600";

// The scan's reads of 0x0000-0x0001 to `first`..`last` at each speed, as heard.
std::vector<std::string> ScanWire(const std::vector<int>& speeds, int first, int last) {
    std::vector<std::string> wire;
    for (const int speed : speeds) {
        for (int address = first; address <= last; ++address) {
            char request[32];
            std::snprintf(request, sizeof request, "%d %02X 03 00 00 00 02", speed, address);
            wire.push_back(request);
        }
    }
    return wire;
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
    {.behaviour = "monitor: a log of other readings is refused before the port opens", .device = kTh,
     .args = Join(kAt5, {"monitor", "temperature", "--count", "1", "--csv", "{file}"}), .status = 2,
     .err = ": holds a log of other readings; choose another file or the same readings",
     .file = "time,humidity\r\n2026-12-08T21:30:48.120Z,60.0\r\n",
     .fileAfter = "time,humidity\r\n2026-12-08T21:30:48.120Z,60.0\r\n"},
    {.behaviour = "monitor: a row torn off by a power loss is ended, and the new rows start on lines of their own",
     .device = kTh, .args = Join(kAt5, {"monitor", "temperature", "--count", "1", "--csv", "{file}"}), .status = 0,
     .err = ": its last line was cut short (1 unterminated line); it is ended",
     .wire = {"4800 05 03 00 00 00 02"}, .file = "time,temperature\r\n2026-12-08T21:30:48.120Z,2",
     .fileAfter = "T21:30:48.120Z,2\r\n20"},
    {.behaviour = "monitor --units refuses a device monitor's log, nothing sent", .device = kTh,
     .args = {"monitor", "--units", "5", "temperature", "--csv", "{file}"}, .status = 2,
     .err = ": holds a log of other readings", .file = "time,temperature\r\n"},
    {"monitor --units takes no --address: each unit has its own", kTh,
     Join(kAt5, {"monitor", "--units", "5"}), 2, "", "it takes no --address or --register-mode", {}},
    {"--trace prints the frame log's lines", kTh, Join(kAt5, {"--trace", "get", "temperature-lower"}), 0,
     "temperature-lower: -10",
     "tx\tFC FC FC 04 00 00 00 62 17\tFC read temperature lower limit (code 4)\t\n", {"4800 FC FC FC 04 00 00 00"}},

    // --- profiles -------------------------------------------------------------------
    {.behaviour = "profile save finds the kind and writes every setting to the file", .device = kTh,
     .args = Join(kAt5, {"profile", "save", "{file}"}), .status = 0, .out = "temperature-upper: 35\n",
     .err = "the device answers as a th", .wire = Fc("03 " + kThReads),
     .fileAfter = R"("kind": "th",)" "\n" R"(  "parameters": {)" "\n" R"(    "humidity-upper": 80,)"},
    {.behaviour = "a profile in a folder of any name is written, then read", .device = kTh,
     .args = Join(kAt5, {"profile", "save", "{file}"}), .status = 0, .out = "temperature-upper: 35\n",
     .wire = Fc("03 " + kThReads + " 03 " + kThReads), .fileFolder = "Zoë/配置", .fileAfter = R"("kind": "th",)",
     .then = Join(kAt5, {"profile", "diff", "{file}"}), .thenOut = "the device matches"},
    {.behaviour = "profile apply writes only what differs and reads it back; the diff is then empty", .device = kTh,
     .args = Join(kAt5, {"--json", "profile", "apply", "{file}"}), .status = 0,
     .out = R"({"results": [{"name": "humidity-upper", "ok": true, "result": "unchanged", "written": false}, {}, 
        {"name": "temperature-upper", "ok": true, "value": 45, "result": "verified", "written": true},
        {}, {}, {}, {}, {}, {"name": "output-delay", "result": "verified"}, {"name": "remote-signal", "value": 0}]})",
     .wire = [] {
         std::vector<std::string> wire = Fc("03 05 06 03 03=002D 04 08 07 02 01 0B 0B=0009 0C 03 0B");
         const std::vector<std::string> diff = Fc("03 " + kThReads);
         wire.insert(wire.end(), diff.begin(), diff.end());
         return wire;
     }(),
     .file = kThProfile, .then = Join(kAt5, {"profile", "diff", "{file}"}), .thenOut = "the device matches"},
    {.behaviour = "a dry run only reads", .device = kTh, .args = Join(kAt5, {"profile", "apply", "--dry-run", "{file}"}),
     .status = 0, .out = "temperature-upper: 45 (would write)\n", .wire = Fc("03 " + kThReads), .file = kThProfile},
    {.behaviour = "a word no number says (a hysteresis with bit 15 set) is reported by its value, as get does",
     .device = kTh, .args = Join(kAt5, {"--json", "profile", "apply", "{file}"}), .status = 0,
     .out = R"({"results": [{"name": "humidity-hysteresis", "ok": true, "value": -0.5, "result": "verified"}]})",
     .wire = Fc("03 08 08=8005 08 03 08"),
     .file = R"({"format": "sentrabus-profile", "version": 1, "kind": "th",
                 "parameters": {"humidity-hysteresis": "0x8005"}})",
     .then = Join(kAt5, {"--json", "profile", "diff", "{file}"}),
     .thenOut = R"j("value":-0.5,"text":"-0.5 (as the profile)","profile":-0.5)j"},
    {.behaviour = "a device that falls silent half-way: what was written is said, and the same command finishes the job",
     .device = kTh + " --fault none --fault-count 5 --fault silent --fault-count 2",
     .args = Join(kAt5, {"profile", "apply", "{file}"}), .status = 1, .out = "humidity-upper: 80 (unchanged)",
     .err = "temperature-upper: written, read-back failed: no reply\nsentrabus-cli: temperature-lower: not read: no "
            "reply\n",
     .wire = [] {
         std::vector<std::string> wire = Fc("03 05 06 03 03=002D 04 03");
         const std::vector<std::string> again = Fc("03 05 06 03 04 08 07 02 01 0B 0B=0009 0C 0B");
         wire.insert(wire.end(), again.begin(), again.end());
         return wire;
     }(),
     .file = kThProfile, .then = Join(kAt5, {"profile", "apply", "{file}"}),
     .thenOut = "temperature-upper: 45 (unchanged)\ntemperature-lower: -10 (unchanged)"},
    {.behaviour = "a profile of another kind than the device is refused, nothing written", .device = kLight,
     .args = Join(kAt5, {"profile", "apply", "{file}"}), .status = 2, .out = "",
     .err = " is a th (temperature/humidity transmitter) profile, but the device at address 5 answers as a light "
            "(light intensity sensor): nothing was written",
     .wire = Fc("03 03 0D"), .file = kThProfile},
    {.behaviour = "a file that is not JSON: status 2, nothing sent", .device = kTh,
     .args = Join(kAt5, {"profile", "apply", "{file}"}), .status = 2, .err = ": not a profile: the file is not JSON",
     .file = "temperature-upper=35"},
    {.behaviour = "a file of another format: status 2, nothing sent", .device = kTh,
     .args = Join(kAt5, {"profile", "diff", "{file}"}), .status = 2, .err = R"("format" must be "sentrabus-profile")",
     .file = R"({"format": "modbus-registers", "version": 1, "kind": "th", "parameters": {}})"},
    {.behaviour = "a newer profile version: status 2, nothing sent", .device = kTh,
     .args = Join(kAt5, {"profile", "apply", "{file}"}), .status = 2, .err = "profile version 2 is not known here",
     .file = R"({"format": "sentrabus-profile", "version": 2, "kind": "th", "parameters": {}})"},
    {.behaviour = "an unknown parameter is named with the kind's known ones", .device = kTh,
     .args = Join(kAt5, {"profile", "apply", "{file}"}), .status = 2,
     .err = R"(unknown parameter "temprature-upper" for a th profile; known: humidity-upper, humidity-lower, )",
     .file = ThProfileWith(R"("temprature-upper": 35)")},
    {.behaviour = "a value of the wrong type: status 2, nothing sent", .device = kTh,
     .args = Join(kAt5, {"profile", "apply", "{file}"}), .status = 2, .err = R"("temperature-upper" must be a number)",
     .file = ThProfileWith(R"("temperature-upper": "35")")},
    {.behaviour = "a value the device's form cannot hold: status 2, nothing sent", .device = kTh,
     .args = Join(kAt5, {"profile", "apply", "{file}"}), .status = 2,
     .err = R"(humidity-adjust takes a number from -3276.7 to 3276.7 with at most one decimal (%RH), not "1.25")",
     .file = ThProfileWith(R"("humidity-adjust": 1.25)")},
    // A receiver that garbles or does not answer the leave frame may still be in configuration mode.
    {.behaviour = "profile save says when the receiver's leave failed; the profile is saved all the same",
     .device = kWireless + " --fault none --fault-count 3 --fault bad-crc",
     .args = Join(kAt5, {"profile", "save", "--kind", "wireless", "{file}"}), .status = 1, .out = "sleep-time: 60",
     .err = "configuration-mode: leaving it failed; power the receiver off and on: ",
     .wire = {kEnter, kChannelRead, kSleepRead, kLeave}, .fileAfter = R"("kind": "wireless")"},
    {.behaviour = "profile diff says when the receiver did not answer the leave",
     .device = kWireless + " --fault none --fault-count 4 --fault silent", .args = Join(kAt5, {"profile", "diff", "{file}"}),
     .status = 1, .out = "the device matches", .err = "configuration-mode: leaving it failed; power the receiver off and on: no reply",
     .wire = {kEnter, kChannelRead, kSleepRead, kEnter, kLeave}, .file = kWirelessProfile},
    {.behaviour = "profile apply says when the receiver's leave failed, after writing and verifying",
     .device = kWireless + " --fault none --fault-count 6 --fault bad-crc",
     .args = Join(kAt5, {"profile", "apply", "{file}"}), .status = 1, .out = "channel: 12 (written and verified)",
     .err = "configuration-mode: leaving it failed; power the receiver off and on: ",
     .wire = {kEnter, kChannelRead, "4800 FB FB FB 07 01 0C", kSleepRead, kEnter, kChannelRead, kLeave},
     .file = R"({"format": "sentrabus-profile", "version": 1, "kind": "wireless",
                 "parameters": {"channel": 12, "sleep-time": 60, "addresses": []}})"},
    {.behaviour = "commission refuses units it has no addresses for", .device = kTh,
     .args = {"commission", "{file}", "--record", "{file}.csv", "--first-address", "250", "--count", "10"}, .status = 2,
     .err = "--count 10 from address 250 runs past the last bus address, 255", .file = kThProfile},

    // --- the receiver's table as CSV -------------------------------------------------------
    {.behaviour = "the receiver's table goes through its CSV and back", .device = kWireless,
     .args = Join(kAt5, {"wireless", "apply-table", "{file}"}), .status = 0,
     .out = "receiver-3: configured\nreceiver-200: configured\nconfigured: 3 200\n",
     .wire = {kEnter, "4800 FB FB FB 03 01 02 02", "4800 FB FB FB 03 01 C7 C7", kEnter, kLeave, kEnter, kLeave},
     .file = TableCsv({3, 200}), .then = Join(kAt5, {"wireless", "table", "--csv"}), .thenOut = TableCsv({3, 200})},
    {.behaviour = "apply-table clears what the file does not list", .device = kWireless,
     .args = Join(kAt5, {"wireless", "configure", "5"}), .status = 0,
     .wire = {kEnter, "4800 FB FB FB 03 01 04 04", kLeave, kEnter, "4800 FB FB FB 06 01 04 04", kEnter, kLeave},
     .file = "address,configured\r\n", .then = Join(kAt5, {"wireless", "apply-table", "{file}"}),
     .thenOut = "receiver-5: cleared\nconfigured: none\n"},
    {.behaviour = "a table the receiver does not take is tried three times, then a failure", .device = kWireless +
     " --ignore-configure", .args = Join(kAt5, {"wireless", "apply-table", "{file}"}), .status = 1,
     .err = "receiver-7: the receiver's table does not show it configured after 3 tries",
     .wire = {kEnter, "4800 FB FB FB 03 01 06 06", kEnter, "4800 FB FB FB 03 01 06 06", kEnter,
              "4800 FB FB FB 03 01 06 06", kEnter, kLeave},
     .file = "address,configured\n7,yes\n"},
    {.behaviour = "a table file with a bad line: status 2, nothing sent", .device = kWireless,
     .args = Join(kAt5, {"wireless", "apply-table", "{file}"}), .status = 2,
     .err = ": line 3: configured takes yes or no, not \"maybe\"", .file = "address,configured\n1,no\n3,maybe\n"},

    // --- scan: addressed reads only, one address at a time ---------------------------------
    {.behaviour = "scan lists the units of a bus at each speed", .device = kBus,
     .args = {"scan", "--first", "11", "--last", "21", "--speeds", "4800,9600"}, .status = 0,
     .out = "address 13 at 4800 bit/s: temperature 25.0, humidity 60.0\n"
            "address 12 at 9600 bit/s: temperature 25.0, humidity 60.0\n"
            "address 20 at 9600 bit/s: temperature 25.0, humidity 60.0\n"
            "address 21 at 9600 bit/s: answers, but has no temperature or humidity (exception 2)\n",
     .err = "scan: 4800 bit/s, addresses 11-21 asked, 1 unit found\nscan: 9600 bit/s, addresses 11-21 asked, 4 units found",
     .wire = ScanWire({4800, 9600}, 11, 21)},
    {.behaviour = "scan as JSON", .device = kBus, .args = {"--json", "scan", "--first", "12", "--last", "13",
     "--speeds", "9600,4800"}, .status = 0,
     .out = R"({"port": "COM20", "results": [
        {"name": "unit 12", "ok": true, "address": 12, "baud": 9600, "readings": {"temperature": 25.0, "humidity": 60.0}},
        {"name": "unit 13", "ok": true, "address": 13, "baud": 4800, "readings": {"temperature": 25.0, "humidity": 60.0}}]})",
     .wire = ScanWire({9600, 4800}, 12, 13)},
    {.behaviour = "scan of a bus where nobody answers: status 1", .device = kBus,
     .args = {"scan", "--first", "1", "--last", "4", "--speeds", "2400"}, .status = 1,
     .err = "scan: no unit answered at 2400 bit/s, addresses 1-4", .wire = ScanWire({2400}, 1, 4)},
    {.behaviour = "scan refuses a range backwards, nothing sent", .device = kBus,
     .args = {"scan", "--first", "20", "--last", "10"}, .status = 2, .err = "--first 20 comes after --last 10"},
    {.behaviour = "scan refuses a speed twice, nothing sent", .device = kBus,
     .args = {"scan", "--speeds", "9600,9600"}, .status = 2, .err = "--speeds names 9600 twice"},
    {.behaviour = "scan refuses a wait out of range, nothing sent", .device = kBus,
     .args = {"scan", "--reply-timeout", "2"}, .status = 2, .err = "--reply-timeout takes a whole number"},
    {.behaviour = "scan takes no --address: it asks every one", .device = kBus,
     .args = {"--address", "12", "scan"}, .status = 2, .err = "scan asks every address at every speed itself"},
};

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
    const std::string folder = std::string(directory) + (c.fileFolder.empty() ? "" : "/" + c.fileFolder);
    std::filesystem::create_directories(FilePath(HostPath(folder)));
    const std::string file = folder + "/file-" + name + ".txt";
    std::filesystem::remove(FilePath(HostPath(file)));
    if (!c.file.empty()) std::ofstream(FilePath(HostPath(file)), std::ios::binary) << c.file;
    const auto substituted = [&](const std::string& arg) {
        if (arg == "{path}") return path;
        if (arg.starts_with("{file}")) return HostPath(file) + arg.substr(6);
        return arg;
    };
    for (const std::string& arg : c.args) args.push_back(substituted(arg));
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
    if (!c.then.empty()) {
        std::vector<std::string> then = {"--port", "COM" + std::to_string(kSimPort)};
        for (const std::string& arg : c.then) then.push_back(substituted(arg));
        const CliRun again = RunCli(then);
        EXPECT_EQ(again.status, c.thenStatus) << "stdout:\n" << again.out << "stderr:\n" << again.err;
        EXPECT_NE(again.out.find(c.thenOut), std::string::npos) << again.out;
    }
    if (!c.fileAfter.empty()) {
        std::ifstream in(FilePath(HostPath(file)), std::ios::binary);
        const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_NE(after.find(c.fileAfter), std::string::npos) << after;
    }
    EXPECT_EQ(HeardRequests(traceFile), c.wire);
    // No request went out while a unit was still to answer the one before:
    // the bus simulator marks such a request in its trace.
    std::ifstream trace(HostPath(traceFile));
    const std::string traced((std::istreambuf_iterator<char>(trace)), std::istreambuf_iterator<char>());
    EXPECT_EQ(traced.find("overlaps a reply"), std::string::npos) << traced;
}

std::string CaseName(const ::testing::TestParamInfo<CliCase>& info) { return "Row" + std::to_string(info.index); }

INSTANTIATE_TEST_SUITE_P(Commands, CliTable, ::testing::ValuesIn(kCases), CaseName);

}  // namespace
