#include "PseudoTerminal.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>

namespace sim {

namespace {

struct SpeedPair {
    speed_t constant;
    std::uint32_t baud;
};

constexpr std::array<SpeedPair, 11> kSpeeds{{
    {B300, 300},     {B600, 600},     {B1200, 1200},   {B2400, 2400},   {B4800, 4800},     {B9600, 9600},
    {B19200, 19200}, {B38400, 38400}, {B57600, 57600}, {B115200, 115200}, {B230400, 230400},
}};

[[noreturn]] void ThrowErrno(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

CUniqueFd::~CUniqueFd() {
    if (m_fd >= 0) ::close(m_fd);
}

CUniqueFd& CUniqueFd::operator=(CUniqueFd&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = other.Release();
    }
    return *this;
}

unsigned SpeedConstant(std::uint32_t baud) {
    for (const SpeedPair& pair : kSpeeds) {
        if (pair.baud == baud) return pair.constant;
    }
    return 0;
}

std::uint32_t SpeedOfConstant(unsigned speed) {
    for (const SpeedPair& pair : kSpeeds) {
        if (pair.constant == speed) return pair.baud;
    }
    return 0;
}

CPseudoTerminal::CPseudoTerminal(std::uint32_t baud) {
    int master = -1;
    int slave = -1;
    std::array<char, 256> name{};
    if (::openpty(&master, &slave, name.data(), nullptr, nullptr) != 0) ThrowErrno("openpty");
    m_master = CUniqueFd(master);
    m_slave = CUniqueFd(slave);
    m_slavePath = name.data();

    // Raw both ways: no echo, no line editing, no CR/LF translation. Start at
    // the device's speed so that a client that does not set one is heard.
    termios settings{};
    if (::tcgetattr(slave, &settings) != 0) ThrowErrno("tcgetattr");
    ::cfmakeraw(&settings);
    if (const unsigned speed = SpeedConstant(baud); speed != 0) {
        ::cfsetispeed(&settings, speed);
        ::cfsetospeed(&settings, speed);
    }
    if (::tcsetattr(slave, TCSANOW, &settings) != 0) ThrowErrno("tcsetattr");

    const int flags = ::fcntl(master, F_GETFL);
    if (flags < 0 || ::fcntl(master, F_SETFL, flags | O_NONBLOCK) != 0) ThrowErrno("fcntl");
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
}

std::uint32_t CPseudoTerminal::LineSpeed() const {
    termios settings{};
    if (::tcgetattr(m_master.Get(), &settings) != 0) return 0;
    return SpeedOfConstant(::cfgetospeed(&settings));
}

int PollTimeout(std::chrono::steady_clock::duration wait) {
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(std::max(wait, std::chrono::steady_clock::duration::zero()));
    return static_cast<int>(std::min(ms, kMaxPollWait).count());
}

}  // namespace sim
