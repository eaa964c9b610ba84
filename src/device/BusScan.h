#pragma once
// The scan of a bus of units: at each speed, one function-03 read of
// registers 0x0000-0x0001 (humidity, temperature) to every address of a range.
// Nothing unaddressed goes out: on a shared bus every unit would answer it at
// once. The scan asks one address per step, so that a window can run it from
// its timer and stop it between two addresses, and the command line in a loop:
//
//   CBusScan scan(session, {.portNumber = 3, .speeds = {9600}});
//   while (scan.Step()) ShowProgress(scan.Speed(), scan.Address(), scan.Found().size());

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "DeviceSession.h"

// A silent address costs this much and the reply's time on the wire (37 ms at
// 2400 bit/s, 9 ms at 9600). A unit answers a read within a few milliseconds
// of the request's end (15 ms is slow); the wait starts when the request has
// left the port.
inline constexpr std::chrono::milliseconds kDefaultScanReplyTimeout{30};
inline constexpr std::uint8_t kHighestUnitAddress = 247;
// The waits a scan may be given, in ms: below the shortest even a quick unit
// would be missed, above the longest a whole bus takes the better part of an hour.
inline constexpr unsigned kShortestScanReplyTimeout = 5;
inline constexpr unsigned kLongestScanReplyTimeout = 2000;

// How many units a scan found, in words: "1 unit", "3 units".
inline std::string UnitsText(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " unit" : " units");
}

struct BusScanPlan {
    std::uint8_t portNumber = 1;
    std::uint8_t first = 1;
    std::uint8_t last = kHighestUnitAddress;
    std::vector<std::uint32_t> speeds{2400, 4800, 9600};
    std::chrono::milliseconds replyTimeout = kDefaultScanReplyTimeout;
};

struct FoundUnit {
    std::uint8_t address = 0;
    std::uint32_t baud = 0;
    std::uint16_t temperature = 0;  // tenths of a degree, two's complement
    std::uint16_t humidity = 0;     // tenths of a percent
    // A unit without these registers (the light sensor keeps its one reading
    // at 0x0006) answers with an exception: it is there, with no readings.
    // "" for a unit that gave its readings, else "exception 2".
    std::string refusal;
    bool HasReadings() const { return refusal.empty(); }
};

class CBusScan {
public:
    // Until it is done (or destroyed), the session says it is scanning.
    CBusScan(CDeviceSession& session, BusScanPlan plan);
    ~CBusScan();
    CBusScan(const CBusScan&) = delete;
    CBusScan& operator=(const CBusScan&) = delete;

    // Asks the next address, first opening the port at the next speed when
    // one speed is done; a speed whose port does not open is skipped (see
    // PortFailures). False when nothing was left to ask.
    bool Step();
    bool Done() const { return m_speed >= m_plan.speeds.size(); }

    // The speed and the address last asked (before the first step, the first
    // speed and 0): after the last address of one speed, still that speed.
    std::uint32_t Speed() const;
    std::uint8_t Address() const { return m_lastAsked; }
    // Addresses asked (or skipped with their speed) out of all, for a progress bar.
    std::size_t Asked() const { return m_asked; }
    std::size_t Total() const { return AddressesPerSpeed() * m_plan.speeds.size(); }
    const std::vector<FoundUnit>& Found() const { return m_found; }
    // "COM3 did not open at 4800 bit/s", one per speed skipped.
    const std::vector<std::string>& PortFailures() const { return m_portFailures; }

private:
    std::size_t AddressesPerSpeed() const;
    std::uint32_t PlannedSpeed() const;  // the speed the next step asks at (the last one once done)
    void NextSpeed();
    void ReleaseSession();

    CDeviceSession& m_session;
    const BusScanPlan m_plan;
    std::size_t m_speed = 0;  // index into the plan's speeds
    unsigned m_next = 0;      // next address to ask at this speed
    bool m_lineOpen = false;  // the port is open at the current speed
    bool m_counted = false;   // counted in the session's scans
    std::uint8_t m_lastAsked = 0;
    std::uint32_t m_lastSpeed = 0;
    std::size_t m_asked = 0;
    std::vector<FoundUnit> m_found;
    std::vector<std::string> m_portFailures;
};
