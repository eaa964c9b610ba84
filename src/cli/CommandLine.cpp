#include "CommandLine.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

#include "CliErrors.h"
#include "device/FilePath.h"
#include "device/Monitor.h"
#include "InputFiles.h"
#include "device/Commissioning.h"
#include "device/StrictValues.h"
#ifndef _WIN32
#include "gateway/MqttClient.h"
#endif

namespace {

constexpr const char* kDescription =
    "sentrabus-cli: find, configure and test 485 series transmitters on an RS-485 bus.\n"
    "Without --address a command first searches for the device, as the Sentrabus window does.";

constexpr const char* kFooter =
    "Exit status: 0 everything succeeded; 1 a device operation failed (no reply, bad reply,\n"
    "read-back differs, a commissioned unit failed, no unit answered a scan); 2 usage, a refused value or file, or a\n"
    "profile of another kind than the device (nothing was written); 3 the port could not\n"
    "be opened, or serve's MQTT broker could not be reached or refused the gateway.\n"
    "Examples:\n"
    "  sentrabus-cli --port COM3 read\n"
    "  sentrabus-cli --port /dev/ttyUSB0 --address 5 --baud 4800 set temperature-upper=35\n"
    "  sentrabus-cli --json get\n"
    "  sentrabus-cli --port COM3 profile save th.json\n"
    "  sentrabus-cli --port COM3 scan --speeds 9600 --first 1 --last 40\n"
    "  sentrabus-cli --port COM3 commission th.json --record box-12.csv --first-address 12 --baud 9600\n"
    "  sentrabus-cli --port /dev/ttyUSB0 --baud 9600 serve --units 12,13,20 --mqtt mqtt://broker --topic site/bus1";

// What the command line holds before it is checked.
struct RawLine {
    std::string port = "COM1";
    std::optional<std::string> address;  // set when given, even empty
    std::optional<std::string> baud;
    bool registerMode = false;
    bool json = false;
    bool trace = false;
    std::vector<std::string> names;   // read, get, set; the receiver addresses
    std::string value;                // address, baud, lcd mode, relay number, channel, sleep
    std::string relayState;
    std::vector<CLI::Option*> valueOptions;  // those that fill `value`: given even when empty
    CLI::Option* relayStateOption = nullptr;
    std::string monitorInterval = "1";  // monitor
    std::string monitorCount = "0";
    std::string monitorCsv;
    std::string monitorUnits;
    CLI::Option* unitsOption = nullptr;
    // profile, commission, wireless table files
    std::string file;
    std::string kind;
    CLI::Option* kindOption = nullptr;
    bool dryRun = false;
    bool csv = false;
    std::string record;
    std::string firstAddress;
    std::string unitBaud;
    std::string count;
    CLI::Option* firstAddressOption = nullptr;
    CLI::Option* unitBaudOption = nullptr;
    CLI::Option* countOption = nullptr;
    // scan
    std::string scanFirst = "1";
    std::string scanLast = std::to_string(kHighestUnitAddress);
    std::string scanSpeeds = "2400,4800,9600";
    std::string scanReplyTimeout = std::to_string(kDefaultScanReplyTimeout.count());
    // serve (its units, readings, interval, count and log as monitor --units has them)
    std::string mqttPasswordFile;
    CliRequest::Serve serve;  // as given, without the password
};

// The checks' refusal, or nothing when the request is whole.
using Refusal = std::optional<std::string>;

std::string NameList(auto all) {
    std::string names;
    for (const auto& info : all) names += (names.empty() ? "" : " ") + std::string(info.name);
    return names;
}

Refusal ReadPort(const std::string& text, PortChoice& port) {
    port.label = text;
    if (text.empty()) return "--port needs COMn or a device path";
    const bool com = text.size() > 3 && (text.compare(0, 3, "COM") == 0 || text.compare(0, 3, "com") == 0);
    const std::string_view digits = std::string_view(text).substr(com ? 3 : 0);
    if (com && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const long number = digits.size() <= 3 ? std::strtol(std::string(digits).c_str(), nullptr, 10) : 0;
        if (number < 1 || number > 255) return "--port takes COM1 to COM255 or a device path, not \"" + text + "\"";
        port.number = static_cast<std::uint8_t>(number);
        return std::nullopt;
    }
    port.path = text;
    return std::nullopt;
}

Refusal ReadDeviceOptions(const RawLine& raw, CliRequest& request) {
    if (raw.address) {
        const Checked<std::uint8_t> address = StrictAddress(*raw.address);
        if (!address.Ok()) return "--address: " + address.refusal;
        request.address = address.value;
    }
    if (raw.baud) {
        const Checked<std::uint32_t> baud = StrictBaudRate(*raw.baud);
        if (!baud.Ok()) return "--baud: " + baud.refusal;
        request.baud = baud.value;
    }
    request.registerMode = raw.registerMode;
    if (request.command == CliCommand::Commission && (request.address || request.baud || request.registerMode)) {
        return "commission searches for each unit itself: it takes no --address, --register-mode or --baud before "
               "the command (commission FILE --baud B gives the units their new speed)";
    }
    if (request.command == CliCommand::Search && (request.address || request.baud || request.registerMode)) {
        return "search finds the device itself: it takes no --address, --baud or --register-mode";
    }
    if (request.command == CliCommand::Scan && (request.address || request.baud || request.registerMode)) {
        return "scan asks every address at every speed itself: it takes no --address, --baud or --register-mode "
               "(scan --first, --last and --speeds narrow it)";
    }
    const bool units =
        (raw.unitsOption != nullptr && raw.unitsOption->count() > 0) || request.command == CliCommand::Serve;
    if (units && (request.address || request.registerMode)) {
        return std::string(request.command == CliCommand::Serve ? "serve" : "monitor --units") +
               " asks each unit at its own address: it takes no --address or --register-mode";
    }
    if (request.baud && !request.address && !request.registerMode && !units) {
        return "--baud needs --address or --register-mode: the search tries 2400, 4800 and 9600 bit/s itself";
    }
    return std::nullopt;
}

Refusal ReadNames(CliRequest& request, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (request.command == CliCommand::Read || request.command == CliCommand::Monitor ||
            request.command == CliCommand::Serve) {
            const std::optional<Reading> reading = ReadingByName(name);
            if (!reading) return "no reading \"" + name + "\"; readings: " + NameList(AllReadings());
            request.readings.push_back(*reading);
        } else {
            const std::optional<Parameter> parameter = ParameterByName(name);
            if (!parameter) return "no parameter \"" + name + "\"; parameters: " + NameList(AllParameters());
            request.parameters.push_back(*parameter);
        }
    }
    if (request.command == CliCommand::Read && request.readings.empty()) {
        for (const ReadingInfo& info : AllReadings()) request.readings.push_back(info.reading);
    }
    if (request.command == CliCommand::Get && request.parameters.empty()) {
        for (const ParameterInfo& info : AllParameters()) {
            if (info.mainWindow) request.parameters.push_back(info.parameter);
        }
    }
    return std::nullopt;
}

