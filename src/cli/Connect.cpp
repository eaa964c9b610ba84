// Opening the port and settling which device a run talks to.

#include "CliContext.h"

namespace {

// The speeds a run without --baud opens at: the windows open at 4800, and a
// register-mode device is searched for at 9600.
constexpr std::uint32_t kFdDefaultBaud = 4800;
constexpr std::uint32_t kRegisterDefaultBaud = 9600;

int PortFailed(CliContext& c) {
    const PortChoice& port = c.request.port;
    const std::string prefix = port.path.empty() ? port.label + ": " : "";
    c.report.RunError(prefix + c.watch.OpenFailure());
    return kExitPortFailed;
}

int NothingFound(CliContext& c, const std::string& what) {
    c.report.RunError(what + " on " + c.request.port.label);
    return kExitDeviceFailed;
}

void Found(CliContext& c) {
    const DeviceDescription device = c.Device(true);
    c.report.SetDevice(device);
    const bool searchOnly = c.request.command == CliCommand::Search;
    c.report.Say((searchOnly ? "" : "found ") + device.Text(), searchOnly);
}

}  // namespace

std::uint32_t UnitsBaud(const CliRequest& request) { return request.baud.value_or(kFdDefaultBaud); }

int Connect(CliContext& c) {
    const CliRequest& r = c.request;
    c.session.Port().SetDevicePath(r.port.path);
    c.session.StartReceiving();

    // A bus of units: no search, whose FD frames every unit would answer at once.
    if (!r.units.empty()) {
        return c.session.OpenPort(r.port.number, UnitsBaud(r)) ? kExitOk : PortFailed(c);
    }

    if (r.address || r.registerMode) {
        const std::uint32_t baud = r.baud.value_or(r.registerMode ? kRegisterDefaultBaud : kFdDefaultBaud);
        if (!c.session.OpenPort(r.port.number, baud)) return PortFailed(c);
        c.session.AssumeDevice(r.address.value_or(0), baud, r.registerMode);
        if (r.address) {
            c.report.SetDevice(c.Device(false));
            return kExitOk;
        }
        // A register-mode device answers at 255 and tells its own address.
        const OpResult<DeviceLine> line = c.session.ReadLine();
        if (!line.Ok()) {
            return NothingFound(c, "no register-mode device answered at address 255 at " + std::to_string(baud) +
                                       " bit/s: " + c.Why(line.outcome));
        }
        Found(c);
        return kExitOk;
    }

    const SearchResult search = c.session.Search(r.port.number);
    switch (search.failure) {
        case SearchResult::Failure::PortOpenFailed:
        case SearchResult::Failure::RegisterPortOpenFailed: return PortFailed(c);
        case SearchResult::Failure::NotFound:
            return NothingFound(c, "no device answered the search (the FD query at 2400, 4800 and 9600 bit/s, "
                                   "the register read at 9600 bit/s)");
        case SearchResult::Failure::None: break;
    }
    Found(c);
    return kExitOk;
}

int OpenForSearching(CliContext& c) {
    c.session.Port().SetDevicePath(c.request.port.path);
    c.session.StartReceiving();
    return c.session.OpenPort(c.request.port.number, kFdDefaultBaud) ? kExitOk : PortFailed(c);
}
