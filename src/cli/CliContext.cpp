#include "CliContext.h"

std::string CliContext::Why(const OpOutcome& outcome) const {
    const std::string line = watch.LineFailure();
    if (outcome.status == OpStatus::NoReply && !line.empty()) return outcome.Text() + " (" + line + ")";
    return outcome.Text();
}

void CliContext::Fail(const std::string& name, const std::string& doing, const OpOutcome& outcome) {
    report.Add(CliResult::Failure(name, (doing.empty() ? "" : doing + ": ") + Why(outcome)));
}

void CliContext::FailIfLeaveFailed(const std::optional<OpOutcome>& left) {
    if (left && !left->Ok()) Fail("configuration-mode", "leaving it failed; power the receiver off and on", *left);
}

bool CliContext::Stopping() {
    if (!interrupt.Requested()) return false;
    if (!m_stopSaid) report.Add(CliResult::Failure("interrupted", "stopped on request; nothing more was sent"));
    m_stopSaid = true;
    return true;
}

DeviceDescription CliContext::Device(bool lineSettingsKnown) const {
    const CurrentDevice& current = session.Device();
    DeviceDescription device{current.address, current.baudRate, current.RegisterMode(), std::nullopt, false};
    if (device.registerMode && lineSettingsKnown) {
        device.parity = current.parity;
        device.stopBitException = current.StopBitException();
    }
    return device;
}
