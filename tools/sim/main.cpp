// sentrabus-sim: serves one simulated device, or a bus of several units, on a
// pseudo-terminal until killed.
//
//   sentrabus-sim --device th --address 5 --baud 4800 [--link /tmp/ttySIM]
//   sentrabus-sim --bus th:12,th:13,light:20@4800 --baud 9600 [--control FILE]
//
// Prints the terminal's path on the first line of standard output; the tool
// (or anything else) opens that path as its serial port. SIGUSR1 unplugs the
// device and SIGUSR2 plugs in a fresh one, as a technician works through a box
// of units on one cable.

#include <signal.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/Bus.h"
#include "sim/Simulator.h"

namespace {

constexpr const char* kUsage =
    "usage: sentrabus-sim --device th|soil|wireless|lcd|light [options]\n"
    "       sentrabus-sim --bus KIND:ADDRESS[@BAUD],... [--baud N] [--control FILE] [options]\n"
    "  --address N         bus address, 1..255 (default 1)\n"
    "  --baud N            line speed in bit/s (default 9600)\n"
    "  --link PATH         also make PATH a symbolic link to the terminal\n"
    "  --fault F           put fault F on replies: silent, delay:MS, short, bad-crc,\n"
    "                      swapped-crc, split:MS, glitch:MS, wrong-address, exception,\n"
    "                      noise:BYTES (that many random bytes instead of the reply,\n"
    "                      up to 1048576)\n"
    "  --fault-count N     only the next N replies get the --fault before it\n"
    "                      (default: all); faults given one after the other\n"
    "                      follow each other: --fault none --fault-count 3\n"
    "                      --fault silent answers three requests, then none\n"
    "  --reply-latency MS  time from request to reply (default 2)\n"
    "  --ignore-configure  wireless: acknowledge a configure but keep the address table\n"
    "                      (the first device only, as the faults)\n"
    "  --bus UNITS         several units on one terminal, as on one pair of wires:\n"
    "                      th:12,th:13,light:20@4800 (@BAUD: that unit's speed,\n"
    "                      default --baud). Each unit answers what is addressed to\n"
    "                      it at its own speed; a frame without a unit address (FD,\n"
    "                      FC, FB) that several units answer gives their replies\n"
    "                      OR-ed byte by byte, which fails its CRC\n"
    "  --control FILE      with --bus: read FILE every 100 ms and carry out each new\n"
    "                      line, \"unplug 13\" or \"plug 13\" (the unit configured at\n"
    "                      address 13; plugged back, it keeps its settings). Lines are\n"
    "                      appended; a file made shorter is read from its start again\n"
    "  --trace             print every request and reply on standard error\n"
    "  --trace-file PATH   append the same lines to PATH, each flushed as written\n"
    "signals (one device; with --bus only SIGTERM and SIGINT):\n"
    "  SIGUSR1             unplug the device: it answers nothing\n"
    "  SIGUSR2             plug in a fresh device of the same kind, with factory\n"
    "                      settings at --address and --baud and without faults\n"
    "  SIGTERM, SIGINT     stop\n";

struct QueuedFault {
    sim::Fault fault;
    unsigned count = sim::CSimulator::kEveryRequest;
};

struct Options {
    sim::SimConfig config;
    std::vector<QueuedFault> faults;  // in the order given
    std::optional<unsigned> firstFaultCount;  // a --fault-count before any --fault
    std::string link;
    std::string traceFile;
    std::string bus;      // --bus: the units
    std::string control;  // --control
    bool trace = false;
    bool ignoreConfigure = false;
};

std::optional<unsigned long> Number(std::string_view text) {
    unsigned long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

bool Fail(const std::string& message) {
    std::cerr << "sentrabus-sim: " << message << "\n" << kUsage;
    return false;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    bool haveDevice = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            std::exit(0);
        }
        if (arg == "--trace") {
            options.trace = true;
            continue;
        }
        if (arg == "--ignore-configure") {
            options.ignoreConfigure = true;
            continue;
        }
        if (i + 1 >= argc) return Fail(std::string(arg) + " needs a value");
        const std::string_view value = argv[++i];
        if (arg == "--device") {
            const auto kind = sim::ParseDeviceKind(value);
            if (!kind) return Fail("unknown device '" + std::string(value) + "'");
            options.config.kind = *kind;
            haveDevice = true;
        } else if (arg == "--address") {
            const auto n = Number(value);
            if (!n || *n < 1 || *n > 255) return Fail("address must be 1..255");
            options.config.address = static_cast<std::uint8_t>(*n);
        } else if (arg == "--baud") {
            const auto n = Number(value);
            if (!n || sim::SpeedConstant(static_cast<std::uint32_t>(*n)) == 0) return Fail("unsupported baud rate");
            options.config.baud = static_cast<std::uint32_t>(*n);
        } else if (arg == "--link") {
            options.link = value;
        } else if (arg == "--bus") {
            options.bus = value;
        } else if (arg == "--control") {
            options.control = value;
        } else if (arg == "--trace-file") {
            options.traceFile = value;
        } else if (arg == "--fault") {
            const std::optional<sim::Fault> fault = sim::ParseFault(value);
            if (!fault) return Fail("unknown fault '" + std::string(value) + "'");
            options.faults.push_back({*fault});
            if (options.faults.size() == 1 && options.firstFaultCount) options.faults[0].count = *options.firstFaultCount;
        } else if (arg == "--fault-count") {
            const auto n = Number(value);
            if (!n || *n == 0 || *n >= sim::CSimulator::kEveryRequest) return Fail("fault count must be 1 or more");
            // The count of the --fault before it; given first, of the first one.
            if (options.faults.empty()) {
                options.firstFaultCount = static_cast<unsigned>(*n);
            } else {
                options.faults.back().count = static_cast<unsigned>(*n);
            }
        } else if (arg == "--reply-latency") {
            const auto n = Number(value);
            if (!n || *n > 60000) return Fail("reply latency must be 0..60000 ms");
            options.config.replyLatency = std::chrono::milliseconds(*n);
        } else {
            return Fail("unknown option " + std::string(arg));
        }
    }
    if (!options.bus.empty()) {
        if (haveDevice) return Fail("--bus and --device exclude each other");
        // Faults and quirks belong to one device; the bus's units are sound.
        if (!options.faults.empty() || options.ignoreConfigure) return Fail("--bus takes no --fault or --ignore-configure");
        return true;
    }
    if (!options.control.empty()) return Fail("--control needs --bus");
    if (!haveDevice) return Fail("--device is required");
    return true;
}

