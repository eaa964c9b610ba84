#pragma once
// What the serial port tells about itself: each open, each close, each failure
// with its reason, and the debug trace of a read that had to wait. The port
// hands these to one sink (CSerialPort::SetEventSink); the program's sink writes
// them to its log, and a window can show them as rows.
//
// Threads: the sink is called on whichever thread the event happens on, while
// the port holds its own locks. Opens, closes and write failures come on the
// window thread; read failures, a vanished device and the trace come on the
// receive thread. A sink must therefore be cheap, safe to call from both
// threads, and must never call back into the port (that would deadlock).

#include <cstdint>
#include <string>
#include <string_view>

// The character frame and speed asked of the line.
struct CLineSettings {
    std::uint8_t m_byteSize = 8;
    std::uint8_t m_parity = 0;    // 0 none, 1 odd, 2 even
    std::uint8_t m_stopBits = 0;  // 0 one, 2 two
    std::uint32_t m_baud = 4800;
};

enum class PortEventKind : std::uint8_t {
    Opened,       // the port is open and configured: port number, path, line
    Closed,       // an open port was closed: port number, path
    OpenFailed,   // port number, path, line, reason, step, system error
    Vanished,     // the device went away under an open port (adapter pulled)
    ReadFailed,   // any other failure to read: step, system error
    WriteFailed,  // a write failed or timed out: step, system error
    IoPending,    // a read of bytes the driver had counted had to wait
};

// Why an open failed, in the terms a technician can act on.
enum class OpenFailure : std::uint8_t {
    None,
    NotSelected,   // no port is selected in the list
    Missing,       // no such device
    Permission,    // the user may not open it
    Busy,          // another program holds it
    NotATerminal,  // the path is not a serial device
    BadSettings,   // the device or this program refuses the line settings
    Other,
};

// The operation that failed; it decides the words of the log line.
enum class PortStep : std::uint8_t {
    None,
    Select,          // no device path
    LineSpeed,       // the speed has no equivalent on this platform
    CharacterFrame,  // data bits, parity or stop bits have none
    OpenDevice,
    CheckTerminal,
    ReadSettings,
    Configure,
    TakeExclusive,
    Query,         // asking how many bytes wait
    Read,
    HangUp,        // the device reported a hang-up
    Write,
    WriteTimeout,
    WaitToWrite,
};

// One event. The text fields are views that stay valid only during the call of
// the sink: copy what must be kept.
struct CPortEvent {
    PortEventKind m_kind = PortEventKind::IoPending;
    std::uint8_t m_portNumber = 0;  // COMn of the list; 0 when none is selected
    std::string_view m_path;        // the device the port number led to
    CLineSettings m_line;           // Opened and OpenFailed
    OpenFailure m_reason = OpenFailure::None;  // OpenFailed
    PortStep m_step = PortStep::None;
    int m_systemError = 0;          // errno or GetLastError; 0 when there is none
    std::string_view m_errorText;   // the system's words for m_systemError
    std::string_view m_deviceGroup; // OpenFailed for Permission: the group that may open it, when known
};

class IPortEventSink {
public:
    virtual ~IPortEventSink() = default;
    virtual void OnPortEvent(const CPortEvent& event) = 0;
};

// The debug trace a pending read writes, as the port has always written it.
inline constexpr std::string_view kIoPendingTrace = "\n\rIO Pending";

// The event as one log line: "cannot open /dev/ttyUSB0: Permission denied",
// "opened COM1 (/dev/ttyUSB0) at 4800 bit/s", the trace for IoPending.
std::string PortEventText(const CPortEvent& event);

// What a reason means and what to do about it, for a technician:
// "permission denied: the user must be in the device's group, such as dialout".
std::string_view OpenFailureAdvice(OpenFailure reason);
