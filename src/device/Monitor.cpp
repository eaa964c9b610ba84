#include "Monitor.h"

#include <algorithm>

#include "CsvFile.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::duration_cast;
using std::chrono::milliseconds;

}  // namespace

const char* SampleOutcomeText(SampleOutcome outcome) {
    switch (outcome) {
        case SampleOutcome::Ok: return "ok";
        case SampleOutcome::NoReply: return "no reply";
        case SampleOutcome::ShortReply: return "short reply";
        case SampleOutcome::BadCrc: return "bad CRC";
        case SampleOutcome::WrongAddress: return "wrong address";
        case SampleOutcome::BadReply:
        case SampleOutcome::kCount: break;
    }
    return "bad reply";
}

SampleOutcome SampleOutcomeOf(const OpOutcome& outcome) {
    switch (outcome.status) {
        case OpStatus::Ok: return SampleOutcome::Ok;
        case OpStatus::NoReply: return SampleOutcome::NoReply;
        case OpStatus::ShortReply: return SampleOutcome::ShortReply;
        case OpStatus::BadReply:
        case OpStatus::EchoMismatch:
            if (outcome.failedCheck == "CRC") return SampleOutcome::BadCrc;
            if (outcome.failedCheck.starts_with("address ")) return SampleOutcome::WrongAddress;
            break;
    }
    return SampleOutcome::BadReply;
}

CMonitor::CMonitor(CDeviceSession& session) : m_session(session) {}

bool CMonitor::IntervalAllowed(milliseconds interval) {
    return interval >= kShortestInterval && interval <= kLongestInterval;
}

bool CMonitor::SetInterval(milliseconds interval) {
    if (!IntervalAllowed(interval)) return false;
    m_interval = interval;
    m_nextDue = m_start + m_interval * ((m_nextDue - m_start) / m_interval);
    return true;
}

void CMonitor::Start(Clock::time_point now) {
    if (!m_started) {
        m_started = true;
        m_start = now;
        m_startWall = std::chrono::system_clock::now();
    }
    m_nextDue = now;
}

PollRow CMonitor::Poll(Clock::time_point now) {
    PollRow row;
    row.wallTime = std::chrono::system_clock::now();
    // The next due time on the grid after now: a poll that overran skips the
    // ticks it missed instead of catching up in a burst.
    while (m_nextDue <= now) m_nextDue += m_interval;
    if (m_session.InConfiguration() || m_session.Scanning()) return row;
    ++m_polls;
    for (const Reading reading : m_readings) {
        const Clock::time_point asked = Clock::now();
        const OpResult<std::uint16_t> result = m_session.Read(reading);
        const Clock::time_point answered = Clock::now();
        Sample sample;
        sample.timeMs = static_cast<std::uint32_t>(duration_cast<milliseconds>(asked - m_start).count());
        sample.outcome = SampleOutcomeOf(result.outcome);
        sample.word = result.Ok() ? result.value : 0;
        const auto latency = duration_cast<milliseconds>(answered - asked).count();
        sample.latencyMs = static_cast<std::uint16_t>(std::clamp<long long>(latency, 0, 0xFFFF));
        Record(reading, sample);
        row.samples.emplace_back(reading, sample);
    }
    return row;
}

void CMonitor::Record(Reading reading, const Sample& sample) {
    m_series[Index(reading)].push_back(sample);
    ++m_counts[static_cast<std::size_t>(sample.outcome)];
    if (sample.outcome != SampleOutcome::NoReply) {
        ++m_latencies[std::min<std::size_t>(sample.latencyMs, kLatencyBuckets - 1)];
    }
}

void CMonitor::Clear() {
    for (std::vector<Sample>& series : m_series) std::vector<Sample>().swap(series);
    m_counts.fill(0);
    m_latencies.fill(0);
    m_polls = 0;
}

std::optional<unsigned> CMonitor::LatencyQuantile(double q) const {
    std::uint64_t total = 0;
    for (const std::uint64_t n : m_latencies) total += n;
    if (total == 0) return std::nullopt;
    // The smallest latency that at least q of the exchanges stayed within.
    const auto wanted = static_cast<std::uint64_t>(q * static_cast<double>(total) + 0.999999);
    std::uint64_t seen = 0;
    for (std::size_t ms = 0; ms < kLatencyBuckets; ++ms) {
        seen += m_latencies[ms];
        if (seen >= std::max<std::uint64_t>(wanted, 1)) return static_cast<unsigned>(ms);
    }
    return static_cast<unsigned>(kLatencyBuckets - 1);
}

std::vector<ChartColumn> CMonitor::Decimated(Reading reading, std::uint32_t fromMs, std::uint32_t toMs,
                                             std::size_t columns) const {
    std::vector<ChartColumn> view;
    if (columns == 0 || toMs <= fromMs) return view;
    const double span = static_cast<double>(toMs - fromMs) / static_cast<double>(columns);
    view.resize(columns);
    for (std::size_t c = 0; c < columns; ++c) view[c].fromMs = fromMs + static_cast<std::uint32_t>(span * c);
    const std::vector<Sample>& series = Series(reading);
    // Looked up once: a day's view reads every sample of the day.
    const ValueForm form = InfoOf(reading).form;
    // Samples are in time order: the window's are one run, taken column by
    // column without a division per sample (a day's view reads a day).
    auto it = std::lower_bound(series.begin(), series.end(), fromMs,
                               [](const Sample& s, std::uint32_t t) { return s.timeMs < t; });
    const auto end = std::upper_bound(it, series.end(), toMs,
                                      [](std::uint32_t t, const Sample& s) { return t < s.timeMs; });
    for (std::size_t c = 0; c < columns && it != end; ++c) {
        // The last column also takes the sample at toMs.
        const double limit = c + 1 == columns ? static_cast<double>(toMs) + 1 : fromMs + span * static_cast<double>(c + 1);
        double low = 0, high = 0;
        bool anyOk = false, anyFailed = false;
        for (; it != end && it->timeMs < limit; ++it) {
            if (!it->Ok()) {
                anyFailed = true;
                continue;
            }
            const double value = ValueNumber(form, it->word);
            low = anyOk ? std::min(low, value) : value;
            high = anyOk ? std::max(high, value) : value;
            anyOk = true;
        }
        if (anyOk) {
            view[c].low = low;
            view[c].high = high;
        }
        view[c].gap = anyFailed && !anyOk;
    }
    return view;
}

std::optional<double> SampleValue(Reading reading, const Sample& sample) {
    if (!sample.Ok()) return std::nullopt;
    return ValueNumber(InfoOf(reading).form, sample.word);
}

std::vector<std::string> LogHeader(const std::vector<Reading>& readings, LogRows rows) {
    std::vector<std::string> header = {"time"};
    if (rows == LogRows::Units) header.emplace_back("address");
    for (const Reading reading : readings) header.emplace_back(InfoOf(reading).name);
    return header;
}

std::optional<std::string> OtherReadingsLog(const std::string& path, const std::vector<Reading>& readings,
                                            LogRows rows) {
    if (!HoldsOtherColumns(path, LogHeader(readings, rows))) return std::nullopt;
    return path + ": holds a log of other readings; choose another file or the same readings";
}

std::string SampleText(Reading reading, const Sample& sample) {
    if (!sample.Ok()) return SampleOutcomeText(sample.outcome);
    const std::string text = ValueText(InfoOf(reading).form, sample.word);
    // A status code the window has no word for shows blank there; here its number.
    if (text.find_first_not_of(' ') == std::string::npos) return std::to_string(sample.word);
    return text;
}
