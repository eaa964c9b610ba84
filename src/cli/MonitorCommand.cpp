// monitor: the chosen readings polled at an interval, one line per poll (a
// JSON line with --json) and a CSV row per poll, until --count polls or
// Ctrl+C; then the counters. With --units, several units of a bus, each asked
// in turn: a line and a row per unit per poll, and the counters per unit.

#include <iostream>
#include <optional>
#include <thread>

#include <nlohmann/json.hpp>

#include "CliContext.h"
#include "InputFiles.h"
#include "device/BusPoll.h"
#include "device/CsvFile.h"
#include "device/Monitor.h"

namespace {

using Clock = std::chrono::steady_clock;
using Json = nlohmann::ordered_json;

// Without names: the readings the device answers, each tried once.
std::vector<Reading> AnsweredReadings(CDeviceSession& session) {
    std::vector<Reading> answered;
    for (const ReadingInfo& info : AllReadings()) {
        if (session.Read(info.reading).Ok()) answered.push_back(info.reading);
    }
    return answered;
}

std::string TextLine(const PollRow& row, const std::string& time) {
    std::string line = time;
    for (const auto& [reading, sample] : row.samples) {
        line += "  " + std::string(InfoOf(reading).name) + " " + SampleText(reading, sample);
    }
    return line;
}

Json JsonLine(const PollRow& row, const std::string& time) {
    Json samples = Json::array();
    for (const auto& [reading, sample] : row.samples) {
        Json entry{{"name", InfoOf(reading).name}, {"ok", sample.Ok()}};
        if (sample.Ok()) {
            entry["value"] = *SampleValue(reading, sample);
            entry["text"] = SampleText(reading, sample);
        } else {
            entry["error"] = SampleOutcomeText(sample.outcome);
        }
        entry["latency_ms"] = sample.latencyMs;
        samples.push_back(entry);
    }
    return Json{{"time", time}, {"samples", samples}};
}

// Sleeps until `due`, in short steps; false when a stop was asked for meanwhile.
bool WaitUntil(Clock::time_point due, CInterruptHold& interrupt) {
    while (Clock::now() < due) {
        if (interrupt.Requested()) return false;
        std::this_thread::sleep_for(std::min<Clock::duration>(std::chrono::milliseconds(20), due - Clock::now()));
    }
    return !interrupt.Requested();
}

std::string UnitLine(const UnitSample& sample, const std::string& time) {
    std::string line = time + "  unit " + std::to_string(sample.address);
    if (!sample.outcome.Ok()) return line + "  " + UnitOutcomeText(sample.outcome);
    for (const auto& [reading, word] : sample.words) {
        line += "  " + std::string(InfoOf(reading).name) + " " + UnitWordText(reading, word);
    }
    return line;
}

Json UnitJson(const UnitSample& sample, const std::string& time) {
    Json line{{"time", time}, {"address", sample.address}, {"ok", sample.outcome.Ok()}};
    if (!sample.outcome.Ok()) {
        line["error"] = UnitOutcomeText(sample.outcome);
        return line;
    }
    Json readings = Json::array();
    for (const auto& [reading, word] : sample.words) {
        readings.push_back({{"name", InfoOf(reading).name},
                            {"value", ValueNumber(InfoOf(reading).form, word)},
                            {"text", UnitWordText(reading, word)}});
    }
    line["readings"] = readings;
    return line;
}

}  // namespace

std::optional<int> OpenMonitorLog(CliContext& c, const std::vector<Reading>& readings, LogRows rows,
                                  std::optional<CCsvFile>& csv) {
    if (c.request.csvPath.empty()) return std::nullopt;
    if (const auto unusable = UnusableMonitorLog(c.request.csvPath, readings, rows)) {
        c.report.RunError("--csv: " + *unusable);
        return kExitUsage;
    }
    csv.emplace(c.request.csvPath, LogHeader(readings, rows));
    if (!csv->Valid()) {
        c.report.Add(CliResult::Failure(c.request.command == CliCommand::Serve ? "serve" : "monitor", csv->Error()));
        return kExitOk;
    }
    if (csv->EndedLines() > 0) c.report.Say(csv->EndedLinesText(c.request.csvPath), false);
    return std::nullopt;
}

CliResult UnitCountersResult(std::uint8_t unit, const CBusPoller::Counters& n, bool missedPollFails) {
    const std::string name = "unit " + std::to_string(unit);
    const std::string summary = "polls " + std::to_string(n.polls) + ", good " + std::to_string(n.good) +
                                ", no reply " + std::to_string(n.noReply) + ", bad " + std::to_string(n.bad);
    if (missedPollFails && n.good != n.polls) return CliResult::Failure(name, "not every poll answered: " + summary);
    const Json value{{"polls", n.polls}, {"good", n.good}, {"no reply", n.noReply}, {"bad", n.bad}};
    return CliResult::Success(name, value, summary);
}

