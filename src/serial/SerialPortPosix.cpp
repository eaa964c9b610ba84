// The serial port on a termios terminal device: raw 8N1 (or whatever the
// caller set), non-blocking, opened exclusively. Exclusive twice over: the
// terminal's own exclusive mode keeps out other users' opens, and an advisory
// lock keeps out a second instance running as root, which the exclusive mode
// lets through.

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <system_error>
#include <utility>

#include "PortWakeup.h"
#include "SerialPortBackend.h"

namespace {

constexpr int kWriteTimeoutMs = 1000;

std::string ErrorText(int error) {
    return std::system_category().message(error);
}

OpenFailure ReasonOfOpenError(int error) {
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO: return OpenFailure::Missing;
        case EACCES:
        case EPERM:
        case EROFS: return OpenFailure::Permission;
        case EBUSY: return OpenFailure::Busy;
        case ENOTTY: return OpenFailure::NotATerminal;
        case EINVAL: return OpenFailure::BadSettings;
        default: return OpenFailure::Other;
    }
}

// Errors after which the device is gone for good: a pulled USB adapter, a
// terminal whose other end closed.
bool MeansVanished(int error) {
    return error == EIO || error == ENXIO || error == ENODEV;
}

bool SameDevice(int first, int second) {
    struct stat a {}, b {};
    return ::fstat(first, &a) == 0 && ::fstat(second, &b) == 0 && a.st_rdev == b.st_rdev;
}

// The group that may open `path`: its owning group, by name when it has one.
std::string DeviceGroup(const std::string& path) {
    struct stat device {};
    if (::stat(path.c_str(), &device) != 0) {
        return {};
    }
    std::string buffer(4096, '\0');
    group entry{};
    group* found = nullptr;
    if (::getgrgid_r(device.st_gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return found->gr_name;
    }
    return std::to_string(device.st_gid);
}

bool SpeedCode(std::uint32_t baud, speed_t& code) {
    static constexpr struct {
        std::uint32_t m_baud;
        speed_t m_code;
    } kSpeeds[] = {
        {1200, B1200},   {2400, B2400},   {4800, B4800},   {9600, B9600},
        {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
    };
    for (const auto& speed : kSpeeds) {
        if (speed.m_baud == baud) {
            code = speed.m_code;
            return true;
        }
    }
    return false;
}

// Sets the character frame; false when the code has no termios equivalent.
bool SetFrame(termios& settings, const CLineSettings& line) {
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB);
    switch (line.m_byteSize) {
        case 5: settings.c_cflag |= CS5; break;
        case 6: settings.c_cflag |= CS6; break;
        case 7: settings.c_cflag |= CS7; break;
        case 8: settings.c_cflag |= CS8; break;
        default: return false;
    }
    switch (line.m_parity) {
        case 0: break;
        case 1: settings.c_cflag |= PARENB | PARODD; break;
        case 2: settings.c_cflag |= PARENB; break;
        default: return false;
    }
    switch (line.m_stopBits) {
        case 0: break;
        case 2: settings.c_cflag |= CSTOPB; break;
        default: return false;
    }
    return true;
}

// An open terminal descriptor, with the advisory lock it may hold. While it
// holds the terminal exclusively it hands the terminal back on close: the exclusive mode belongs to the terminal, not to
// the descriptor, and would otherwise outlive us whenever someone else still has
// the device open.
class CTerminalFd {
public:
    CTerminalFd() = default;
    explicit CTerminalFd(int fd) : m_fd(fd) {}
    CTerminalFd(CTerminalFd&& other) noexcept
        : m_fd(std::exchange(other.m_fd, -1)),
          m_exclusive(std::exchange(other.m_exclusive, false)),
          m_locked(std::exchange(other.m_locked, false)) {}
    CTerminalFd& operator=(CTerminalFd&& other) noexcept {
        if (this != &other) {
            Reset();
            m_fd = std::exchange(other.m_fd, -1);
            m_exclusive = std::exchange(other.m_exclusive, false);
            m_locked = std::exchange(other.m_locked, false);
        }
        return *this;
    }
    ~CTerminalFd() { Reset(); }

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }

    // Fails with EWOULDBLOCK while another open of the device holds the lock.
    bool Lock() {
        m_locked = ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
        return m_locked;
    }

    bool MakeExclusive() {
        m_exclusive = ::ioctl(m_fd, TIOCEXCL) == 0;
        return m_exclusive;
    }

    void Reset() {
        if (m_fd < 0) {
            return;
        }
        if (m_exclusive) {
            ::ioctl(m_fd, TIOCNXCL);  // fails harmlessly on a vanished device
        }
        // Unlocked before the close: a close drops the lock only once nothing
        // uses the open file any more, and the receive thread's poll may still
        // be using it, so that a reopen right after would find it locked.
        if (m_locked) {
            ::flock(m_fd, LOCK_UN);
        }
        ::close(m_fd);
        m_fd = -1;
        m_exclusive = false;
        m_locked = false;
    }

private:
    int m_fd = -1;
    bool m_exclusive = false;
    bool m_locked = false;
};

