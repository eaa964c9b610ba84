#include "Report.h"

#include "CliErrors.h"
#include "JsonText.h"

namespace {

std::string ParityName(std::uint8_t parity) {
    switch (parity) {
        case 0: return "none";
        case 1: return "odd";
        case 2: return "even";
        default: return "error";
    }
}

}  // namespace

std::string DeviceDescription::Text() const {
    std::string text = "address " + std::to_string(address) + ", " + std::to_string(baud) + " bit/s";
    if (!registerMode) return text + " (FD frames)";
    text = "register-mode device (soil moisture sensor) at " + text;
    if (parity) text += ", parity " + ParityName(*parity);
    if (stopBitException) text += "; stop bit exception: set the address or baud rate again";
    return text;
}

nlohmann::ordered_json DeviceDescription::Json() const {
    nlohmann::ordered_json device{{"address", address}, {"baud", baud}, {"mode", registerMode ? "register" : "fd"}};
    if (parity) {
        device["parity"] = ParityName(*parity);
        device["stop-bit-exception"] = stopBitException;
    }
    return device;
}

void CReport::SetPortChoice(const PortChoice& port) {
    m_document["port"] = port.label;
}

void CReport::Say(const std::string& line, bool answer) {
    if (m_json) return;
    (answer ? m_out : m_err) << line << std::endl;
}

void CReport::Progress(const std::string& line) { (m_json ? m_err : m_out) << line << std::endl; }

void CReport::RunError(std::string_view message) { PrintRunError(m_out, m_err, m_json, message); }

void CReport::Add(CliResult result) {
    m_failed = m_failed || !result.ok;
    // A failure is a line on standard error in both forms: a script that
    // reads the JSON still leaves the technician something to read.
    if (!result.ok) m_err << "sentrabus-cli: " << result.name << ": " << result.error << std::endl;
    if (m_json) {
        nlohmann::ordered_json entry{{"name", result.name}, {"ok", result.ok}};
        if (result.ok) {
            entry["value"] = result.value;
            entry["text"] = result.text;
        } else {
            entry["error"] = result.error;
        }
        if (result.more.is_object()) entry.update(result.more);
        m_results.push_back(std::move(entry));
    } else if (result.ok) {
        m_out << result.name << ": " << result.text << std::endl;
    }
}

void CReport::AddEntry(const std::string& line, nlohmann::ordered_json entry) {
    if (m_json) {
        m_results.push_back(std::move(entry));
    } else {
        m_out << line << std::endl;
    }
}

int CReport::Finish() {
    if (m_json) {
        if (m_device) m_document["device"] = m_device->Json();
        m_document["results"] = m_results;
        m_out << JsonText(m_document) << std::endl;
    }
    return m_failed ? kExitDeviceFailed : kExitOk;
}
