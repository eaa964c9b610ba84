// wireless ...: the receiver's channel, sleep time, temperature and humidity
// and its table of 200 addresses, each command inside configuration mode.

#include <algorithm>
#include <string>
#include <vector>

#include "CliContext.h"
#include "ReceiverTableCsv.h"
#include "ResultValues.h"
#include "device/ConfigurationScope.h"
#include "protocol/FrameCodes.h"

namespace {

// How often apply-table configures or clears an address the receiver's table
// does not show as wanted before it gives up on it.
constexpr int kTableTries = 3;

std::string ReceiverName(std::size_t index) { return "receiver-" + std::to_string(index + 1); }


// A value the receiver holds, read; or written and read back.
template <class T>
void ReadOrWrite(CliContext& c, const std::string& name, const std::optional<T>& wanted,
                 OpOutcome (CDeviceSession::*write)(T), OpResult<T> (CDeviceSession::*read)()) {
    if (wanted) {
        const OpOutcome written = (c.session.*write)(*wanted);
        if (!written.Ok()) {
            c.Fail(name, "write failed", written);
            return;
        }
        if (c.Stopping()) return;
    }
    const OpResult<T> now = (c.session.*read)();
    if (!now.Ok()) {
        c.Fail(name, wanted ? "written, but reading it back failed" : "", now.outcome);
        return;
    }
    if (wanted && now.value != *wanted) {
        c.report.Add(CliResult::Failure(name, "written " + std::to_string(*wanted) + ", but the receiver reads back " +
                                                  std::to_string(now.value)));
        return;
    }
    c.report.Add(WholeResult(name, now.value));
}

void ReadTh(CliContext& c) {
    const OpResult<TemperatureHumidity> th = c.session.ReadTemperatureHumidity();
    if (!th.Ok()) {
        c.Fail("temperature", "", th.outcome);
        c.Fail("humidity", "", th.outcome);
        return;
    }
    c.report.Add(ReadingResult("temperature", ValueForm::SignedTenths, th.value.temperature));
    c.report.Add(ReadingResult("humidity", ValueForm::UnsignedTenths, th.value.humidity));
}

void Table(CliContext& c, const ReceiverTable& table) {
    if (c.request.csv) {
        std::string csv = ReceiverTableCsv(table.configBits);
        csv.pop_back();  // the report ends the line
        c.report.Say(csv, true);
        return;
    }
    c.report.Add(WholeResult("sleep-time", table.sleepTime));
    nlohmann::ordered_json configured = nlohmann::ordered_json::array();
    std::string text;
    for (std::size_t index = 0; index < kReceiverAddresses; ++index) {
        if (!IsConfigured(table.configBits, index)) continue;
        configured.push_back(index + 1);
        text += (text.empty() ? "" : " ") + std::to_string(index + 1);
    }
    c.report.Add(CliResult::Success("configured", configured, text.empty() ? "none" : text));
}

// A configure is confirmed by the table in its reply; a clear's reply says no more than that it was heard.
void ConfigureOrClear(CliContext& c, bool configure) {
    for (const std::uint8_t index : c.request.receivers) {
        if (c.Stopping()) return;
        const std::string name = ReceiverName(index);
        if (!configure) {
            const OpOutcome cleared = c.session.ClearReceiver(index);
            if (cleared.Ok()) {
                c.report.Add(CliResult::Success(name, false, "cleared"));
            } else {
                c.Fail(name, "clearing failed", cleared);
            }
            continue;
        }
        const OpResult<ReceiverTable> table = c.session.ConfigureReceiver(index);
        if (!table.Ok()) {
            c.Fail(name, "configuring failed", table.outcome);
        } else if (!IsConfigured(table.value.configBits, index)) {
            c.report.Add(CliResult::Failure(name, "the receiver answered, but its table does not list the address"));
        } else {
            c.report.Add(CliResult::Success(name, true, "configured"));
        }
    }
}

std::vector<std::size_t> Differing(const ReceiverBitmap& now, const ReceiverBitmap& wanted) {
    std::vector<std::size_t> differing;
    for (std::size_t index = 0; index < kReceiverAddresses; ++index) {
        if (IsConfigured(now, index) != IsConfigured(wanted, index)) differing.push_back(index);
    }
    return differing;
}

// Each address apply-table changed, judged by the table the receiver reported last.
void ReportChanged(CliContext& c, const std::vector<std::size_t>& changed, const ReceiverBitmap& now, bool readBack) {
    const ReceiverBitmap& wanted = *c.request.table;
    for (const std::size_t index : changed) {
        const bool configure = IsConfigured(wanted, index);
        const std::string done = configure ? "configured" : "cleared";
        if (IsConfigured(now, index) == configure) {
            c.report.Add(CliResult::Success(ReceiverName(index), configure, readBack ? done : done + ", not read back"));
        } else {
            c.report.Add(CliResult::Failure(ReceiverName(index), readBack ? "the receiver's table does not show it " + done +
                                                                                " after " + std::to_string(kTableTries) + " tries"
                                                                          : "not " + done));
        }
    }
}

// Configures and clears until the receiver's table is the file's, from the
// table its enter reply gave; a table read again after each round says what
// is left. Only the addresses that differ are sent.
void ApplyTable(CliContext& c, const ReceiverTable& entered) {
    const ReceiverBitmap& wanted = *c.request.table;
    ReceiverBitmap now = entered.configBits;
    std::vector<std::size_t> changed;
    for (int round = 0; round < kTableTries; ++round) {
        const std::vector<std::size_t> differing = Differing(now, wanted);
        if (differing.empty()) break;
        for (const std::size_t index : differing) {
            if (c.Stopping()) return ReportChanged(c, changed, now, false);
            const auto id = static_cast<std::uint8_t>(index);
            const bool configure = IsConfigured(wanted, index);
            const OpResult<ReceiverTable> configured = configure ? c.session.ConfigureReceiver(id) : OpResult<ReceiverTable>{};
            const OpOutcome outcome = configure ? configured.outcome : c.session.ClearReceiver(id);
            if (!outcome.Ok()) {
                std::erase(changed, index);
                ReportChanged(c, changed, now, false);
                c.Fail(ReceiverName(index), configure ? "configuring failed" : "clearing failed", outcome);
                return;
            }
            if (std::find(changed.begin(), changed.end(), index) == changed.end()) changed.push_back(index);
            // A configure answers with the whole table; a clear only that it was heard.
            if (configure) now = configured.value.configBits;
        }
        // In configuration mode the receiver answers a second enter with its table.
        const OpResult<ReceiverTable> again = c.session.EnterConfiguration();
        if (!again.Ok()) {
            ReportChanged(c, changed, now, false);
            c.Fail("table", "reading it back failed", again.outcome);
            return;
        }
        now = again.value.configBits;
    }
    std::sort(changed.begin(), changed.end());
    ReportChanged(c, changed, now, true);
    const std::vector<int> configured = ConfiguredAddresses(now);
    std::string text;
    for (const int address : configured) text += (text.empty() ? "" : " ") + std::to_string(address);
    c.report.Add(CliResult::Success("configured", configured, text.empty() ? "none" : text));
}

void RunInConfigurationMode(CliContext& c, const ReceiverTable& entered) {
    switch (c.request.command) {
        case CliCommand::WirelessChannel:
            ReadOrWrite(c, "channel", c.request.channel, &CDeviceSession::WriteChannel, &CDeviceSession::ReadChannel);
            return;
        case CliCommand::WirelessSleep:
            ReadOrWrite(c, "sleep-time", c.request.sleepTime, &CDeviceSession::WriteSleepTime,
                        &CDeviceSession::ReadSleepTime);
            return;
        case CliCommand::WirelessTh: ReadTh(c); return;
        case CliCommand::WirelessTable: Table(c, entered); return;
        case CliCommand::WirelessConfigure: ConfigureOrClear(c, true); return;
        case CliCommand::WirelessClear: ConfigureOrClear(c, false); return;
        case CliCommand::WirelessApplyTable: ApplyTable(c, entered); return;
        default: return;
    }
}

}  // namespace

void RunWirelessCommand(CliContext& c) {
    // A receiver that answered the enter frame at all is asked to leave, even
    // after a spoiled reply: it may have switched.
    CConfigurationScope mode(c.session, LeaveRule::AfterAnyAnswer);
    if (!mode.Entered()) {
        c.Fail("configuration-mode", "the receiver did not enter it", mode.Enter().outcome);
    } else if (!c.Stopping()) {
        RunInConfigurationMode(c, mode.Enter().value);
    }
    c.FailIfLeaveFailed(mode.Leave());
}