class CSerialPortPosix final : public CSerialPortBackend {
public:
    explicit CSerialPortPosix(IPortEventSink& events) : m_events(events) {}
    bool Open(const std::string& path, const CLineSettings& line) override;
    void Close() override { m_fd.Reset(); }
    bool IsOpen() const override { return m_fd.Valid(); }
    std::uint32_t Read(std::uint8_t* buffer, std::uint32_t maxBytes) override;
    bool Write(const std::uint8_t* data, std::uint32_t length) override;
    bool Drain() override {
        if (!m_fd.Valid()) return false;
        int result = 0;
        do {
            result = ::tcdrain(m_fd.Get());
        } while (result != 0 && errno == EINTR);
        return result == 0;
    }
    int InputDescriptor() const override { return m_hungUp ? CPortWakeup::kNoInput : m_fd.Get(); }
    void MarkHungUp() override;

private:
    // Tells why `path` did not open; `error` 0 when the system gave no error.
    bool FailOpen(const std::string& path, const CLineSettings& line, PortStep step, OpenFailure reason,
                  int error);
    void ReportReadFailure(PortStep step, int error);
    void ReportWriteFailure(PortStep step, int error);
    void ReportIo(PortEventKind kind, PortStep step, int error);

    IPortEventSink& m_events;
    CTerminalFd m_fd;
    std::string m_path;
    // A vanished device fails every poll; say so once per open session.
    bool m_readFailureReported = false;
    bool m_writeFailureReported = false;
    // The device is gone for this session: a hung-up terminal stays readable
    // for poll(2) forever, and every read of it fails.
    bool m_hungUp = false;
};

bool CSerialPortPosix::Open(const std::string& path, const CLineSettings& line) {
    if (path.empty()) {
        return FailOpen(path, line, PortStep::Select, OpenFailure::NotSelected, 0);
    }
    // Settings are checked before the device is touched: a failed reopen must
    // leave the session that is open now as it is.
    speed_t speed{};
    if (!SpeedCode(line.m_baud, speed)) {
        return FailOpen(path, line, PortStep::LineSpeed, OpenFailure::BadSettings, 0);
    }
    if (termios probe{}; !SetFrame(probe, line)) {
        return FailOpen(path, line, PortStep::CharacterFrame, OpenFailure::BadSettings, 0);
    }

    // Non-blocking: the open must not wait for carrier, and reads must never wait.
    CTerminalFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid()) {
        const int error = errno;
        return FailOpen(path, line, PortStep::OpenDevice, ReasonOfOpenError(error), error);
    }
    if (::isatty(fd.Get()) == 0) {
        return FailOpen(path, line, PortStep::CheckTerminal, OpenFailure::NotATerminal, 0);
    }
    // Locked before anything about the line is changed: a device another
    // instance holds keeps its settings and its unread bytes. The old session's
    // own lock on the same device would refuse the new one, so that session
    // goes first.
    if (m_fd.Valid() && SameDevice(m_fd.Get(), fd.Get())) {
        m_fd.Reset();
    }
    if (!fd.Lock()) {
        const int error = errno == EWOULDBLOCK ? EBUSY : errno;
        return FailOpen(path, line, PortStep::TakeExclusive,
                        error == EBUSY ? OpenFailure::Busy : OpenFailure::Other, error);
    }
    termios settings{};
    if (::tcgetattr(fd.Get(), &settings) != 0) {
        const int error = errno;
        return FailOpen(path, line, PortStep::ReadSettings,
                        error == ENOTTY ? OpenFailure::NotATerminal : OpenFailure::Other, error);
    }
    ::cfmakeraw(&settings);
    // cfmakeraw leaves input-side XON/XOFF and hardware flow control as they
    // were: a frame that holds 0x11 or 0x13 must pass, and nothing waits for CTS.
    settings.c_iflag &= ~static_cast<tcflag_t>(IXOFF | IXANY);
    settings.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    SetFrame(settings, line);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    if (::cfsetispeed(&settings, speed) != 0 || ::cfsetospeed(&settings, speed) != 0 ||
        ::tcsetattr(fd.Get(), TCSANOW, &settings) != 0) {
        const int error = errno;
        return FailOpen(path, line, PortStep::Configure,
                        error == EINVAL ? OpenFailure::BadSettings : ReasonOfOpenError(error), error);
    }
    // After the new settings, so that nothing received at the old speed survives.
    ::tcflush(fd.Get(), TCIOFLUSH);

    // The exclusive mode belongs to the terminal: the old session (which may be
    // the same terminal) hands it back first, then the new one takes it.
    m_fd.Reset();
    if (!fd.MakeExclusive()) {
        const int error = errno;
        return FailOpen(path, line, PortStep::TakeExclusive,
                        error == EBUSY ? OpenFailure::Busy : OpenFailure::Other, error);
    }
    m_fd = std::move(fd);
    m_path = path;
    m_readFailureReported = false;
    m_writeFailureReported = false;
    m_hungUp = false;
    return true;
}