Refusal ReadWrites(CliRequest& request, const std::vector<std::string>& assignments) {
    for (const std::string& assignment : assignments) {
        const std::size_t equals = assignment.find('=');
        if (equals == std::string::npos) return "set takes PARAM=VALUE, not \"" + assignment + "\"";
        const std::string name = assignment.substr(0, equals);
        const std::optional<Parameter> parameter = ParameterByName(name);
        if (!parameter) return "no parameter \"" + name + "\"; parameters: " + NameList(AllParameters());
        const Checked<std::uint16_t> word = StrictParameterWord(*parameter, assignment.substr(equals + 1));
        if (!word.Ok()) return word.refusal;
        request.writes.push_back({*parameter, *word.value});
    }
    return std::nullopt;
}

// Seconds with up to three decimals, 0.2 to 60.
Refusal ReadInterval(const std::string& text, std::chrono::milliseconds& interval) {
    const std::string refusal = "--interval takes 0.2 to 60 seconds, not \"" + text + "\"";
    long long millis = 0;
    int decimals = -1;  // digits after the stop; -1 before it
    for (const char c : text) {
        if (c == '.' && decimals < 0) {
            decimals = 0;
        } else if (c >= '0' && c <= '9' && decimals < 3 && millis < 1'000'000'000) {
            millis = millis * 10 + (c - '0');
            if (decimals >= 0) ++decimals;
        } else {
            return refusal;
        }
    }
    if (text.empty() || decimals == 0) return refusal;
    for (int d = std::max(decimals, 0); d < 3; ++d) millis *= 10;
    interval = std::chrono::milliseconds(millis);
    if (!CMonitor::IntervalAllowed(interval)) return refusal;
    return std::nullopt;
}

