#pragma once
// One run of sentrabus-cli as the command line asked for it, every value
// already checked: what is here can be sent.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "protocol/Catalogue.h"
#include "device/BusScan.h"
#include "device/Profile.h"

// The exit status, as scripts rely on it.
enum ExitStatus : int {
    kExitOk = 0,
    kExitDeviceFailed = 1,  // no reply, bad reply, read-back differs, interrupted
    kExitUsage = 2,         // usage, a refused value or file, a profile of another kind: nothing was written
    kExitPortFailed = 3,    // the port could not be opened
    kExitBrokerFailed = 3,  // serve: the MQTT broker could not be reached, or refused the gateway
};

enum class CliCommand {
    Ports,
    Search,
    Read,
    Get,
    Set,
    Address,
    Baud,
    LcdMode,
    LcdRelay,
    WirelessChannel,
    WirelessSleep,
    WirelessTh,
    WirelessTable,
    WirelessConfigure,
    WirelessClear,
    Monitor,
    WirelessApplyTable,
    ProfileSave,
    ProfileDiff,
    ProfileApply,
    Commission,
    Scan,
    Serve,  // Linux only
};

// --port: COMn opens what the list entry COMn of the windows opens; anything
// else is a device path, opened as given.
struct PortChoice {
    std::string label;            // as typed: "COM3", "/dev/ttyUSB0"
    std::uint8_t number = 0;      // n of COMn; 0 for a path
    std::string path;             // the path for a path; "" for COMn (resolved at open)
};

struct ParameterWrite {
    Parameter parameter;
    std::uint16_t word;
};

struct CliRequest {
    PortChoice port;
    std::optional<std::uint8_t> address;  // --address: no search
    std::optional<std::uint32_t> baud;    // --baud
    bool registerMode = false;
    bool json = false;
    bool trace = false;
    // Exchanges end after the line's silence, as in the windows, instead of
    // as soon as the reply is complete (SENTRABUS_SILENCE_CUT=1).
    bool silenceCut = false;

    CliCommand command = CliCommand::Ports;
    std::vector<Reading> readings;
    std::vector<Parameter> parameters;
    std::vector<ParameterWrite> writes;
    std::optional<std::uint8_t> newAddress;
    std::optional<std::uint32_t> newBaud;
    std::uint8_t lcdMode = 0;
    int relay = 0;                           // 1 or 2
    std::optional<bool> relayClosed;         // on = closed
    std::optional<std::uint8_t> channel;
    std::optional<std::uint16_t> sleepTime;
    std::vector<std::uint8_t> receivers;     // indexes 0..199
    std::chrono::milliseconds monitorInterval{1000};
    int monitorCount = 0;                    // polls; 0: until Ctrl+C
    std::string csvPath;                     // monitor --csv
    std::vector<std::uint8_t> units;         // monitor --units: a bus of units, asked by address, no search
    bool csv = false;                        // wireless table as CSV
    std::optional<ReceiverBitmap> table;     // wireless apply-table: the file's table

    // profile save, diff, apply; commission.
    std::string file;                        // the profile (or the table's CSV) as named
    std::optional<Profile> profile;          // read and checked: diff, apply, commission
    std::optional<ProfileKind> kind;         // save --kind
    bool dryRun = false;
    std::string record;                      // commission --record
    std::uint8_t firstAddress = 1;
    std::optional<std::uint32_t> unitBaud;   // commission --baud: every unit's new speed
    int count = 0;                           // commission --count; 0: until Ctrl+C

    // scan
    std::uint8_t scanFirst = 1;
    std::uint8_t scanLast = kHighestUnitAddress;
    std::vector<std::uint32_t> scanSpeeds{2400, 4800, 9600};
    std::chrono::milliseconds scanReplyTimeout = kDefaultScanReplyTimeout;
    // serve: the broker and what goes to it (the units, readings, interval,
    // count and CSV log as monitor --units has them).
    struct Serve {
        std::string mqtt;           // mqtt://HOST[:PORT] or mqtts://HOST[:PORT]
        std::string topic = "sentrabus";
        bool haDiscovery = false;
        std::string user;
        std::string password;       // read from --mqtt-password-file
        std::string caFile;
        std::string clientCert;
        std::string clientKey;
    } serve;
};

// Commands that talk to a device (all but ports).
inline bool NeedsDevice(CliCommand command) { return command != CliCommand::Ports; }

inline bool IsWireless(CliCommand command) {
    return command >= CliCommand::WirelessChannel && command <= CliCommand::WirelessApplyTable;
}