std::uint32_t CSerialPortPosix::Read(std::uint8_t* buffer, std::uint32_t maxBytes) {
    if (!m_fd.Valid() || m_hungUp) {
        return 0;
    }
    int waiting = 0;
    if (::ioctl(m_fd.Get(), FIONREAD, &waiting) != 0) {
        ReportReadFailure(PortStep::Query, errno);  // EIO once a USB adapter is pulled
        return 0;
    }
    const auto count = std::min<std::uint32_t>(maxBytes, static_cast<std::uint32_t>(std::max(waiting, 0)));
    if (count == 0) {
        return 0;
    }
    const ssize_t got = ::read(m_fd.Get(), buffer, count);
    if (got < 0 && errno == EAGAIN) {
        // Counted bytes that cannot be read yet. Waiting here would hold the
        // port's lock; the receive thread waits for them outside it instead.
        ReportIo(PortEventKind::IoPending, PortStep::None, 0);
        return 0;
    }
    if (got > 0) {
        return static_cast<std::uint32_t>(got);
    }
    if (got < 0 && errno != EAGAIN && errno != EINTR) {
        ReportReadFailure(PortStep::Read, errno);
    }
    return 0;
}

bool CSerialPortPosix::Write(const std::uint8_t* data, std::uint32_t length) {
    if (!m_fd.Valid()) {
        return false;
    }
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(kWriteTimeoutMs);
    std::uint32_t written = 0;
    while (written < length) {
        const ssize_t put = ::write(m_fd.Get(), data + written, length - written);
        if (put > 0) {
            written += static_cast<std::uint32_t>(put);
            continue;
        }
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put < 0 && errno != EAGAIN) {
            ReportWriteFailure(PortStep::Write, errno);
            return false;
        }
        // The driver's output queue is full: wait for room, within the deadline.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            ReportWriteFailure(PortStep::WriteTimeout, ETIMEDOUT);
            return false;
        }
        pollfd writable{m_fd.Get(), POLLOUT, 0};
        if (::poll(&writable, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) {
            ReportWriteFailure(PortStep::WaitToWrite, errno);
            return false;
        }
    }
    return true;
}

bool CSerialPortPosix::FailOpen(const std::string& path, const CLineSettings& line, PortStep step,
                                OpenFailure reason, int error) {
    const std::string group = reason == OpenFailure::Permission ? DeviceGroup(path) : std::string();
    TellOpenFailed(m_events, path, line, step, reason, error, error != 0 ? ErrorText(error) : std::string(), group);
    return false;
}

void CSerialPortPosix::MarkHungUp() {
    m_hungUp = true;
    if (!m_readFailureReported) {
        m_readFailureReported = true;
        ReportIo(PortEventKind::Vanished, PortStep::HangUp, 0);
    }
}

void CSerialPortPosix::ReportReadFailure(PortStep step, int error) {
    const bool vanished = MeansVanished(error);
    m_hungUp = m_hungUp || vanished;
    if (!m_readFailureReported) {
        m_readFailureReported = true;
        ReportIo(vanished ? PortEventKind::Vanished : PortEventKind::ReadFailed, step, error);
    }
}

void CSerialPortPosix::ReportWriteFailure(PortStep step, int error) {
    if (!m_writeFailureReported) {
        m_writeFailureReported = true;
        ReportIo(PortEventKind::WriteFailed, step, error);
    }
}

void CSerialPortPosix::ReportIo(PortEventKind kind, PortStep step, int error) {
    TellIo(m_events, kind, m_path, step, error, error != 0 ? ErrorText(error) : std::string());
}

}  // namespace

std::unique_ptr<CSerialPortBackend> CreatePlatformSerialBackend(IPortEventSink& events) {
    return std::make_unique<CSerialPortPosix>(events);
}
