// wireless ...: the receiver's channel, sleep time, temperature and humidity
// and its table of 200 addresses, each command inside configuration mode.

#include <string>

#include "ConfigurationMode.h"
#include "ResultValues.h"
#include "protocol/FrameCodes.h"

namespace {

std::string ReceiverName(std::uint8_t index) { return "receiver-" + std::to_string(index + 1); }

bool IsConfigured(const ReceiverTable& table, std::uint8_t index) {
    return (table.configBits[index / 8] >> (index % 8) & 1U) != 0;
}

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
    c.report.Add(ReadingResult("temperature", ReadingForm::SignedTenths, th.value.temperature));
    c.report.Add(ReadingResult("humidity", ReadingForm::UnsignedTenths, th.value.humidity));
}

void Table(CliContext& c, const ReceiverTable& table) {
    c.report.Add(WholeResult("sleep-time", table.sleepTime));
    nlohmann::ordered_json configured = nlohmann::ordered_json::array();
    std::string text;
    for (std::size_t index = 0; index < kReceiverAddresses; ++index) {
        if (!IsConfigured(table, static_cast<std::uint8_t>(index))) continue;
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
        } else if (!IsConfigured(table.value, index)) {
            c.report.Add(CliResult::Failure(name, "the receiver answered, but its table does not list the address"));
        } else {
            c.report.Add(CliResult::Success(name, true, "configured"));
        }
    }
}

}  // namespace

void RunWirelessCommand(CliContext& c) {
    const CConfigurationMode mode(c);
    if (!mode.Entered() || c.Stopping()) return;
    switch (c.request.command) {
        case CliCommand::WirelessChannel:
            ReadOrWrite(c, "channel", c.request.channel, &CDeviceSession::WriteChannel, &CDeviceSession::ReadChannel);
            return;
        case CliCommand::WirelessSleep:
            ReadOrWrite(c, "sleep-time", c.request.sleepTime, &CDeviceSession::WriteSleepTime,
                        &CDeviceSession::ReadSleepTime);
            return;
        case CliCommand::WirelessTh: ReadTh(c); return;
        case CliCommand::WirelessTable: Table(c, mode.Table()); return;
        case CliCommand::WirelessConfigure: ConfigureOrClear(c, true); return;
        case CliCommand::WirelessClear: ConfigureOrClear(c, false); return;
        default: return;
    }
}
