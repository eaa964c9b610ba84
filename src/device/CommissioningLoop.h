#pragma once
// A box of identical units commissioned one at a time on one port: wait for a
// unit to answer (a search every 2 s), commission it with the next address,
// append its record row, then wait until it is disconnected (nothing answers
// at any speed in either mode) before waiting for the next. A unit that fails
// gets a failed row and the loop goes on; a unit of another kind than the
// profile's gets one with nothing written.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "Commissioning.h"
#include "CsvFile.h"

struct CommissioningOptions {
    std::uint8_t firstAddress = 1;
    std::optional<std::uint32_t> baudRate;  // none: each unit keeps its own
    int count = 0;                          // units to commission; 0: until stopped
    std::chrono::milliseconds searchInterval{2000};
    std::chrono::milliseconds goneInterval{500};
};

enum class LoopEvent {
    Waiting,   // for a unit to answer
    Found,     // a unit answered
    Step,      // a setting of the unit was written or checked
    Done,      // the unit is commissioned and recorded
    Failed,    // the unit failed and is recorded as such
    Removing,  // waiting for the unit to be disconnected
};

struct LoopReport {
    int units = 0;   // recorded
    int failed = 0;  // of them
    bool stopped = false;     // the caller asked to stop
    std::string recordError;  // a row could not be written: the loop ends
};

// `say` hears each event in words ("done: unit 3, address 12 — connect the
// next unit"); `stopRequested` is asked between units and while waiting, never
// during a unit's writes; `recorded` gets each unit's record as its row is
// appended.
LoopReport RunCommissioning(CDeviceSession& session, std::uint8_t portNumber, const Profile& profile,
                            const CommissioningOptions& options, CCsvFile& record,
                            const std::function<void(LoopEvent, const std::string&)>& say,
                            const std::function<bool()>& stopRequested,
                            const std::function<void(const UnitRecord&)>& recorded = {});
