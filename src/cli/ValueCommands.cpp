// read, get and set: the measurements and the FC parameters by name.

#include "CliContext.h"
#include "ResultValues.h"

namespace {

void ReadReadings(CliContext& c) {
    for (const Reading reading : c.request.readings) {
        if (c.Stopping()) return;
        const ReadingInfo& info = InfoOf(reading);
        const OpResult<std::uint16_t> read = c.session.Read(reading);
        if (read.Ok()) {
            c.report.Add(ReadingResult(info.name, info.form, read.value));
        } else {
            c.Fail(info.name, "", read.outcome);
        }
    }
}

void GetParameters(CliContext& c) {
    for (const Parameter parameter : c.request.parameters) {
        if (c.Stopping()) return;
        const ParameterInfo& info = InfoOf(parameter);
        const OpResult<std::uint16_t> read = c.session.ReadParameter(parameter);
        if (read.Ok()) {
            c.report.Add(ParameterResult(info, read.value));
        } else {
            c.Fail(info.name, "", read.outcome);
        }
    }
}

// Writes one parameter and reads it back; false when it did not take.
bool SetParameter(CliContext& c, const ParameterWrite& write) {
    const ParameterInfo& info = InfoOf(write.parameter);
    const OpOutcome written = c.session.WriteParameter(write.parameter, write.word);
    if (!written.Ok()) {
        c.Fail(info.name, "write failed", written);
        return false;
    }
    const OpResult<std::uint16_t> back = c.session.ReadParameter(write.parameter);
    if (!back.Ok()) {
        c.Fail(info.name, "written, but reading it back failed", back.outcome);
        return false;
    }
    if (back.value != write.word) {
        c.report.Add(CliResult::Failure(info.name, "written " + ValueText(info.form, write.word) +
                                                       ", but the device reads back " +
                                                       ValueText(info.form, back.value)));
        return false;
    }
    c.report.Add(ParameterResult(info, back.value));
    return true;
}

// Each write in turn; after one that did not take, the rest are not sent,
// so that what the device holds stays known.
void SetParameters(CliContext& c) {
    std::string skipped;  // why the writes from here on are not sent
    for (const ParameterWrite& write : c.request.writes) {
        if (skipped.empty() && c.Stopping()) skipped = "not sent: interrupted";
        if (!skipped.empty()) {
            c.report.Add(CliResult::Failure(InfoOf(write.parameter).name, skipped));
        } else if (!SetParameter(c, write)) {
            skipped = "not sent: an earlier write did not take";
        }
    }
}

}  // namespace

void RunValueCommand(CliContext& c) {
    switch (c.request.command) {
        case CliCommand::Read: ReadReadings(c); return;
        case CliCommand::Get: GetParameters(c); return;
        case CliCommand::Set: SetParameters(c); return;
        default: return;
    }
}