// Replaces an earlier link of ours, never a real file.
bool MakeLink(const std::string& link, const std::string& target) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(link, error))) fs::remove(link, error);
    fs::create_symlink(target, link, error);
    if (error) {
        std::cerr << "sentrabus-sim: cannot link " << link << ": " << error.message() << "\n";
        return false;
    }
    return true;
}

// The lines of the control file not carried out yet, from `done` on; a file
// that became shorter than that was made anew and is read from its start.
std::vector<std::string> NewControlLines(const std::string& path, std::size_t& done) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    if (lines.size() < done) done = 0;
    std::vector<std::string> fresh(lines.begin() + static_cast<std::ptrdiff_t>(done), lines.end());
    // A last line without its newline may be still being written: taken once whole.
    if (!fresh.empty() && file.eof()) {
        file.clear();
        file.seekg(-1, std::ios::end);
        if (file.get() != '\n') fresh.pop_back();
    }
    done += fresh.size();
    return fresh;
}

// "unplug 13" or "plug 13": what became of it, in words.
std::string CarryOut(sim::CBus& bus, const std::string& line) {
    const std::size_t space = line.find(' ');
    const std::string verb = line.substr(0, space);
    const std::optional<unsigned long> unit = Number(space == std::string::npos ? "" : line.substr(space + 1));
    if ((verb != "unplug" && verb != "plug") || !unit || *unit > 255) {
        return "control line \"" + line + "\" ignored: it takes \"unplug N\" or \"plug N\"";
    }
    const auto name = static_cast<std::uint8_t>(*unit);
    const bool known = verb == "unplug" ? bus.Unplug(name) : bus.Plug(name);
    if (!known) return "control line \"" + line + "\" ignored: no unit " + std::to_string(*unit) + " on the bus";
    return "unit " + std::to_string(*unit) + (verb == "unplug" ? " unplugged" : " plugged back");
}

