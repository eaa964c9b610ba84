// The serial port on the Win32 communications interface: overlapped I/O with
// one record and event for reading and another for writing, so that a read on
// the receive thread and a write on the window thread can be in flight together.

#include "WindowsApi.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <system_error>

#include "PortWakeup.h"
#include "SerialPortBackend.h"

namespace {

constexpr DWORD kDriverQueueBytes = 10000;
constexpr DWORD kTotalTimeoutMs = 1000;
// A line with no byte either way for this long is looked at less often: a
// poll every millisecond is a system call each time, and under Wine a trip
// to its server too, costing several percent of a core while nothing happens.
constexpr auto kQuietAfter = std::chrono::seconds(1);
using Clock = std::chrono::steady_clock;

std::string ErrorText(DWORD error) {
    return std::system_category().message(static_cast<int>(error));
}

OpenFailure ReasonOfOpenError(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND: return OpenFailure::Missing;
        // A COM port opens only once: "access denied" means another program has it.
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION: return OpenFailure::Busy;
        default: return OpenFailure::Other;
    }
}

// Errors after which the adapter is gone.
bool MeansVanished(DWORD error) {
    return error == ERROR_BAD_COMMAND || error == ERROR_GEN_FAILURE || error == ERROR_DEVICE_REMOVED ||
           error == ERROR_FILE_NOT_FOUND;
}

