#include "PortEvents.h"

namespace {

std::string Path(const CPortEvent& event) { return std::string(event.m_path); }

// "<what> <path>: <system's words>", the shape of every I/O failure line.
std::string Failure(const char* what, const CPortEvent& event) {
    return std::string(what) + " " + Path(event) + ": " + std::string(event.m_errorText);
}

// What a user who may not open the device has to do about it.
std::string PermissionAdvice(const CPortEvent& event) {
    const std::string group = event.m_deviceGroup.empty() ? std::string("dialout") : std::string(event.m_deviceGroup);
    const std::string which = event.m_deviceGroup.empty() ? "the device's group (usually dialout)"
                                                           : "the device's group " + group;
    return "; the user must be in " + which + " (sudo usermod -aG " + group + " $USER), then log in again";
}

std::string OpenFailureText(const CPortEvent& event) {
    const CLineSettings& line = event.m_line;
    if (event.m_reason == OpenFailure::Busy) {
        return Path(event) + " is busy: another program has it open (" + std::string(event.m_errorText) + ")";
    }
    switch (event.m_step) {
        case PortStep::Select: return "no serial device is selected";
        case PortStep::LineSpeed: return std::to_string(line.m_baud) + " bit/s is not a supported line speed";
        case PortStep::CharacterFrame:
            return "unsupported character frame: " + std::to_string(line.m_byteSize) + " data bits, parity code " +
                   std::to_string(line.m_parity) + ", stop-bit code " + std::to_string(line.m_stopBits);
        case PortStep::CheckTerminal: return Path(event) + " is not a serial device";
        case PortStep::ReadSettings: return Failure("cannot read the line settings of", event);
        case PortStep::Configure: return Failure("cannot configure", event);
        case PortStep::TakeExclusive:
            return "cannot take " + Path(event) + " exclusively: " + std::string(event.m_errorText);
        case PortStep::OpenDevice:
            if (event.m_reason == OpenFailure::Permission) return Failure("cannot open", event) + PermissionAdvice(event);
            return Failure("cannot open", event);
        default: return Failure("cannot open", event);
    }
}

std::string IoFailureText(const CPortEvent& event) {
    switch (event.m_step) {
        case PortStep::Query: return Failure("cannot query", event);
        case PortStep::HangUp: return "lost " + Path(event) + ": the device hung up";
        case PortStep::Write: return Failure("cannot write", event);
        case PortStep::WriteTimeout: return Failure("timed out writing", event);
        case PortStep::WaitToWrite: return Failure("cannot wait to write", event);
        default: return Failure("cannot read", event);
    }
}

// "COM3 (/dev/ttyUSB2)"; a device opened by its path has no list entry.
std::string PortName(const CPortEvent& event) {
    if (event.m_portNumber == 0) return Path(event);
    return "COM" + std::to_string(event.m_portNumber) + " (" + Path(event) + ")";
}

}  // namespace

std::string PortEventText(const CPortEvent& event) {
    switch (event.m_kind) {
        case PortEventKind::Opened:
            return "opened " + PortName(event) + " at " + std::to_string(event.m_line.m_baud) + " bit/s";
        case PortEventKind::Closed: return "closed " + PortName(event);
        case PortEventKind::OpenFailed: return OpenFailureText(event);
        case PortEventKind::Vanished:
        case PortEventKind::ReadFailed:
        case PortEventKind::WriteFailed: return IoFailureText(event);
        case PortEventKind::IoPending: break;
    }
    return std::string(kIoPendingTrace);
}

std::string_view OpenFailureAdvice(OpenFailure reason) {
    switch (reason) {
        case OpenFailure::None: return "";
        case OpenFailure::NotSelected: return "no port is selected: choose one in the port list";
        case OpenFailure::Missing: return "no such device: check the adapter is plugged in and the port number";
        case OpenFailure::Permission:
            return "permission denied: the user must be in the device's group, such as dialout (then log in again)";
        case OpenFailure::Busy: return "busy: another program holds the port; close it and try again";
        case OpenFailure::NotATerminal: return "not a serial device: the port leads to something else";
        case OpenFailure::BadSettings: return "the device refuses these line settings";
        case OpenFailure::Other: break;
    }
    return "the system refused to open the port";
}
