#include "CommissioningLoop.h"

#include <thread>

#include "serial/SerialPort.h"

namespace {

using Clock = std::chrono::steady_clock;

// Sleeps `interval` in short steps; false when a stop was asked for meanwhile.
bool Pause(std::chrono::milliseconds interval, const std::function<bool()>& stopRequested) {
    const Clock::time_point end = Clock::now() + interval;
    while (Clock::now() < end) {
        if (stopRequested()) return false;
        std::this_thread::sleep_for(std::min<Clock::duration>(std::chrono::milliseconds(50), end - Clock::now()));
    }
    return !stopRequested();
}

}  // namespace

LoopReport RunCommissioning(CDeviceSession& session, std::uint8_t portNumber, const Profile& profile,
                            const CommissioningOptions& options, CCsvFile& record,
                            const std::function<void(LoopEvent, const std::string&)>& say,
                            const std::function<bool()>& stopRequested,
                            const std::function<void(const UnitRecord&)>& recorded) {
    LoopReport report;
    int nextAddress = options.firstAddress;
    const std::string port = session.Port().DevicePath();
    while (options.count == 0 || report.units < options.count) {
        if (nextAddress > 255) {
            say(LoopEvent::Failed, "no bus address left after 255");
            break;
        }
        // Wait for a unit.
        say(LoopEvent::Waiting, "waiting for unit " + std::to_string(report.units + 1) + " on " + port +
                                    " (searching every " + std::to_string(options.searchInterval.count() / 1000) +
                                    " s)");
        bool found = false;
        while (!found) {
            if (stopRequested()) {
                report.stopped = true;
                return report;
            }
            found = session.Search(portNumber).found != SearchResult::Found::None;
            if (!found && !Pause(options.searchInterval, stopRequested)) {
                report.stopped = true;
                return report;
            }
        }
        say(LoopEvent::Found, "found: address " + std::to_string(session.Device().address) + ", " +
                                  std::to_string(session.Device().baudRate) + " bit/s");

        // Commission it: never interrupted once it has begun.
        const auto address = static_cast<std::uint8_t>(nextAddress);
        const UnitRecord unit = CommissionUnit(session, profile, address, options.baudRate, [&](const ApplyStep& step) {
            say(LoopEvent::Step, "  " + step.name + " = " + step.value.text + ": " + StepText(step));
        });
        ++report.units;
        const bool appended = record.Append(RecordRow(profile, unit));
        if (recorded) recorded(unit);
        if (!appended) {
            report.recordError = record.Error();
            say(LoopEvent::Failed, report.recordError);
            return report;
        }
        if (unit.Ok()) {
            ++nextAddress;
            say(LoopEvent::Done, "done: unit " + std::to_string(report.units) + ", address " +
                                     std::to_string(address) + " \u2014 connect the next unit");
        } else {
            ++report.failed;
            const std::vector<std::string> written = unit.apply.Written();
            std::string list;
            for (const std::string& name : written) list += (list.empty() ? "" : ", ") + name;
            say(LoopEvent::Failed, "unit " + std::to_string(report.units) + " " + unit.verdict +
                                       (list.empty() ? "; nothing was written" : "; written: " + list) +
                                       " \u2014 connect the next unit");
        }
        if (options.count != 0 && report.units >= options.count) break;

        // Wait until it is gone, so that the same unit is not taken twice. A
        // commissioned unit answers where its read-back found it until it is
        // pulled; one that failed may listen at another speed or in another
        // mode than the session believes, so every speed and mode is asked.
        say(LoopEvent::Removing, "waiting for the unit to be disconnected");
        const auto present = [&] { return unit.Ok() ? session.ReadLine().Ok() : session.AnyDeviceAnswers(portNumber); };
        while (present()) {
            if (!Pause(options.goneInterval, stopRequested)) {
                report.stopped = true;
                return report;
            }
        }
    }
    return report;
}