int RunUnitsMonitor(CliContext& c) {
    const CliRequest& r = c.request;
    std::optional<CCsvFile> csv;
    if (const std::optional<int> ended = OpenMonitorLog(c, r.readings, LogRows::Units, csv)) return *ended;
    CBusPoller poller(c.session, r.units, r.readings, kUnitReplyTimeout);

    // Polls on a fixed grid from the start: one that overran skips the ticks it
    // missed instead of catching up in a burst. Ctrl+C ends the run between polls.
    Clock::time_point due = Clock::now();
    for (int poll = 0; r.monitorCount == 0 || poll < r.monitorCount; ++poll) {
        if (!WaitUntil(due, c.interrupt)) break;
        const Clock::time_point started = Clock::now();
        for (const UnitSample& sample : poller.Poll()) {
            const std::string time = IsoTime(sample.time);
            if (r.json) {
                std::cout << UnitJson(sample, time).dump() << std::endl;
            } else {
                std::cout << UnitLine(sample, time) << std::endl;
            }
            if (csv && !csv->Append(UnitLogRow(sample, time, poller.Readings().size()))) {
                c.report.Add(CliResult::Failure("monitor", csv->Error()));
                return kExitOk;
            }
        }
        while (due <= started) due += r.monitorInterval;
    }

    // The counters, a result per unit: a unit that missed a poll fails the run.
    for (const std::uint8_t unit : poller.Units()) c.report.Add(UnitCountersResult(unit, poller.CountersOf(unit), true));
    return kExitOk;
}

int RunMonitorCommand(CliContext& c) {
    if (!c.request.units.empty()) return RunUnitsMonitor(c);
    CMonitor monitor(c.session);
    monitor.SetInterval(c.request.monitorInterval);
    monitor.SetReadings(c.request.readings.empty() ? AnsweredReadings(c.session) : c.request.readings);
    if (monitor.Readings().empty()) {
        c.report.Add(CliResult::Failure("monitor", "the device answers none of the readings"));
        return kExitOk;
    }
    std::optional<CCsvFile> csv;
    if (const std::optional<int> ended = OpenMonitorLog(c, monitor.Readings(), LogRows::Device, csv)) return *ended;

    monitor.Start(Clock::now());
    bool failed = false;
    for (int poll = 0; c.request.monitorCount == 0 || poll < c.request.monitorCount; ++poll) {
        if (!WaitUntil(monitor.NextPollDue(), c.interrupt)) break;
        const PollRow row = monitor.Poll(Clock::now());
        const std::string time = IsoTimeNow();
        std::vector<std::string> fields = {time};
        for (const auto& [reading, sample] : row.samples) {
            fields.push_back(SampleText(reading, sample));
            failed = failed || !sample.Ok();
        }
        if (c.request.json) {
            std::cout << JsonLine(row, time).dump() << std::endl;
        } else {
            std::cout << TextLine(row, time) << std::endl;
        }
        if (csv && !csv->Append(fields)) {
            c.report.Add(CliResult::Failure("monitor", csv->Error()));
            return kExitOk;
        }
    }

    // The counters: a summary line, and in the JSON document one result.
    Json counts = Json::object();
    std::string summary = "polls " + std::to_string(monitor.Polls());
    for (std::size_t o = 0; o < static_cast<std::size_t>(SampleOutcome::kCount); ++o) {
        const auto outcome = static_cast<SampleOutcome>(o);
        counts[SampleOutcomeText(outcome)] = monitor.Count(outcome);
        summary += ", " + std::string(SampleOutcomeText(outcome)) + " " + std::to_string(monitor.Count(outcome));
    }
    Json value{{"polls", monitor.Polls()}, {"counts", counts}};
    if (const auto median = monitor.LatencyMedian()) {
        value["latency_ms"] = {{"median", *median}, {"p99", *monitor.LatencyP99()}};
        summary += "; latency median " + std::to_string(*median) + " ms, 99th percentile " +
                   std::to_string(*monitor.LatencyP99()) + " ms";
    }
    c.report.Say(summary, /*answer=*/true);
    if (failed) {
        c.report.Add(CliResult::Failure("monitor", "not every reading answered: " + summary));
    } else {
        c.report.Add(CliResult::Success("monitor", value, summary));
    }
    return kExitOk;
}