Refusal ReadMonitor(CliRequest& request, const RawLine& raw) {
    if (Refusal refused = ReadNames(request, raw.names)) return refused;
    const LogRows rows =
        raw.unitsOption->count() > 0 || request.command == CliCommand::Serve ? LogRows::Units : LogRows::Device;
    if (rows == LogRows::Units) {
        const Checked<std::vector<std::uint8_t>> units = StrictUnitAddresses(raw.monitorUnits);
        if (!units.Ok()) return "--units: " + units.refusal;
        request.units = *units.value;
        // What the scan reads of every unit.
        if (request.readings.empty()) request.readings = {Reading::Temperature, Reading::Humidity};
    }
    if (Refusal refused = ReadInterval(raw.monitorInterval, request.monitorInterval)) return refused;
    const Checked<std::uint16_t> count = StrictSleepTime(raw.monitorCount);  // a whole number 0 to 65535
    if (!count.Ok()) {
        return "--count takes a whole number of polls from 0 (until Ctrl+C) to 65535, not \"" + raw.monitorCount + "\"";
    }
    request.monitorCount = *count.value;
    // A log that cannot be written is said before anything is polled.
    if (!raw.monitorCsv.empty()) {
        std::FILE* file = OpenFile(raw.monitorCsv, "ab");
        if (file == nullptr) return "--csv: cannot write " + raw.monitorCsv + ": " + std::strerror(errno);
        std::fclose(file);
        request.csvPath = raw.monitorCsv;
        // Rows of other readings under the header would make the log unreadable
        // as a table. Without names the columns are known only once the device
        // has answered: the command checks them then.
        if (!request.readings.empty()) {
            if (Refusal unusable = UnusableMonitorLog(request.csvPath, request.readings, rows)) {
                return "--csv: " + *unusable;
            }
        }
    }
    return std::nullopt;
}

template <class T>
Refusal Take(const Checked<T>& checked, std::optional<T>& into) {
    if (!checked.Ok()) return checked.refusal;
    into = checked.value;
    return std::nullopt;
}

Refusal ReadProfile(CliRequest& request, const std::string& path) {
    if (path.empty()) return "the profile file's name is empty";
    Checked<Profile> profile = ReadProfileFile(path);
    if (!profile.Ok()) return profile.refusal;
    request.profile = std::move(profile.value);
    return std::nullopt;
}

// commission: the profile, the record and the units' addresses, all usable.
Refusal ReadCommission(CliRequest& request, const RawLine& raw) {
    if (Refusal refused = ReadProfile(request, raw.file)) return refused;
    if (raw.record.empty()) return "--record needs the record file's name";
    request.record = raw.record;
    if (raw.firstAddressOption->count() > 0) {
        const Checked<std::uint8_t> address = StrictAddress(raw.firstAddress);
        if (!address.Ok()) return "--first-address: " + address.refusal;
        request.firstAddress = *address.value;
    }
    if (raw.unitBaudOption->count() > 0) {
        const Checked<std::uint32_t> baud = StrictBaudRate(raw.unitBaud);
        if (!baud.Ok()) return "--baud: " + baud.refusal;
        request.unitBaud = baud.value;
    }
    if (raw.countOption->count() > 0) {
        // The same strict whole number as an address: a count beyond 255 has no addresses to give.
        const Checked<std::uint8_t> count = StrictAddress(raw.count);
        if (!count.Ok()) return "--count takes a whole number from 1 to 255, not \"" + raw.count + "\"";
        request.count = *count.value;
        const int last = request.firstAddress + request.count - 1;
        if (last > 255) {
            return "--count " + raw.count + " from address " + std::to_string(request.firstAddress) +
                   " runs past the last bus address, 255";
        }
    }
    if (Refusal unusable = UnusableRecord(request.record, RecordHeader(*request.profile))) return unusable;
    return std::nullopt;
}

