#include "Commissioning.h"

#include "CsvFile.h"
#include "protocol/BaudCodes.h"
#include "serial/SerialPort.h"

namespace {

// The readings a kind answers, for the snapshot.
std::vector<Reading> SnapshotReadings(ProfileKind kind) {
    switch (kind) {
        case ProfileKind::Th:
            return {Reading::Temperature, Reading::Humidity, Reading::WaterLeak, Reading::PowerFailure};
        case ProfileKind::Light: return {Reading::Light};
        case ProfileKind::Lcd:
        case ProfileKind::Wireless: break;
    }
    return {};
}

std::string Failed(const std::string& what, const std::string& why) { return "failed: " + what + ": " + why; }

// Sets the line setting and checks it by reading the line back; empty when it holds.
std::string SetLine(CDeviceSession& session, std::uint8_t address, std::optional<std::uint32_t> baudRate) {
    if (address != session.m_devAddress) {
        const OpOutcome written = session.WriteAddress(address);
        if (!written.Ok()) return Failed("address", written.Text());
        // A register-frame device reports its new address only when read.
        session.m_devAddress = address;
    }
    if (baudRate && *baudRate != session.m_baudRate) {
        const OpOutcome written = session.WriteBaud(*FdBaudCode(*baudRate));
        if (!written.Ok()) return Failed("baud", written.Text());
        // The device answered at the old speed and listens at the new one now.
        if (!session.ReopenPort(session.Port().PortNumber(), *baudRate)) return Failed("baud", "the port did not reopen");
        session.m_baudRate = *baudRate;
    }
    const OpResult<DeviceLine> line = session.ReadLine();
    if (!line.Ok()) return Failed("address", "read-back: " + line.outcome.Text());
    if (line.value.address != address) return Failed("address", "reads back " + std::to_string(line.value.address));
    if (baudRate && line.value.baudRate != *baudRate) {
        return Failed("baud", "reads back " + std::to_string(line.value.baudRate));
    }
    return {};
}

}  // namespace

UnitRecord CommissionUnit(CDeviceSession& session, const Profile& profile, std::uint8_t address,
                          std::optional<std::uint32_t> baudRate, const std::function<void(const ApplyStep&)>& progress) {
    UnitRecord unit;
    unit.port = session.Port().DevicePath();
    unit.before = {session.m_devAddress, session.m_baudRate};
    unit.apply = ApplyProfile(session, profile, /*dryRun=*/false, progress);
    if (!unit.apply.Ok()) {
        unit.verdict = "failed: " + unit.apply.FirstFailure();
    } else if (const std::string line = SetLine(session, address, baudRate); !line.empty()) {
        unit.verdict = line;
    } else {
        unit.verdict = "ok";
        for (const Reading reading : SnapshotReadings(profile.kind)) {
            const OpResult<std::uint16_t> word = session.Read(reading);
            if (word.Ok()) unit.readings.emplace_back(InfoOf(reading).name, ReadingText(InfoOf(reading).form, word.value));
        }
    }
    unit.after = {session.m_devAddress, session.m_baudRate};
    unit.time = IsoTimeNow();
    return unit;
}

std::vector<std::string> RecordHeader(const Profile& profile) {
    std::vector<std::string> header = {"time", "port", "address before", "baud before", "address after", "baud after"};
    for (const auto& [parameter, word] : profile.parameters) header.push_back(InfoOf(parameter).name);
    if (profile.lcdMode) header.push_back("mode");
    if (profile.channel) header.push_back("channel");
    if (profile.sleepTime) header.push_back("sleep-time");
    if (profile.addresses) header.push_back("addresses");
    for (const Reading reading : SnapshotReadings(profile.kind)) header.push_back(InfoOf(reading).name);
    header.push_back("verdict");
    return header;
}

std::vector<std::string> RecordRow(const Profile& profile, const UnitRecord& unit) {
    std::vector<std::string> row = {unit.time,
                                    unit.port,
                                    std::to_string(unit.before.address),
                                    std::to_string(unit.before.baudRate),
                                    std::to_string(unit.after.address),
                                    std::to_string(unit.after.baudRate)};
    // Each setting: the value it holds now, as read back, or what became of it.
    for (const ApplyStep& step : unit.apply.steps) {
        const bool holds = step.result == StepResult::Unchanged || step.result == StepResult::Verified;
        row.push_back(holds ? step.value : StepText(step));
    }
    for (const Reading reading : SnapshotReadings(profile.kind)) {
        std::string value;
        for (const auto& [name, text] : unit.readings) {
            if (name == InfoOf(reading).name) value = text;
        }
        row.push_back(value);
    }
    row.push_back(unit.verdict);
    return row;
}
