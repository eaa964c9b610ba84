#pragma once
// One unit of a box of identical devices made ready for its site: the profile
// applied and verified, then its own bus address and the baud rate set last
// and verified by reading them back at the new speed, the readings it answers
// taken as a snapshot, and one record row written for the handover report.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "DeviceSession.h"
#include "ProfileEngine.h"

struct UnitRecord {
    std::string time;  // ISO 8601, when the unit was finished
    std::string port;
    DeviceLine before;
    DeviceLine after;
    ApplyReport apply;
    std::vector<std::pair<std::string, std::string>> readings;  // name, value text
    // "ok", "ok; restart the unit: ..." (a register-mode unit that takes its
    // new speed at its next start) or "failed: <setting>: <reason>", where the
    // setting is `kind` for a unit of another kind than the profile's.
    std::string verdict;

    bool Ok() const { return verdict.starts_with("ok"); }
};

// Commissions the device the session has found: applies `profile`, then sets
// `address` and `baudRate` (when given and different) and checks them. The
// port follows the device to its new speed. Stops at the first failure; the
// record says what was written before it.
UnitRecord CommissionUnit(CDeviceSession& session, const Profile& profile, std::uint8_t address,
                          std::optional<std::uint32_t> baudRate,
                          const std::function<void(const ApplyStep&)>& progress = {});

// The record's columns for units of this profile, and one unit's row.
std::vector<std::string> RecordHeader(const Profile& profile);
std::vector<std::string> RecordRow(const Profile& profile, const UnitRecord& unit);
