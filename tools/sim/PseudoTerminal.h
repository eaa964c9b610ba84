#pragma once
// A pseudo-terminal pair. The tool opens the slave path as its serial port;
// the simulator reads and writes the master. The simulator keeps a slave
// descriptor open itself, so that the master never reports a hang-up while the
// tool has its port closed, and the line settings the tool made survive its
// close.

#include <chrono>
#include <cstdint>
#include <string>

namespace sim {

// The longest a serving thread sleeps in poll(2) on the master, so that a
// stop request is seen soon.
inline constexpr std::chrono::milliseconds kMaxPollWait{20};
// poll(2)'s timeout for `wait`: rounded up to whole milliseconds, at least 0,
// at most kMaxPollWait.
int PollTimeout(std::chrono::steady_clock::duration wait);

class CUniqueFd {
public:
    CUniqueFd() = default;
    explicit CUniqueFd(int fd) : m_fd(fd) {}
    ~CUniqueFd();
    CUniqueFd(CUniqueFd&& other) noexcept : m_fd(other.Release()) {}
    CUniqueFd& operator=(CUniqueFd&& other) noexcept;
    CUniqueFd(const CUniqueFd&) = delete;
    CUniqueFd& operator=(const CUniqueFd&) = delete;

    int Get() const { return m_fd; }
    int Release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd = -1;
};

class CPseudoTerminal {
public:
    // Opens the pair in raw mode at `baud`; throws std::system_error on failure.
    explicit CPseudoTerminal(std::uint32_t baud);

    int Master() const { return m_master.Get(); }
    const std::string& SlavePath() const { return m_slavePath; }

    // The line speed in bit/s as whoever uses the slave last set it (on Linux
    // the master reports the slave's settings); 0 for a speed outside the
    // usual serial rates.
    std::uint32_t LineSpeed() const;

private:
    CUniqueFd m_master;
    CUniqueFd m_slave;
    std::string m_slavePath;
};

// The termios speed constant of a rate and back; 0 when unknown.
unsigned SpeedConstant(std::uint32_t baud);
std::uint32_t SpeedOfConstant(unsigned speed);

}  // namespace sim