// scan: the address range, the speeds and the wait for a silent address.
Refusal ReadScan(CliRequest& request, const RawLine& raw) {
    const Checked<std::uint8_t> first = StrictAddress(raw.scanFirst);
    if (!first.Ok()) return "--first: " + first.refusal;
    const Checked<std::uint8_t> last = StrictAddress(raw.scanLast);
    if (!last.Ok()) return "--last: " + last.refusal;
    if (*first.value > *last.value) return "--first " + raw.scanFirst + " comes after --last " + raw.scanLast;
    request.scanFirst = *first.value;
    request.scanLast = *last.value;
    const Checked<std::vector<std::uint32_t>> speeds = StrictCommaList<std::uint32_t>(
        raw.scanSpeeds,
        [](std::string_view item) {
            Checked<std::uint32_t> speed = StrictBaudRate(item);
            if (!speed.Ok()) speed.refusal = "--speeds takes speeds separated by commas, e.g. 2400,4800,9600: " + speed.refusal;
            return speed;
        },
        [](std::string_view, std::uint32_t speed) { return "--speeds names " + std::to_string(speed) + " twice"; });
    if (!speeds.Ok()) return speeds.refusal;
    request.scanSpeeds = *speeds.value;
    const Checked<std::uint16_t> timeout = StrictSleepTime(raw.scanReplyTimeout);  // a whole number 0 to 65535
    if (!timeout.Ok() || *timeout.value < kShortestScanReplyTimeout || *timeout.value > kLongestScanReplyTimeout) {
        return "--reply-timeout takes a whole number of milliseconds from " + std::to_string(kShortestScanReplyTimeout) +
               " to " + std::to_string(kLongestScanReplyTimeout) + ", not \"" + raw.scanReplyTimeout + "\"";
    }
    request.scanReplyTimeout = std::chrono::milliseconds(*timeout.value);
    return std::nullopt;
}

#ifndef _WIN32
// serve: the units, the readings, the broker and its credentials; the
// password file is read here, so that a refused one ends the run before
// anything is opened.
Refusal ReadServe(CliRequest& request, const RawLine& raw) {
    if (Refusal refused = ReadMonitor(request, raw)) return refused;
    request.serve = raw.serve;
    CliRequest::Serve& serve = request.serve;
    while (serve.topic.size() > 1 && serve.topic.back() == '/') serve.topic.pop_back();
    if (serve.topic.empty() || serve.topic == "/" || serve.topic.find_first_of("#+") != std::string::npos) {
        return "--topic takes a topic prefix without # or + (site/bus1), not \"" + raw.serve.topic + "\"";
    }
    if (const Checked<MqttBroker> broker = ParseBrokerUrl(serve.mqtt); !broker.Ok()) return broker.refusal;
    if (serve.user.empty() != raw.mqttPasswordFile.empty()) {
        return "--mqtt-user and --mqtt-password-file go together (the password is never taken from the command line)";
    }
    if (!raw.mqttPasswordFile.empty()) {
        Checked<std::string> password = ReadPasswordFile(raw.mqttPasswordFile);
        if (!password.Ok()) return password.refusal;
        serve.password = std::move(*password.value);
    }
    if (serve.clientCert.empty() != serve.clientKey.empty()) return "--client-cert and --client-key go together";
    const bool tls = serve.mqtt.starts_with("mqtts://");
    if (!tls && !(serve.caFile + serve.clientCert).empty()) {
        return "--ca-file, --client-cert and --client-key are for a TLS broker: mqtts://HOST[:PORT]";
    }
    for (const std::string* file : {&serve.caFile, &serve.clientCert, &serve.clientKey}) {
        if (file->empty()) continue;
        std::FILE* opened = OpenFile(*file, "rb");
        if (opened == nullptr) return "cannot read " + *file + ": " + std::strerror(errno);
        std::fclose(opened);
    }
    return std::nullopt;
}
#endif

