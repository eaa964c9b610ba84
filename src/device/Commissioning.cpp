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

// Asks the unit, at the port's current speed, for its line as it now reports it.
std::string ReadBack(CDeviceSession& session, const char* setting, OpResult<DeviceLine>& line) {
    line = session.ReadLine();
    return line.Ok() ? std::string() : Failed(setting, "read-back: " + line.outcome.Text());
}

// The unit as it now answers, in the mode it was found in.
void Assume(CDeviceSession& session, std::uint8_t address, std::uint32_t baudRate) {
    session.AssumeDevice(address, baudRate, session.Device().RegisterMode());
}

// Sets the line setting and checks it by reading the line back; empty when it
// holds. `restart` is set for a register-mode unit that keeps answering at its
// old speed and takes the new one at its next start.
std::string SetLine(CDeviceSession& session, std::uint8_t address, std::optional<std::uint32_t> baudRate,
                    bool& restart) {
    if (address != session.Device().address) {
        const OpOutcome written = session.WriteAddress(address);
        if (!written.Ok()) return Failed("address", written.Text());
        // A register-frame device reports its new address only when read.
        Assume(session, address, session.Device().baudRate);
    }
    const std::uint32_t oldRate = session.Device().baudRate;
    const bool baudChanged = baudRate && *baudRate != oldRate;
    if (baudChanged) {
        const OpOutcome written = session.WriteBaud(*FdBaudCode(*baudRate));
        if (!written.Ok()) return Failed("baud", written.Text());
        // The device answered at the old speed and listens at the new one now.
        if (!session.OpenPort(session.Port().PortNumber(), *baudRate)) return Failed("baud", "the port did not reopen");
        Assume(session, session.Device().address, *baudRate);
    }
    // After a baud change it is the speed that a failed read-back calls in doubt.
    const char* setting = baudChanged ? "baud" : "address";
    OpResult<DeviceLine> line;
    std::string failure = ReadBack(session, setting, line);
    if (!failure.empty() && baudChanged && session.Device().RegisterMode()) {
        // A register-mode unit may take the new speed only at its next start: asked at the old one.
        if (!session.OpenPort(session.Port().PortNumber(), oldRate)) return Failed("baud", "the port did not reopen");
        if (ReadBack(session, setting, line).empty()) {
            failure.clear();
            restart = true;
        }
    }
    if (!failure.empty()) return failure;
    if (line.value.address != address) return Failed("address", "reads back " + std::to_string(line.value.address));
    if (baudRate && line.value.baudRate != *baudRate) {
        return Failed("baud", "reads back " + std::to_string(line.value.baudRate));
    }
    return {};
}

// Empty when the unit answers as a device of the profile's kind, or as none
// (the apply's first read then says what went wrong); else which kind it is.
std::string KindFailure(CDeviceSession& session, ProfileKind kind) {
    // The kinds are asked in turn, not just the profile's: a transmitter also
    // answers the register read that an LCD controller's relay query is.
    const std::optional<ProfileKind> found = DetectProfileKind(session);
    if (!found || found == kind) return {};
    return "the profile is for a " + ProfileKindText(kind) + ", but the unit answers as a " + ProfileKindText(*found);
}

}  // namespace

UnitRecord CommissionUnit(CDeviceSession& session, const Profile& profile, std::uint8_t address,
                          std::optional<std::uint32_t> baudRate, const std::function<void(const ApplyStep&)>& progress) {
    UnitRecord unit;
    unit.port = session.Port().DevicePath();
    unit.before = {session.Device().address, session.Device().baudRate};
    // A unit of another kind would take the profile's words for other settings: nothing is written to it.
    if (const std::string kind = KindFailure(session, profile.kind); !kind.empty()) {
        unit.apply = NotApplied(session, profile, "kind: " + kind);
        unit.verdict = Failed("kind", kind);
        unit.after = unit.before;
        unit.time = IsoTimeNow();
        return unit;
    }
    unit.apply = ApplyProfile(session, profile, /*dryRun=*/false, progress);
    bool restart = false;
    if (!unit.apply.Ok()) {
        unit.verdict = "failed: " + unit.apply.FirstFailure();
    } else if (const std::string line = SetLine(session, address, baudRate, restart); !line.empty()) {
        unit.verdict = line;
    } else {
        unit.verdict = restart ? "ok; restart the unit: it answers at " + std::to_string(unit.before.baudRate) +
                                     " bit/s until it takes " + std::to_string(*baudRate) + " bit/s at its next start"
                               : "ok";
        for (const Reading reading : SnapshotReadings(profile.kind)) {
            const OpResult<std::uint16_t> word = session.Read(reading);
            if (word.Ok()) unit.readings.emplace_back(InfoOf(reading).name, ValueText(InfoOf(reading).form, word.value));
        }
    }
    unit.after = {session.Device().address, session.Device().baudRate};
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
        row.push_back(holds ? step.value.text : StepText(step));
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
