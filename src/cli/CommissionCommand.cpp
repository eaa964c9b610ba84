// commission: a box of identical units connected one at a time to one cable,
// each given the profile, the next bus address and the baud rate, verified,
// and recorded as one row of a CSV file that keeps every finished row.
//
// Ctrl+C is taken between units and while waiting: a unit's writes always run
// to their end, and what became of each setting is said before the run ends.

#include "CliContext.h"
#include "device/CommissioningLoop.h"

namespace {

nlohmann::ordered_json LineJson(const DeviceLine& line) { return {{"address", line.address}, {"baud", line.baudRate}}; }

// One unit as a result: where it ended up, or why it failed and what it holds
// of the profile.
CliResult UnitResult(int number, const UnitRecord& unit) {
    const std::string name = "unit-" + std::to_string(number);
    const std::vector<std::string> written = unit.apply.Written();
    std::string list;
    for (const std::string& setting : written) list += (list.empty() ? "" : ", ") + setting;
    CliResult result =
        unit.Ok() ? CliResult::Success(name, LineJson(unit.after),
                                       "address " + std::to_string(unit.after.address) + ", " +
                                           std::to_string(unit.after.baudRate) + " bit/s")
                  : CliResult::Failure(name, unit.verdict + "; " + (list.empty() ? "nothing was written" : "written: " + list));
    result.more = {{"time", unit.time}, {"port", unit.port},     {"before", LineJson(unit.before)},
                   {"after", LineJson(unit.after)}, {"written", written}, {"verdict", unit.verdict}};
    return result;
}

}  // namespace

int RunCommission(CliContext& c) {
    const CliRequest& r = c.request;
    const Profile& profile = *r.profile;
    // Before the port: a record that cannot be written ends the run with nothing sent.
    CCsvFile record(r.record, RecordHeader(profile));
    if (!record.Valid()) {
        c.report.RunError(record.Error());
        return kExitUsage;
    }
    if (record.EndedLines() > 0) c.report.Say(record.EndedLinesText(r.record), false);
    if (const int status = OpenForSearching(c); status != kExitOk) return status;

    CommissioningOptions options;
    options.firstAddress = r.firstAddress;
    options.baudRate = r.unitBaud;
    options.count = r.count;
    int units = 0;
    const auto say = [&](LoopEvent, const std::string& words) { c.report.Progress(words); };
    const auto stop = [&] { return c.interrupt.Requested(); };
    const auto recorded = [&](const UnitRecord& unit) {
        // As text the loop's words say how a unit went; a failure is also a line on stderr.
        CliResult result = UnitResult(++units, unit);
        if (!result.ok || r.json) c.report.Add(std::move(result));
    };
    const LoopReport loop = RunCommissioning(c.session, r.port.number, profile, options, record, say, stop, recorded);

    if (!loop.recordError.empty()) {
        c.report.Add(CliResult::Failure("record", loop.recordError + "; the last unit's row is missing"));
        return kExitOk;
    }
    if (loop.stopped) c.report.Progress("stopped on request");
    c.report.Progress(std::to_string(loop.units) + (loop.units == 1 ? " unit" : " units") + " recorded in " + r.record +
                      (loop.failed > 0 ? " (" + std::to_string(loop.failed) + " failed)" : ""));
    if (loop.stopped && r.count != 0 && loop.units < r.count) {
        c.report.Add(CliResult::Failure("interrupted", "stopped on request after " + std::to_string(loop.units) +
                                                           " of " + std::to_string(r.count) + " units"));
    } else if (!loop.stopped && r.count == 0) {
        c.report.Add(CliResult::Failure("addresses", "no bus address left after 255"));
    }
    return kExitOk;
}
