#pragma once
// Watching several units on one bus: each poll asks every unit in turn with
// one addressed function-03 read covering the registers of every wanted
// reading (from the lowest to the highest, so adjacent registers come in one
// read), and waits for its reply or its timeout before the next unit is
// asked, so that two requests are never on the wire at once. Nothing
// unaddressed goes out: every unit on a shared bus would answer it at once.
//
//   CBusPoller poller(session, {12, 13, 20}, {Reading::Temperature, Reading::Humidity}, 100ms);
//   for (const UnitSample& s : poller.Poll()) Show(s.address, s.outcome.Ok() ? s.words : ...);
//
// The port must be open at the bus's speed; the session's current device is
// neither used nor changed. Same thread as the session's other operations.

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "DeviceSession.h"

// What one unit gave in one poll: the wanted readings' words in the order
// they were asked for (the catalogue's forms decode them), or, when the read
// failed, its outcome and no words.
struct UnitSample {
    std::uint8_t address = 0;
    std::chrono::system_clock::time_point time;  // when the unit was asked
    OpOutcome outcome;
    std::vector<std::pair<Reading, std::uint16_t>> words;
};

class CBusPoller {
public:
    struct Counters {
        std::uint64_t polls = 0;    // reads asked of the unit
        std::uint64_t good = 0;
        std::uint64_t noReply = 0;
        std::uint64_t bad = 0;      // a reply that did not pass: short, CRC, address, length
    };

    // Each unit is asked once per poll however often it is listed, and each
    // reading given once; without readings a poll asks each unit for its
    // first register only, which says whether it answers.
    CBusPoller(CDeviceSession& session, std::vector<std::uint8_t> units, std::vector<Reading> readings,
               std::chrono::milliseconds replyTimeout);

    // One read per unit, in the order of the units; a sample per unit.
    std::vector<UnitSample> Poll();

    const std::vector<std::uint8_t>& Units() const { return m_units; }
    const std::vector<Reading>& Readings() const { return m_readings; }
    // The block each read asks for.
    std::uint16_t FirstRegister() const { return m_first; }
    std::uint8_t RegisterCount() const { return m_count; }
    // All zero for an address that is not polled.
    const Counters& CountersOf(std::uint8_t address) const;

private:
    CDeviceSession& m_session;
    std::vector<std::uint8_t> m_units;
    std::vector<Reading> m_readings;
    std::chrono::milliseconds m_replyTimeout;
    std::uint16_t m_first = 0;
    std::uint8_t m_count = 1;
    std::vector<Counters> m_counters;  // by index into m_units
    Counters m_none;                   // what CountersOf gives for another address
};

// The one register that holds `reading`'s word.
std::uint16_t RegisterOf(Reading reading);

// A unit's word for `reading` as the device monitor shows a good sample's,
// and what became of a failed read in its words ("no reply", "bad CRC").
std::string UnitWordText(Reading reading, std::uint16_t word);
std::string UnitOutcomeText(const OpOutcome& outcome);
// A unit's row in the log of a bus (time, address, then each reading): a
// failed read puts its outcome in every reading's cell, so that a unit that
// did not answer never reads as a value.
std::vector<std::string> UnitLogRow(const UnitSample& sample, const std::string& time, std::size_t readings);

// A wait for a unit's reply that a unit answering late still fits in. The read
// itself waits for the request to leave the port and for the reply's time on
// the wire besides. A reply that came after the wait would fall on the next
// unit's request.
inline constexpr std::chrono::milliseconds kUnitReplyTimeout{100};
