#pragma once
// A bare client end of a simulator's terminal for the simulator's own tests:
// open, set the speed, write a frame, collect what comes back.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/PseudoTerminal.h"

namespace simtest {

using Bytes = std::vector<std::uint8_t>;

class CRawPort {
public:
    CRawPort(const std::string& path, std::uint32_t baud)
        : m_fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        SetBaud(baud);
    }
    ~CRawPort() {
        if (m_fd >= 0) ::close(m_fd);
    }
    CRawPort(const CRawPort&) = delete;
    CRawPort& operator=(const CRawPort&) = delete;

    bool IsOpen() const { return m_fd >= 0; }

    void SetBaud(std::uint32_t baud) {
        termios settings{};
        if (m_fd < 0 || ::tcgetattr(m_fd, &settings) != 0) return;
        ::cfmakeraw(&settings);
        ::cfsetispeed(&settings, sim::SpeedConstant(baud));
        ::cfsetospeed(&settings, sim::SpeedConstant(baud));
        ::tcsetattr(m_fd, TCSANOW, &settings);
    }

    void Write(const Bytes& bytes) {
        if (m_fd >= 0) (void)::write(m_fd, bytes.data(), bytes.size());
    }

    // Collects bytes until `count` have come or `timeout` has passed.
    Bytes Read(std::size_t count, std::chrono::milliseconds timeout) {
        Bytes bytes;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (bytes.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd watch{m_fd, POLLIN, 0};
            if (::poll(&watch, 1, static_cast<int>(left.count())) <= 0) continue;
            std::uint8_t chunk[256];
            const ssize_t n = ::read(m_fd, chunk, sizeof chunk);
            if (n > 0) bytes.insert(bytes.end(), chunk, chunk + n);
        }
        return bytes;
    }

    // Writes a request and collects a reply of `count` bytes.
    Bytes Ask(const Bytes& request, std::size_t count,
              std::chrono::milliseconds timeout = std::chrono::milliseconds(3000)) {
        Write(request);
        return Read(count, timeout);
    }

private:
    int m_fd;
};

}  // namespace simtest
