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
    // Raw from the start: no echo back to the device, no line editing of its bytes.
    termios settings{};
    ::tcgetattr(m_slave, &settings);
    ::cfmakeraw(&settings);
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
