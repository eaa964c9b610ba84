#include "BusPoll.h"

#include <algorithm>

#include "Monitor.h"

namespace {

template <class T>
std::vector<T> WithoutRepeats(std::vector<T> items) {
    std::vector<T> kept;
    for (const T& item : items) {
        if (std::find(kept.begin(), kept.end(), item) == kept.end()) kept.push_back(item);
    }
    return kept;
}

}  // namespace

std::uint16_t RegisterOf(Reading reading) {
    // Temperature is the second word of the humidity/temperature pair.
    const ReadingInfo& info = InfoOf(reading);
    return static_cast<std::uint16_t>(info.firstRegister + (info.usesValue2 ? 1 : 0));
}

std::string UnitWordText(Reading reading, std::uint16_t word) {
    return SampleText(reading, Sample{.word = word, .outcome = SampleOutcome::Ok});
}

std::string UnitOutcomeText(const OpOutcome& outcome) { return SampleOutcomeText(SampleOutcomeOf(outcome)); }

std::vector<std::string> UnitLogRow(const UnitSample& sample, const std::string& time, std::size_t readings) {
    std::vector<std::string> row = {time, std::to_string(sample.address)};
    if (!sample.outcome.Ok()) {
        row.resize(2 + readings, UnitOutcomeText(sample.outcome));
        return row;
    }
    for (const auto& [reading, word] : sample.words) row.push_back(UnitWordText(reading, word));
    return row;
}

CBusPoller::CBusPoller(CDeviceSession& session, std::vector<std::uint8_t> units, std::vector<Reading> readings,
                       std::chrono::milliseconds replyTimeout)
    : m_session(session),
      m_units(WithoutRepeats(std::move(units))),
      m_readings(WithoutRepeats(std::move(readings))),
      m_replyTimeout(replyTimeout),
      m_counters(m_units.size()) {
    if (m_readings.empty()) return;
    std::uint16_t low = RegisterOf(m_readings.front());
    std::uint16_t high = low;
    for (const Reading reading : m_readings) {
        low = std::min(low, RegisterOf(reading));
        high = std::max(high, RegisterOf(reading));
    }
    // The readings live in registers 0x0000-0x0006: at most 7, as one read takes.
    m_first = low;
    m_count = static_cast<std::uint8_t>(high - low + 1);
}

std::vector<UnitSample> CBusPoller::Poll() {
    std::vector<UnitSample> samples;
    samples.reserve(m_units.size());
    for (std::size_t i = 0; i < m_units.size(); ++i) {
        UnitSample sample;
        sample.address = m_units[i];
        sample.time = std::chrono::system_clock::now();
        const OpResult<std::vector<std::uint16_t>> read =
            m_session.ReadUnitRegisters(sample.address, m_first, m_count, m_replyTimeout);
        sample.outcome = read.outcome;
        Counters& counters = m_counters[i];
        ++counters.polls;
        if (read.Ok()) {
            ++counters.good;
            for (const Reading reading : m_readings) {
                sample.words.emplace_back(reading, read.value.at(RegisterOf(reading) - m_first));
            }
        } else if (read.outcome.status == OpStatus::NoReply) {
            ++counters.noReply;
        } else {
            ++counters.bad;
        }
        samples.push_back(std::move(sample));
    }
    return samples;
}

const CBusPoller::Counters& CBusPoller::CountersOf(std::uint8_t address) const {
    const auto it = std::find(m_units.begin(), m_units.end(), address);
    return it == m_units.end() ? m_none : m_counters[static_cast<std::size_t>(it - m_units.begin())];
}
