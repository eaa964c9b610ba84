// address and baud: the device's line identity, read or changed and read back
// in the mode the device was found in.

#include "CliContext.h"
#include "ResultValues.h"
#include "protocol/BaudCodes.h"

namespace {

// The result of a write of the line identity, judged by `line`, the read
// that followed it.
void Judge(CliContext& c, const std::string& name, unsigned wanted, const OpResult<DeviceLine>& line) {
    if (!line.Ok()) {
        c.Fail(name, "written, but reading it back failed", line.outcome);
        return;
    }
    c.report.SetDevice(c.Device(c.session.Device().RegisterMode()));
    const unsigned now = name == "address" ? line.value.address : line.value.baudRate;
    if (now != wanted) {
        c.report.Add(CliResult::Failure(name, "written " + std::to_string(wanted) + ", but the device reports " +
                                                  std::to_string(now)));
        return;
    }
    c.report.Add(WholeResult(name, now));
}

bool Reopen(CliContext& c, std::uint32_t rate) {
    if (c.session.OpenPort(c.request.port.number, rate)) return true;
    c.report.Add(CliResult::Failure("baud", "written, but the port did not reopen at " + std::to_string(rate) +
                                                " bit/s: " + c.watch.OpenFailure()));
    return false;
}

void ReadLineValue(CliContext& c, const std::string& name) {
    const OpResult<DeviceLine> line = c.session.ReadLine();
    if (!line.Ok()) {
        c.Fail(name, "", line.outcome);
        return;
    }
    c.report.SetDevice(c.Device(c.session.Device().RegisterMode()));
    c.report.Add(WholeResult(name, name == "address" ? line.value.address : line.value.baudRate));
}

void SetAddress(CliContext& c, std::uint8_t address) {
    const OpOutcome written = c.session.WriteAddress(address);
    if (!written.Ok()) {
        c.Fail("address", "write failed", written);
        return;
    }
    Judge(c, "address", address, c.session.ReadLine());
}

// An FD device answers at the old speed and listens at the new one from then
// on. A register-mode device may take the new speed at once or at its next
// start: it is asked at the new speed first, then at the old one.
void SetBaud(CliContext& c, std::uint32_t rate) {
    const std::uint32_t old = c.session.Port().Baud();
    const OpOutcome written = c.session.WriteBaud(*FdBaudCode(rate));
    if (!written.Ok()) {
        c.Fail("baud", "write failed", written);
        return;
    }
    if (!Reopen(c, rate)) return;
    OpResult<DeviceLine> line = c.session.ReadLine();
    if (!line.Ok() && c.session.Device().RegisterMode() && rate != old) {
        if (!Reopen(c, old)) return;
        line = c.session.ReadLine();
        if (line.Ok()) c.report.Say("the device answers at " + std::to_string(old) + " bit/s until it restarts", false);
    }
    Judge(c, "baud", rate, line);
}

}  // namespace

void RunLineCommand(CliContext& c) {
    const CliRequest& r = c.request;
    if (r.command == CliCommand::Address) {
        if (r.newAddress) {
            SetAddress(c, *r.newAddress);
        } else {
            ReadLineValue(c, "address");
        }
    } else if (r.newBaud) {
        SetBaud(c, *r.newBaud);
    } else {
        ReadLineValue(c, "baud");
    }
}
