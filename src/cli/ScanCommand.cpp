// scan: every address of a bus at every speed, with addressed reads only.

#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "CliContext.h"
#include "ResultValues.h"
#include "device/BusScan.h"

namespace {

bool IsTerminal(std::FILE* stream) {
#ifdef _WIN32
    return ::_isatty(::_fileno(stream)) != 0;
#else
    return ::isatty(::fileno(stream)) != 0;
#endif
}

// Where the scan has got to, on standard error. On a terminal one line is
// redrawn in place after every address; in a log or a pipe, where a carriage
// return would pile up, a line when each speed is done.
class CScanProgress {
public:
    CScanProgress(std::ostream& err, bool terminal) : m_err(err), m_terminal(terminal) {}
    ~CScanProgress() { Clear(); }
    CScanProgress(const CScanProgress&) = delete;
    CScanProgress& operator=(const CScanProgress&) = delete;

    void Show(const CBusScan& scan, const BusScanPlan& plan) {
        const std::string where = "scan: " + std::to_string(scan.Speed()) + " bit/s, ";
        const std::string found = UnitsText(scan.Found().size()) + " found";
        if (m_terminal) {
            Clear();
            m_line = where + "address " + std::to_string(scan.Address()) + " of " + std::to_string(plan.first) + "-" +
                     std::to_string(plan.last) + ", " + found;
            m_err << m_line << std::flush;
        } else if (scan.Address() == plan.last || scan.Done()) {
            m_err << where + "addresses " + std::to_string(plan.first) + "-" + std::to_string(plan.last) +
                         " asked, " + found
                  << std::endl;
        }
    }

    // Off the screen before anything else is printed there.
    void Clear() {
        if (m_line.empty()) return;
        m_err << '\r' << std::string(m_line.size(), ' ') << '\r' << std::flush;
        m_line.clear();
    }

private:
    std::ostream& m_err;
    const bool m_terminal;
    std::string m_line;  // on the screen now
};

void Report(CliContext& c, const FoundUnit& unit) {
    if (!unit.HasReadings()) {
        const std::string text = "answers, but has no temperature or humidity (" + unit.refusal + ")";
        c.report.AddEntry("address " + std::to_string(unit.address) + " at " + std::to_string(unit.baud) +
                              " bit/s: " + text,
                          {{"name", "unit " + std::to_string(unit.address)},
                           {"ok", true},
                           {"address", unit.address},
                           {"baud", unit.baud},
                           {"readings", nlohmann::ordered_json::object()},
                           {"text", text}});
        return;
    }
    const ReadingInfo& temperature = InfoOf(Reading::Temperature);
    const ReadingInfo& humidity = InfoOf(Reading::Humidity);
    const CliResult t = ReadingResult(temperature.name, temperature.form, unit.temperature);
    const CliResult h = ReadingResult(humidity.name, humidity.form, unit.humidity);
    const std::string address = std::to_string(unit.address);
    c.report.AddEntry("address " + address + " at " + std::to_string(unit.baud) + " bit/s: " + t.name + " " + t.text +
                          ", " + h.name + " " + h.text,
                      {{"name", "unit " + address},
                       {"ok", true},
                       {"address", unit.address},
                       {"baud", unit.baud},
                       {"readings", {{t.name, t.value}, {h.name, h.value}}}});
}

}  // namespace

int RunScan(CliContext& c) {
    const CliRequest& r = c.request;
    c.session.Port().SetDevicePath(r.port.path);
    c.session.StartReceiving();
    const BusScanPlan plan{r.port.number, r.scanFirst, r.scanLast, r.scanSpeeds, r.scanReplyTimeout};
    CBusScan scan(c.session, plan);
    CScanProgress progress(std::cerr, IsTerminal(stderr));
    std::size_t reported = 0;
    std::size_t failures = 0;
    // What the last step brought: each unit as it is found, so that a long
    // scan shows what it has so far, and a speed whose port did not open.
    const auto tell = [&] {
        for (; failures < scan.PortFailures().size(); ++failures) {
            progress.Clear();
            std::cerr << "sentrabus-cli: " << scan.PortFailures()[failures] << ": " << c.watch.OpenFailure()
                      << "; that speed was not scanned" << std::endl;
        }
        for (; reported < scan.Found().size(); ++reported) {
            progress.Clear();
            Report(c, scan.Found()[reported]);
        }
    };
    while (!c.Stopping() && scan.Step()) {
        tell();
        progress.Show(scan, plan);
    }
    progress.Clear();
    if (scan.PortFailures().size() == plan.speeds.size()) {
        const std::string prefix = r.port.path.empty() ? r.port.label + ": " : "";
        c.report.RunError(prefix + c.watch.OpenFailure());
        return kExitPortFailed;
    }
    tell();
    if (scan.Found().empty() && scan.Done()) {
        std::string speeds;
        for (const std::uint32_t speed : plan.speeds) speeds += (speeds.empty() ? "" : ", ") + std::to_string(speed);
        c.report.Add(CliResult::Failure("scan", "no unit answered at " + speeds + " bit/s, addresses " +
                                                    std::to_string(plan.first) + "-" + std::to_string(plan.last)));
    }
    return kExitOk;
}