Refusal ReadFileCommand(CliRequest& request, const RawLine& raw) {
    request.file = raw.file;
    switch (request.command) {
        case CliCommand::ProfileSave:
            if (raw.file.empty()) return "the profile file's name is empty";
            if (raw.kindOption->count() > 0) {
                request.kind = ProfileKindByName(raw.kind);
                if (!request.kind) return "--kind takes th, light, lcd or wireless, not \"" + raw.kind + "\"";
            }
            if (Refusal unwritable = UnwritableFile(raw.file)) return unwritable;
            return std::nullopt;
        case CliCommand::ProfileDiff: return ReadProfile(request, raw.file);
        case CliCommand::ProfileApply:
            request.dryRun = raw.dryRun;
            return ReadProfile(request, raw.file);
        case CliCommand::Commission: return ReadCommission(request, raw);
#ifndef _WIN32
        case CliCommand::Serve: return ReadServe(request, raw);
#endif
        case CliCommand::WirelessApplyTable: {
            if (raw.file.empty()) return "the table file's name is empty";
            Checked<ReceiverBitmap> table = ReadReceiverTableFile(raw.file);
            if (!table.Ok()) return table.refusal;
            request.table = table.value;
            return std::nullopt;
        }
        default: return std::nullopt;
    }
}

Refusal ReadValues(CliRequest& request, const RawLine& raw) {
    const bool given = std::any_of(raw.valueOptions.begin(), raw.valueOptions.end(),
                                   [](const CLI::Option* option) { return option->count() > 0; });
    switch (request.command) {
        case CliCommand::Read:
        case CliCommand::Get: return ReadNames(request, raw.names);
        case CliCommand::Set: return ReadWrites(request, raw.names);
        case CliCommand::Monitor: return ReadMonitor(request, raw);
        case CliCommand::Scan: return ReadScan(request, raw);
        case CliCommand::Address: return given ? Take(StrictAddress(raw.value), request.newAddress) : std::nullopt;
        case CliCommand::Baud: return given ? Take(StrictBaudRate(raw.value), request.newBaud) : std::nullopt;
        case CliCommand::LcdMode: {
            if (!given) return "lcd mode needs the mode to set, 1 to 4: the controller does not report its mode";
            std::optional<std::uint8_t> mode;
            if (Refusal refused = Take(StrictLcdMode(raw.value), mode)) return refused;
            request.lcdMode = *mode;
            return std::nullopt;
        }
        case CliCommand::LcdRelay:
            if (raw.value != "1" && raw.value != "2") return "lcd relay takes relay 1 or 2, not \"" + raw.value + "\"";
            request.relay = raw.value == "1" ? 1 : 2;
            if (raw.relayState == "on") request.relayClosed = true;
            if (raw.relayState == "off") request.relayClosed = false;
            if (raw.relayStateOption->count() > 0 && !request.relayClosed) {
                return "lcd relay takes on (closed) or off (open), not \"" + raw.relayState + "\"";
            }
            return std::nullopt;
        case CliCommand::WirelessChannel: return given ? Take(StrictChannel(raw.value), request.channel) : std::nullopt;
        case CliCommand::WirelessSleep:
            return given ? Take(StrictSleepTime(raw.value), request.sleepTime) : std::nullopt;
        case CliCommand::WirelessConfigure:
        case CliCommand::WirelessClear:
            for (const std::string& text : raw.names) {
                const Checked<std::uint8_t> index = StrictReceiverIndex(text);
                if (!index.Ok()) return index.refusal;
                request.receivers.push_back(*index.value);
            }
            return std::nullopt;
        case CliCommand::WirelessTable:
            request.csv = raw.csv;
            if (raw.csv && request.json) return "wireless table takes --csv or --json, not both";
            return std::nullopt;
        default: return ReadFileCommand(request, raw);
    }
}

// The subcommands, and the command each one stands for.
struct CommandTable {
    std::vector<std::pair<CLI::App*, CliCommand>> commands;

    std::optional<CliCommand> Chosen() const {
        for (const auto& [app, command] : commands) {
            if (app->parsed()) return command;
        }
        return std::nullopt;
    }
};

void AddValue(CLI::App* app, const char* name, RawLine& raw, const std::string& help) {
    raw.valueOptions.push_back(app->add_option(name, raw.value, help)->type_name(""));
}

