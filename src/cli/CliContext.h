#pragma once
// What every command of a run works with, and the few steps they share.

#include <optional>
#include <string>

#include "CliRequest.h"
#include "InterruptHold.h"
#include "PortWatch.h"
#include "Report.h"
#include "device/BusPoll.h"
#include "device/CsvFile.h"
#include "device/DeviceSession.h"
#include "device/Monitor.h"

struct CliContext {
    CliContext(CDeviceSession& session_, const CliRequest& request_, CReport& report_, const CPortWatch& watch_,
               CInterruptHold& interrupt_)
        : session(session_), request(request_), report(report_), watch(watch_), interrupt(interrupt_) {}

    CDeviceSession& session;
    const CliRequest& request;
    CReport& report;
    const CPortWatch& watch;
    CInterruptHold& interrupt;

    // The outcome's words, with what befell the port when that explains them:
    // "no reply (lost /dev/ttyUSB0: the device hung up ...)".
    std::string Why(const OpOutcome& outcome) const;
    // Adds the failed result `name`: `doing` and why it failed ("write failed: no reply").
    void Fail(const std::string& name, const std::string& doing, const OpOutcome& outcome);
    // A failed leave from a wireless receiver's configuration mode (`left`,
    // nothing when none was sent) as a failed result: the receiver may still
    // be in the mode, and only a power cycle is sure to end it.
    void FailIfLeaveFailed(const std::optional<OpOutcome>& left);
    // True once Ctrl+C or a termination request came: the command sends
    // nothing more. The first time, says so in a failed result.
    bool Stopping();
    // The current device, as the output names it.
    DeviceDescription Device(bool lineSettingsKnown) const;

private:
    bool m_stopSaid = false;
};

// Opens the port and settles the device: the one --address names, the
// register-mode device that answers at 255, or the one the search finds (and
// says what it found). kExitOk, or the status of the run that ends here.
int Connect(CliContext& context);

// Opens the log --csv names for monitor and serve, if any: the run's status
// when that ends it (its message said), nullopt to go on.
std::optional<int> OpenMonitorLog(CliContext& context, const std::vector<Reading>& readings, LogRows rows,
                                  std::optional<CCsvFile>& csv);

// A unit's counters at the end of monitor --units or serve, as its result
// ("polls 5, good 4, no reply 1, bad 0"); with `missedPollFails`, a unit that
// missed a poll fails.
CliResult UnitCountersResult(std::uint8_t unit, const CBusPoller::Counters& counters, bool missedPollFails);

// The speed a bus of units is asked at: --baud, or the windows' 4800.
std::uint32_t UnitsBaud(const CliRequest& request);

// Opens the port for a command that searches by itself (commission); kExitOk,
// or the status of the run that ends here.
int OpenForSearching(CliContext& context);

// The command of the request, on the settled device. Its results go to the report.
void RunLineCommand(CliContext& context);      // address, baud
void RunValueCommand(CliContext& context);     // read, get, set
void RunLcdCommand(CliContext& context);       // lcd mode, lcd relay
void RunWirelessCommand(CliContext& context);  // wireless ...
int RunMonitorCommand(CliContext& context);    // monitor: kExitUsage for a log of other columns
int RunUnitsMonitor(CliContext& context);      // monitor --units, likewise
// These may end the run before its report: kExitOk, or the status it ends with
// (its message said).
int RunProfileCommand(CliContext& context);  // profile save, diff, apply
int RunCommission(CliContext& context);      // commission: searches by itself, no Connect
int RunScan(CliContext& context);            // scan: asks every address itself, no Connect
int RunServeCommand(CliContext& context);    // serve (Linux only): kExitBrokerFailed without a broker
