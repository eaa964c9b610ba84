#pragma once
// What a run prints. As text: one "name: text" line per result on standard
// output as it comes. A failure is one line on standard error, also with
// --json, which prints one document at the end:
//
//   {"port": "COM3",
//    "device": {"address": 5, "baud": 4800, "mode": "fd"},
//    "results": [{"name": "temperature", "ok": true, "value": -20.0, "text": "-20.0"},
//                {"name": "humidity", "ok": false, "error": "no reply"}]}

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "CliRequest.h"

struct CliResult {
    std::string name;
    bool ok = false;
    nlohmann::ordered_json value;  // null: none
    std::string text;      // the value as the window shows it
    std::string error;     // when !ok
    // Members the JSON entry has besides these, for a command that says more
    // of each setting ("profile": 35, "result": "verified"). An object or null.
    nlohmann::ordered_json more;

    static CliResult Success(std::string name, nlohmann::ordered_json value, std::string text) {
        return {std::move(name), true, std::move(value), std::move(text), {}, nullptr};
    }
    static CliResult Failure(std::string name, std::string error) {
        return {std::move(name), false, nullptr, {}, std::move(error), nullptr};
    }
};

// The device a run talks to.
struct DeviceDescription {
    std::uint8_t address = 0;
    std::uint32_t baud = 0;
    bool registerMode = false;
    // A register-mode device's line settings, when it reported them.
    std::optional<std::uint8_t> parity;
    bool stopBitException = false;

    // "address 5, 4800 bit/s (FD frames)"
    std::string Text() const;
    nlohmann::ordered_json Json() const;
};

class CReport {
public:
    CReport(bool json, std::ostream& out, std::ostream& err) : m_json(json), m_out(out), m_err(err) {}

    void SetPortChoice(const PortChoice& port);
    void SetDevice(const DeviceDescription& device) { m_device = device; }
    // A line for the technician: on standard output when it is the command's
    // answer (`search`), else on standard error. Not part of the JSON.
    void Say(const std::string& line, bool answer);
    // What a long command is doing, as it happens: on standard output, with
    // --json on standard error (the document stays alone on standard output).
    void Progress(const std::string& line);
    void Add(CliResult result);
    // A good result the command words itself: `line` on standard output as
    // text, `entry` among the results with --json.
    void AddEntry(const std::string& line, nlohmann::ordered_json entry);
    // A run that ends without results: one line on standard error, and with
    // --json the document {"error": "..."} instead of the results.
    void RunError(std::string_view message);
    bool Failed() const { return m_failed; }
    // Prints the JSON document; the exit status of what was added.
    int Finish();

private:
    const bool m_json;
    std::ostream& m_out;
    std::ostream& m_err;
    nlohmann::ordered_json m_document = nlohmann::ordered_json::object();
    std::optional<DeviceDescription> m_device;
    nlohmann::ordered_json m_results = nlohmann::ordered_json::array();
    bool m_failed = false;
};