#ifndef _WIN32
void DefineServe(CLI::App* serve, RawLine& raw) {
    serve->add_option("READING", raw.names, NameList(AllReadings()) + " (default: temperature humidity)")
        ->type_name("");
    serve->add_option("--units", raw.monitorUnits, "the units' addresses, asked in turn at --baud (default 4800)")
        ->required()
        ->type_name("A,B,...");
    serve->add_option("--mqtt", raw.serve.mqtt, "the broker: mqtt://HOST[:PORT] (1883), mqtts://HOST[:PORT] (8883, TLS)")
        ->required()
        ->type_name("URL");
    serve->add_option("--topic", raw.serve.topic, "the topics' prefix (default sentrabus)")->type_name("PREFIX");
    serve->add_option("--interval", raw.monitorInterval, "seconds between polls, 0.2 to 60 (default 1)")->type_name("S");
    serve->add_option("--count", raw.monitorCount, "stop after N polls (default: at SIGTERM or Ctrl+C)")->type_name("N");
    serve->add_option("--csv", raw.monitorCsv, "also append a row per unit per poll to FILE, as monitor --units does")
        ->type_name("FILE");
    serve->add_flag("--ha-discovery", raw.serve.haDiscovery,
                    "publish a Home Assistant discovery config per unit and reading (homeassistant/sensor/...)");
    serve->add_option("--mqtt-user", raw.serve.user, "the user name the broker knows the gateway by")->type_name("USER");
    serve->add_option("--mqtt-password-file", raw.mqttPasswordFile,
                      "the password, the first line of FILE, which no one but its owner may read (never on the "
                      "command line, where every user of the machine sees it)")
        ->type_name("FILE");
    serve->add_option("--ca-file", raw.serve.caFile,
                      "mqtts: the CA certificate that signed the broker's (default: the system's CAs); the "
                      "certificate must name the host")
        ->type_name("PEM");
    serve->add_option("--client-cert", raw.serve.clientCert, "mqtts: the gateway's certificate, for brokers that want one")
        ->type_name("PEM");
    serve->add_option("--client-key", raw.serve.clientKey, "mqtts: its private key")->type_name("PEM");
}
#endif