// Serves the bus until a signal to stop; 0, or 1 when it could not start.
int RunBus(const Options& options, const sigset_t& signals) {
    std::string error;
    const std::vector<sim::BusUnit> units = sim::ParseBusUnits(options.bus, options.config.baud, error);
    if (units.empty()) {
        Fail("--bus: " + error);
        return 2;
    }
    sim::CBus bus({units, options.config.baud, options.config.replyLatency, options.config.trace});
    if (!options.link.empty() && !MakeLink(options.link, bus.SlavePath())) return 1;
    std::cout << bus.SlavePath() << std::endl;
    for (const sim::BusUnit& unit : units) {
        std::cerr << "sentrabus-sim: " << sim::DeviceKindName(unit.kind) << " at address "
                  << static_cast<int>(unit.address) << ", " << unit.baud << " bit/s on " << bus.SlavePath() << std::endl;
    }
    std::size_t done = 0;
    const timespec poll{0, 100'000'000};
    while (true) {
        const int signal = sigtimedwait(&signals, nullptr, &poll);
        if (signal == SIGINT || signal == SIGTERM || signal == SIGHUP) break;
        if (options.control.empty()) continue;
        for (const std::string& line : NewControlLines(options.control, done)) {
            if (line.empty()) continue;
            const std::string what = CarryOut(bus, line);
            std::cerr << "sentrabus-sim: " << what << std::endl;
            if (options.config.trace) options.config.trace("-- " + what);
        }
    }
    if (!options.link.empty()) {
        std::error_code error;
        std::filesystem::remove(options.link, error);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) return 2;

    // Block the signals before the serving thread starts, so that only
    // sigwait below takes them.
    sigset_t signals;
    sigemptyset(&signals);
    for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGUSR2}) sigaddset(&signals, s);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    // A test reads the file for the frames on the wire; a process it cannot
    // take the standard error of (under Wine, through the line server) too.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> traceFile(nullptr, std::fclose);
    if (!options.traceFile.empty()) {
        traceFile.reset(std::fopen(options.traceFile.c_str(), "a"));
        if (!traceFile) {
            std::cerr << "sentrabus-sim: cannot open " << options.traceFile << "\n";
            return 1;
        }
    }
    if (options.trace || traceFile) {
        options.config.trace = [trace = options.trace, file = traceFile.get()](const std::string& line) {
            if (trace) std::fprintf(stderr, "%s\n", line.c_str());
            if (file) {
                std::fprintf(file, "%s\n", line.c_str());
                std::fflush(file);
            }
        };
    }

    try {
        if (!options.bus.empty()) return RunBus(options, signals);
        sim::CSimulator device(options.config);
        for (const QueuedFault& queued : options.faults) device.InjectFault(queued.fault, queued.count);
        if (options.ignoreConfigure)
            device.Update([](sim::DeviceState& state) { state.wireless.ignoresConfigure = true; });
        if (!options.link.empty() && !MakeLink(options.link, device.SlavePath())) return 1;

        std::cout << device.SlavePath() << std::endl;
        std::cerr << "sentrabus-sim: " << sim::DeviceKindName(device.Kind()) << " at address "
                  << static_cast<int>(device.Address()) << ", " << device.Baud() << " bit/s on "
                  << device.SlavePath() << std::endl;

        // The trace tells its readers when the unit changed, in the same file.
        const auto tell = [&](const std::string& what) {
            std::cerr << "sentrabus-sim: " << what << std::endl;
            if (options.config.trace) options.config.trace("-- " + what);
        };
        for (int signal = 0; sigwait(&signals, &signal) == 0;) {
            if (signal == SIGUSR1) {
                device.Unplug();
                tell("unplugged");
            } else if (signal == SIGUSR2) {
                // A new unit: none of the faults or quirks of the one before.
                device.ClearFaults();
                device.PlugInFresh();
                tell("a fresh " + std::string(sim::DeviceKindName(device.Kind())) + " device plugged in at address " +
                     std::to_string(device.Address()) + ", " + std::to_string(device.Baud()) + " bit/s");
            } else {
                break;
            }
        }

        if (!options.link.empty()) {
            std::error_code error;
            std::filesystem::remove(options.link, error);
        }
    } catch (const std::exception& error) {
        std::cerr << "sentrabus-sim: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