// An unnamed manual-reset event, created non-signalled.
HANDLE CreateIoEvent() {
    return ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

void PrepareOverlapped(OVERLAPPED& overlapped) {
    const HANDLE event = overlapped.hEvent;
    overlapped = OVERLAPPED{};
    overlapped.hEvent = event;
}

class CSerialPortWin32 final : public CSerialPortBackend {
public:
    explicit CSerialPortWin32(IPortEventSink& events) : m_events(events) {
        m_readOverlapped.hEvent = CreateIoEvent();
        if (m_readOverlapped.hEvent == nullptr) {
            return;
        }
        m_writeOverlapped.hEvent = CreateIoEvent();
        if (m_writeOverlapped.hEvent == nullptr) {
            ::CloseHandle(m_readOverlapped.hEvent);
            m_readOverlapped.hEvent = nullptr;
        }
    }

    ~CSerialPortWin32() override {
        Close();
        if (m_writeOverlapped.hEvent != nullptr) {
            ::CloseHandle(m_writeOverlapped.hEvent);
        }
        if (m_readOverlapped.hEvent != nullptr) {
            ::CloseHandle(m_readOverlapped.hEvent);
        }
    }

    CSerialPortWin32(const CSerialPortWin32&) = delete;
    CSerialPortWin32& operator=(const CSerialPortWin32&) = delete;

    bool Open(const std::string& path, const CLineSettings& line) override;

    void Close() override {
        if (m_hComm != INVALID_HANDLE_VALUE) {
            ::CloseHandle(m_hComm);
            m_hComm = INVALID_HANDLE_VALUE;
        }
    }

    bool IsOpen() const override { return m_hComm != INVALID_HANDLE_VALUE; }
    std::uint32_t Read(std::uint8_t* buffer, std::uint32_t maxBytes) override;
    bool Write(const std::uint8_t* data, std::uint32_t length) override;
    // A communications handle's buffers are flushed once they are on the wire.
    bool Drain() override { return m_hComm != INVALID_HANDLE_VALUE && FlushFileBuffers(m_hComm) != 0; }
    // The receive thread polls the port: a read that waits for data would hold
    // the port's lock. Every millisecond while bytes move, seldom on a quiet line.
    int InputDescriptor() const override {
        if (m_hComm == INVALID_HANDLE_VALUE) {
            return CPortWakeup::kNoInput;
        }
        const auto quietFor = Clock::now().time_since_epoch() - Clock::duration(m_lastActivity.load());
        return quietFor < kQuietAfter ? CPortWakeup::kPolledInput : CPortWakeup::kQuietPolledInput;
    }
    void MarkHungUp() override {}

private:
    void NoteActivity() { m_lastActivity.store(Clock::now().time_since_epoch().count()); }

    // Clears the port's error state; returns the input-queue byte count, or
    // false when the port no longer answers.
    bool ClearError(DWORD& waiting) {
        DWORD errors = 0;
        COMSTAT status{};
        if (::ClearCommError(m_hComm, &errors, &status) == FALSE) {
            return false;
        }
        waiting = status.cbInQue;
        return true;
    }
    void ClearError() {
        DWORD ignored = 0;
        ClearError(ignored);
    }
    void Report(bool& reported, PortEventKind kind, PortStep step, DWORD error) {
        if (!reported) {
            reported = true;
            ReportIo(kind, step, error);
        }
    }
    void ReportRead(PortStep step, DWORD error) {
        Report(m_readFailureReported, MeansVanished(error) ? PortEventKind::Vanished : PortEventKind::ReadFailed,
               step, error);
    }
    void ReportWrite(PortStep step, DWORD error) {
        Report(m_writeFailureReported, PortEventKind::WriteFailed, step, error);
    }
    void ReportIo(PortEventKind kind, PortStep step, DWORD error) {
        TellIo(m_events, kind, m_path, step, static_cast<int>(error), error != 0 ? ErrorText(error) : std::string());
    }
    bool FailOpen(const std::string& path, const CLineSettings& line, PortStep step, OpenFailure reason,
                  DWORD error, const std::string& text) {
        TellOpenFailed(m_events, path, line, step, reason, static_cast<int>(error), text);
        return false;
    }

    IPortEventSink& m_events;
    HANDLE m_hComm = INVALID_HANDLE_VALUE;
    OVERLAPPED m_readOverlapped{};
    OVERLAPPED m_writeOverlapped{};
    std::string m_path;
    // When a byte last went either way, or the port opened (receive thread
    // and writer alike).
    std::atomic<Clock::rep> m_lastActivity{0};
    // A vanished device fails every poll; say so once per open session.
    bool m_readFailureReported = false;
    bool m_writeFailureReported = false;
};

bool CSerialPortWin32::Open(const std::string& path, const CLineSettings& line) {
    if (path.empty()) {
        return FailOpen(path, line, PortStep::Select, OpenFailure::NotSelected, 0, {});
    }
    if (m_readOverlapped.hEvent == nullptr) {
        return FailOpen(path, line, PortStep::OpenDevice, OpenFailure::Other, 0,
                        "the I/O events could not be created");
    }
    const HANDLE comm = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (comm == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return FailOpen(path, line, PortStep::OpenDevice, ReasonOfOpenError(error), error, ErrorText(error));
    }

    // The driver may refuse any of these; the line settings below decide.
    ::SetCommMask(comm, EV_RXCHAR);
    ::SetupComm(comm, kDriverQueueBytes, kDriverQueueBytes);
    ::PurgeComm(comm, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = kTotalTimeoutMs;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = kTotalTimeoutMs;
    ::SetCommTimeouts(comm, &timeouts);

    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    bool configured = ::GetCommState(comm, &dcb) != FALSE;
    if (configured) {
        dcb.BaudRate = line.m_baud;
        dcb.ByteSize = line.m_byteSize;
        dcb.Parity = line.m_parity;
        dcb.StopBits = line.m_stopBits;
        dcb.fBinary = TRUE;
        dcb.fParity = TRUE;
        // Frames are binary and may hold 0x11 and 0x13: whatever flow control or
        // byte substitution the driver had on (a USB adapter's driver or Wine's
        // pty may start with XON/XOFF) would eat those bytes or stall the line.
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fNull = FALSE;
        dcb.fErrorChar = FALSE;
        dcb.fAbortOnError = FALSE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
        configured = ::SetCommState(comm, &dcb) != FALSE;
    }
    if (!configured) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(comm);
        return FailOpen(path, line, PortStep::Configure, OpenFailure::BadSettings, error, ErrorText(error));
    }

    Close();
    m_hComm = comm;
    m_path = path;
    m_readFailureReported = false;
    m_writeFailureReported = false;
    NoteActivity();
    return true;
}

std::uint32_t CSerialPortWin32::Read(std::uint8_t* buffer, std::uint32_t maxBytes) {
    if (m_hComm == INVALID_HANDLE_VALUE) {
        return 0;
    }
    DWORD waiting = 0;
    if (!ClearError(waiting)) {
        const DWORD error = ::GetLastError();
        // The handle no longer answers: the adapter was pulled.
        Report(m_readFailureReported, PortEventKind::Vanished, PortStep::Query, error);
        return 0;
    }
    const DWORD count = std::min<DWORD>(maxBytes, waiting);
    if (count == 0) {
        return 0;
    }
    NoteActivity();

    PrepareOverlapped(m_readOverlapped);
    DWORD got = 0;
    if (::ReadFile(m_hComm, buffer, count, &got, &m_readOverlapped) != FALSE) {
        return got;
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_IO_PENDING) {
        ReportRead(PortStep::Read, error);
        ClearError();
        return 0;
    }
    ReportIo(PortEventKind::IoPending, PortStep::None, 0);
    for (;;) {
        if (::GetOverlappedResult(m_hComm, &m_readOverlapped, &got, TRUE) != FALSE) {
            return got;
        }
        const DWORD waitError = ::GetLastError();
        if (waitError != ERROR_IO_INCOMPLETE) {
            ReportRead(PortStep::Read, waitError);
            ClearError();
            return got;  // what the failed completion still delivered
        }
    }
}

bool CSerialPortWin32::Write(const std::uint8_t* data, std::uint32_t length) {
    if (m_hComm == INVALID_HANDLE_VALUE) {
        return false;
    }
    if (length == 0) {
        return true;
    }
    NoteActivity();
    PrepareOverlapped(m_writeOverlapped);
    DWORD written = 0;
    if (::WriteFile(m_hComm, data, length, &written, &m_writeOverlapped) != FALSE) {
        return written == length;
    }
    const DWORD error = ::GetLastError();
    ClearError();
    if (error != ERROR_IO_PENDING) {
        ReportWrite(PortStep::Write, error);
        return false;
    }
    for (;;) {
        if (::GetOverlappedResult(m_hComm, &m_writeOverlapped, &written, TRUE) != FALSE) {
            // Fewer bytes than asked means the 1 s write time-out ran out.
            if (written != length) {
                ReportWrite(PortStep::WriteTimeout, ERROR_TIMEOUT);
            }
            return written == length;
        }
        const DWORD waitError = ::GetLastError();
        if (waitError != ERROR_IO_INCOMPLETE) {
            ReportWrite(PortStep::Write, waitError);
            return false;
        }
    }
}

}  // namespace

std::unique_ptr<CSerialPortBackend> CreatePlatformSerialBackend(IPortEventSink& events) {
    return std::make_unique<CSerialPortWin32>(events);
}