CommandTable DefineCommands(CLI::App& app, RawLine& raw) {
    CommandTable table;
    const auto add = [&](CLI::App* parent, const char* name, const char* help, CliCommand command) {
        CLI::App* sub = parent->add_subcommand(name, help);
        table.commands.emplace_back(sub, command);
        return sub;
    };
    add(&app, "ports", "list COM1..COM30, the device each leads to and whether it is present", CliCommand::Ports);
    add(&app, "search", "find the device: the FD query at 2400, 4800 and 9600 bit/s, then the register read at 9600",
        CliCommand::Search);
    add(&app, "read", "read measurements, all eight when none is named", CliCommand::Read)
        ->add_option("READING", raw.names, NameList(AllReadings()))
        ->type_name("");
    add(&app, "get", "read parameters, the main window's ten when none is named", CliCommand::Get)
        ->add_option("PARAM", raw.names, NameList(AllParameters()))
        ->type_name("");
    add(&app, "set", "write parameters, each read back and compared", CliCommand::Set)
        ->add_option("PARAM=VALUE", raw.names, "values in the units the window shows, e.g. temperature-upper=35")
        ->required()
        ->type_name("");
    AddValue(add(&app, "address", "read the bus address, or set NEW (1-255)", CliCommand::Address), "NEW", raw,
             "the new address");
    AddValue(add(&app, "baud", "read the baud rate, or set NEW (2400, 4800, 9600)", CliCommand::Baud), "NEW", raw,
             "the new baud rate");

    CLI::App* monitor = add(&app, "monitor",
                            "poll readings at an interval: one line per poll, the counters at the end "
                            "(none named: the readings the device answers; with --units: temperature and humidity)",
                            CliCommand::Monitor);
    monitor->add_option("READING", raw.names, NameList(AllReadings()))->type_name("");
    monitor->add_option("--interval", raw.monitorInterval, "seconds between polls, 0.2 to 60 (default 1)")->type_name("S");
    monitor->add_option("--count", raw.monitorCount, "stop after N polls (default: at Ctrl+C)")->type_name("N");
    monitor->add_option("--csv", raw.monitorCsv, "append one row per poll to FILE, flushed row by row")->type_name("FILE");
    raw.unitsOption =
        monitor
            ->add_option("--units", raw.monitorUnits,
                         "poll several units of a bus in turn at --baud (default 4800), no search: a line and a CSV "
                         "row per unit per poll, counters per unit. Only addressed function-03 reads are sent (every "
                         "unit on a shared bus would answer an FD, FC or FB frame at once)")
            ->type_name("A,B,...");

    CLI::App* scan = add(&app, "scan",
                         "list the units of a bus: at each speed, one function-03 read of registers 0x0000-0x0001 "
                         "(humidity, temperature) to every address. Only these addressed reads are sent: the FD, FC "
                         "and FB frames carry no unit address, so every unit of a shared bus would answer them at once "
                         "and the replies would collide",
                         CliCommand::Scan);
    scan->add_option("--first", raw.scanFirst, "the first address asked (default 1)")->type_name("A");
    scan->add_option("--last", raw.scanLast, "the last address asked (default 247)")->type_name("A");
    scan->add_option("--speeds", raw.scanSpeeds, "the speeds, in order (default 2400,4800,9600)")
        ->type_name("B,B,...");
    scan->add_option("--reply-timeout", raw.scanReplyTimeout,
                     "how long a silent address is waited for, in ms (default " +
                         std::to_string(kDefaultScanReplyTimeout.count()) +
                         ": a unit answers within a few ms; the reply's time on the wire at the speed is "
                         "waited for besides; a whole bus, 247 addresses at three speeds, in about 40 s)")
        ->type_name("MS");

    CLI::App* lcd = app.add_subcommand("lcd", "LCD relay controller");
    lcd->require_subcommand(1);
    AddValue(add(lcd, "mode", "set the work mode, 1-4", CliCommand::LcdMode), "MODE", raw, "1 to 4");
    CLI::App* relay = add(lcd, "relay", "query relay 1 or 2, or switch it on (closed) or off (open)",
                          CliCommand::LcdRelay);
    relay->add_option("RELAY", raw.value, "1 or 2")->required()->type_name("");
    raw.relayStateOption = relay->add_option("STATE", raw.relayState, "on or off")->type_name("");

    CLI::App* wireless = app.add_subcommand(
        "wireless", "wireless receiver; configuration mode is entered before and left after every command");
    wireless->require_subcommand(1);
    AddValue(add(wireless, "channel", "read the channel, or set N (0-63)", CliCommand::WirelessChannel), "N", raw,
             "the new channel");
    AddValue(add(wireless, "sleep", "read the sleep time, or set S seconds (0-65535)", CliCommand::WirelessSleep), "S",
             raw, "the new sleep time");
    add(wireless, "th", "read temperature and humidity", CliCommand::WirelessTh);
    add(wireless, "table", "the sleep time and the configured receiver addresses", CliCommand::WirelessTable)
        ->add_flag("--csv", raw.csv, "every address 1-200 as CSV (address,configured) for apply-table");
    add(wireless, "configure", "configure receiver addresses N (1-200)", CliCommand::WirelessConfigure)
        ->add_option("N", raw.names, "receiver addresses")
        ->required()
        ->type_name("");
    add(wireless, "clear", "clear receiver addresses N (1-200)", CliCommand::WirelessClear)
        ->add_option("N", raw.names, "receiver addresses")
        ->required()
        ->type_name("");
    add(wireless, "apply-table",
        "configure and clear addresses until the receiver's table is the one in FILE (as table --csv writes it; "
        "an address it does not list is cleared)",
        CliCommand::WirelessApplyTable)
        ->add_option("FILE", raw.file, "the table as CSV")
        ->required()
        ->type_name("");

    CLI::App* profile = app.add_subcommand(
        "profile", "device profiles: a kind's settings as a JSON file, without the address and baud rate");
    profile->require_subcommand(1);
    CLI::App* save = add(profile, "save", "read every setting of the device's kind into FILE", CliCommand::ProfileSave);
    save->add_option("FILE", raw.file, "the profile to write")->required()->type_name("");
    raw.kindOption = save->add_option("--kind", raw.kind, "th, light, lcd or wireless (default: what the device answers as)")
                         ->type_name("K");
    add(profile, "diff", "the device against FILE, setting by setting", CliCommand::ProfileDiff)
        ->add_option("FILE", raw.file, "the profile")
        ->required()
        ->type_name("");
    CLI::App* apply = add(profile, "apply", "write the settings that differ from FILE, then read each one back",
                          CliCommand::ProfileApply);
    apply->add_option("FILE", raw.file, "the profile")->required()->type_name("");
    apply->add_flag("--dry-run", raw.dryRun, "only say what would be written");

    CLI::App* commission = add(&app, "commission",
                               "a box of units one at a time: wait for a unit, apply FILE, give it the next address "
                               "and the baud rate, verify, record it; Ctrl+C ends it between units",
                               CliCommand::Commission);
    commission->add_option("FILE", raw.file, "the profile")->required()->type_name("");
    commission->add_option("--record", raw.record, "the CSV record, one row appended per unit")
        ->required()
        ->type_name("RECORD.csv");
    raw.firstAddressOption =
        commission->add_option("--first-address", raw.firstAddress, "the first unit's address, then +1 (default 1)")
            ->type_name("N");
    raw.unitBaudOption =
        commission->add_option("--baud", raw.unitBaud, "every unit's new baud rate (default: each keeps its own)")
            ->type_name("B");
    raw.countOption =
        commission->add_option("--count", raw.count,
                               "stop after C units (default: until Ctrl+C)")
            ->type_name("C");
#ifndef _WIN32
    DefineServe(add(&app, "serve",
                    "(Linux only) a gateway from a bus of units to an MQTT broker, meant to run for months: each "
                    "reading published retained, QoS 1, as PREFIX/<address>/<reading>, with each unit's status "
                    "(online, or offline after three polls without a reply) and the gateway's PREFIX/status "
                    "(offline as its last will). Read-only: only addressed function-03 reads go out, nothing is "
                    "written (every unit on a shared bus would take an FD, FC or FB frame at once)",
                    CliCommand::Serve),
                raw);
#endif
    return table;
}

