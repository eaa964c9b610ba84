#include "PseudoTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

using Clock = std::chrono::steady_clock;

namespace {

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

struct CPseudoTerminal::CServerEnd {};

CPseudoTerminal::CPseudoTerminal() {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        return;
    }
    char name[128] = {};
    if (::ptsname_r(m_master, name, sizeof(name)) != 0) {
        return;
    }
    m_slavePath = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_slave < 0) {
        return;
    }
    // Raw from the start: no echo back to the device, no line editing of its
    // bytes; flow control on, for the port to switch off.
    termios settings{};
    ::tcgetattr(m_slave, &settings);
    ::cfmakeraw(&settings);
    settings.c_iflag |= IXON | IXOFF;
    settings.c_cflag |= CRTSCTS;
    ::tcsetattr(m_slave, TCSANOW, &settings);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

CPseudoTerminal::~CPseudoTerminal() {
    if (m_slave >= 0) {
        ::close(m_slave);
    }
    HangUp();
}

bool CPseudoTerminal::Send(const std::vector<std::uint8_t>& bytes, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t put = ::write(m_master, bytes.data() + sent, bytes.size() - sent);
        if (put > 0) {
            sent += static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        pollfd writable{m_master, POLLOUT, 0};
        ::poll(&writable, 1, std::min(MillisecondsLeft(deadline), 10));
    }
    return true;
}

std::vector<std::uint8_t> CPseudoTerminal::Receive(std::size_t count, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    std::vector<std::uint8_t> received;
    std::uint8_t chunk[512];
    while (received.size() < count) {
        const ssize_t got = ::read(m_master, chunk, sizeof(chunk));
        if (got > 0) {
            received.insert(received.end(), chunk, chunk + got);
            continue;
        }
        if (Clock::now() >= deadline) {
            break;
        }
        pollfd readable{m_master, POLLIN, 0};
        ::poll(&readable, 1, std::min(MillisecondsLeft(deadline), 10));
    }
    return received;
}

int CPseudoTerminal::WaitingAtPort() const {
    int waiting = 0;
    return ::ioctl(m_slave, FIONREAD, &waiting) == 0 ? waiting : -1;
}

CPseudoTerminal::CLine CPseudoTerminal::Line() const {
    CLine line;
    termios settings{};
    if (::tcgetattr(m_slave, &settings) != 0) {
        return line;
    }
    static constexpr struct {
        speed_t m_code;
        std::uint32_t m_baud;
    } kSpeeds[] = {{B1200, 1200},   {B2400, 2400},   {B4800, 4800},   {B9600, 9600},
                   {B19200, 19200}, {B38400, 38400}, {B57600, 57600}, {B115200, 115200}};
    for (const auto& speed : kSpeeds) {
        if (speed.m_code == ::cfgetospeed(&settings)) {
            line.m_baud = speed.m_baud;
        }
    }
    const tcflag_t size = settings.c_cflag & CSIZE;
    line.m_dataBits = size == CS5 ? 5 : size == CS6 ? 6 : size == CS7 ? 7 : 8;
    line.m_parity = (settings.c_cflag & PARENB) == 0 ? 'n' : (settings.c_cflag & PARODD) != 0 ? 'o' : 'e';
    line.m_stopBits = (settings.c_cflag & CSTOPB) != 0 ? 2 : 1;
    line.m_xonXoff = (settings.c_iflag & (IXON | IXOFF)) != 0;
    line.m_rtsCts = (settings.c_cflag & CRTSCTS) != 0;
    return line;
}

void CPseudoTerminal::HangUp() {
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

CComPortOverride::CComPortOverride(int portNumber, const std::string& path)
    : m_variable("SENTRABUS_COM" + std::to_string(portNumber)) {
    ::setenv(m_variable.c_str(), path.c_str(), 1);
}

CComPortOverride::~CComPortOverride() {
    ::unsetenv(m_variable.c_str());
}
