#pragma once
// Watching a device over time: the chosen readings polled at an interval, each
// sample kept with its time, its value or what became of the exchange, and its
// latency; counters per outcome and the latency's median and 99th percentile.
//
// The monitor runs its exchanges on the session like any operation, on the
// thread that calls Poll, so its frames never interleave with a window's: an
// operation asked for meanwhile waits for the poll in flight. It polls nothing
// while a wireless receiver is in configuration mode. The caller keeps time:
// NextPollDue says when the next poll is due, on a fixed grid from the start,
// so that slow polls do not make the interval drift.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DeviceSession.h"

enum class SampleOutcome : std::uint8_t { Ok, NoReply, ShortReply, BadCrc, WrongAddress, BadReply, kCount };

// "ok", "no reply", "short reply", "bad CRC", "wrong address", "bad reply".
const char* SampleOutcomeText(SampleOutcome outcome);
SampleOutcome SampleOutcomeOf(const OpOutcome& outcome);

// 12 bytes: a day at 1 Hz of eight readings is 691 200 of them, about 8 MB.
struct Sample {
    std::uint32_t timeMs = 0;  // since the monitor's start
    std::uint16_t word = 0;    // the device's word, when Ok
    std::uint16_t latencyMs = 0;
    SampleOutcome outcome = SampleOutcome::NoReply;

    bool Ok() const { return outcome == SampleOutcome::Ok; }
};

// One poll: a sample per polled reading, in the order they were asked for.
struct PollRow {
    std::chrono::system_clock::time_point wallTime;
    std::vector<std::pair<Reading, Sample>> samples;
};

// One column of a decimated series: the lowest and highest value among the
// samples that fall in it. A column with samples none of which has a value is
// a gap (the device did not answer); one without samples is neither.
struct ChartColumn {
    std::uint32_t fromMs = 0;
    std::optional<double> low;
    std::optional<double> high;
    bool gap = false;
};

class CMonitor {
public:
    static constexpr std::chrono::milliseconds kShortestInterval{200};
    static constexpr std::chrono::milliseconds kLongestInterval{60000};

    explicit CMonitor(CDeviceSession& session);

    // Which readings each poll reads, in this order.
    void SetReadings(std::vector<Reading> readings) { m_readings = std::move(readings); }
    const std::vector<Reading>& Readings() const { return m_readings; }
    // False when outside 0.2 to 60 s.
    bool SetInterval(std::chrono::milliseconds interval);
    std::chrono::milliseconds Interval() const { return m_interval; }
    static bool IntervalAllowed(std::chrono::milliseconds interval);

    // Starts the grid of due times at `now` (the first poll is due at once).
    // The first start also sets the time that samples count from, which a
    // later start (after a pause) keeps, so that the series stay in time order.
    void Start(std::chrono::steady_clock::time_point now);
    // The wall-clock time that the samples' timeMs count from.
    std::chrono::system_clock::time_point StartWallTime() const { return m_startWall; }
    std::chrono::steady_clock::time_point NextPollDue() const { return m_nextDue; }
    // Polls every chosen reading once and moves the grid past `now`. Nothing
    // (an empty row) while the receiver is in configuration mode.
    PollRow Poll(std::chrono::steady_clock::time_point now);

    // Keeps a sample taken elsewhere (Poll keeps its own): counted and kept
    // as if polled.
    void Record(Reading reading, const Sample& sample);

    // Forgets every sample and counter; the grid goes on.
    void Clear();

    const std::vector<Sample>& Series(Reading reading) const { return m_series[Index(reading)]; }
    std::uint64_t Count(SampleOutcome outcome) const { return m_counts[static_cast<std::size_t>(outcome)]; }
    std::uint64_t Polls() const { return m_polls; }
    // Of the exchanges that got any reply, in ms; nullopt before the first.
    std::optional<unsigned> LatencyMedian() const { return LatencyQuantile(0.5); }
    std::optional<unsigned> LatencyP99() const { return LatencyQuantile(0.99); }

    // The series from `fromMs` to `toMs` (both included: the last sample
    // belongs in the view) in `columns` columns, as a chart draws it: a view
    // of the data, which stays whole.
    std::vector<ChartColumn> Decimated(Reading reading, std::uint32_t fromMs, std::uint32_t toMs,
                                       std::size_t columns) const;

private:
    static std::size_t Index(Reading reading) { return static_cast<std::size_t>(reading); }
    std::optional<unsigned> LatencyQuantile(double q) const;

    // The latencies by the millisecond, up to the longest wait of a poll.
    static constexpr std::size_t kLatencyBuckets = 1001;

    CDeviceSession& m_session;
    std::vector<Reading> m_readings;
    std::chrono::milliseconds m_interval{1000};
    std::chrono::steady_clock::time_point m_start;
    std::chrono::system_clock::time_point m_startWall;
    bool m_started = false;
    std::chrono::steady_clock::time_point m_nextDue;
    std::array<std::vector<Sample>, 8> m_series;
    std::array<std::uint64_t, static_cast<std::size_t>(SampleOutcome::kCount)> m_counts{};
    std::array<std::uint64_t, kLatencyBuckets> m_latencies{};
    std::uint64_t m_polls = 0;
};

// The value a sample stands for, in the reading's units (a gap has none).
std::optional<double> SampleValue(Reading reading, const Sample& sample);
// A sample as a CSV field and a line of text: the value as the window shows
// it, or the outcome's words.
std::string SampleText(Reading reading, const Sample& sample);
// A row per poll of one device, or a row per unit per poll of a bus of units.
enum class LogRows { Device, Units };
// The columns of the log of these readings: the time, the unit's address in a
// log of units, then each reading.
std::vector<std::string> LogHeader(const std::vector<Reading>& readings, LogRows rows = LogRows::Device);
// Why the log of `readings` cannot go to the CSV file at `path` ("<path>: holds
// a log of other readings; ..."): its rows would fall under another header.
// nullopt when the file is new, empty or a log of these readings.
std::optional<std::string> OtherReadingsLog(const std::string& path, const std::vector<Reading>& readings,
                                            LogRows rows = LogRows::Device);