bool AskedForJson(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0) return true;
    }
    return false;
}

}  // namespace

CommandLineOutcome ReadCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    RawLine raw;
    CLI::App app{kDescription, "sentrabus-cli"};
    app.set_version_flag("--version", std::string("sentrabus-cli ") + SENTRABUS_VERSION);
    // Global options may also follow the command.
    app.fallthrough();
    app.require_subcommand(1);
    app.add_option("--port", raw.port, "COMn, as in the Sentrabus window, or a device path (default COM1)")
        ->type_name("COMn|PATH");
    std::string address;
    std::string baud;
    CLI::Option* addressOption =
        app.add_option("--address", address, "talk to the device at this address (1-255) instead of searching")
            ->type_name("A");
    CLI::Option* baudOption = app.add_option("--baud", baud,
                   "with --address, --register-mode or monitor --units: the line speed, 2400, 4800 or 9600 "
                   "(default 4800, in register mode 9600)")
        ->type_name("B");
    app.add_flag("--register-mode", raw.registerMode,
                 "the device answers register frames at address 255 (a soil-moisture sensor)");
    app.add_flag("--json", raw.json, "print one JSON document on standard output");
    app.add_flag("--trace", raw.trace, "print every frame and port event in words on standard error");
    const CommandTable table = DefineCommands(app, raw);
    app.footer(kFooter);  // after the commands, which would take it over

    if (argc <= 1) {
        out << app.help();
        return {std::nullopt, kExitUsage};
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
            app.exit(error, out, err);
            return {std::nullopt, kExitOk};
        }
        PrintRunError(out, err, AskedForJson(argc, argv),
                      std::string(error.what()) + " (sentrabus-cli --help shows the usage)");
        return {std::nullopt, kExitUsage};
    }

    if (addressOption->count() > 0) raw.address = address;
    if (baudOption->count() > 0) raw.baud = baud;
    const std::optional<CliCommand> command = table.Chosen();
    if (!command) {
        PrintRunError(out, err, raw.json, "no command (sentrabus-cli --help shows the usage)");
        return {std::nullopt, kExitUsage};
    }
    CliRequest request;
    request.command = *command;
    request.json = raw.json;
    request.trace = raw.trace;
    const char* silence = std::getenv("SENTRABUS_SILENCE_CUT");
    request.silenceCut = silence != nullptr && std::strcmp(silence, "1") == 0;
    Refusal refusal = ReadPort(raw.port, request.port);
    if (!refusal) refusal = ReadDeviceOptions(raw, request);
    if (!refusal) refusal = ReadValues(request, raw);
    if (refusal) {
        PrintRunError(out, err, request.json, *refusal);
        return {std::nullopt, kExitUsage};
    }
    return {std::move(request), kExitOk};
}
