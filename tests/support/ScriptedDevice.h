#pragma once
// A device on a pseudo-terminal that answers each request with whatever the
// test's script returns for it: for replies no well-behaved device sends,
// such as an echo with one byte changed or an echo with bytes after it.

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/DeviceState.h"
#include "sim/PseudoTerminal.h"

class CScriptedDevice {
public:
    // An empty reply means silence.
    using Script = std::function<sim::Frame(const sim::Frame& request)>;

    explicit CScriptedDevice(Script script)
        : m_pty(kBaud), m_script(std::move(script)), m_thread([this](std::stop_token stop) { Serve(stop); }) {}

    const std::string& SlavePath() const { return m_pty.SlavePath(); }

    std::vector<sim::Frame> Requests() const {
        std::lock_guard lock(m_lock);
        return m_requests;
    }

private:
    static constexpr std::uint32_t kBaud = 4800;
    // The tool writes a request in one piece; this much silence ends it.
    static constexpr int kSilenceMs = 5;

    void Serve(const std::stop_token& stop) {
        sim::Frame pending;
        while (!stop.stop_requested()) {
            pollfd wait{m_pty.Master(), POLLIN, 0};
            if (poll(&wait, 1, kSilenceMs) > 0 && (wait.revents & POLLIN) != 0) {
                std::uint8_t chunk[256];
                const ssize_t n = read(m_pty.Master(), chunk, sizeof chunk);
                if (n > 0) pending.insert(pending.end(), chunk, chunk + n);
                continue;
            }
            if (pending.empty()) continue;
            {
                std::lock_guard lock(m_lock);
                m_requests.push_back(pending);
            }
            const sim::Frame reply = m_script(pending);
            if (!reply.empty()) [[maybe_unused]] const ssize_t written = write(m_pty.Master(), reply.data(), reply.size());
            pending.clear();
        }
    }

    sim::CPseudoTerminal m_pty;
    Script m_script;
    mutable std::mutex m_lock;
    std::vector<sim::Frame> m_requests;
    std::jthread m_thread;  // last: stopped and joined before the rest goes away
};

// The request echoed with byte `changedByte` (unless it is -1) XORed with
// `mask` and `trailing` after it. The test changes the referenced values
// between exchanges.
inline CScriptedDevice::Script AlteredEcho(const int& changedByte, std::uint8_t mask, const sim::Frame& trailing) {
    return [&changedByte, mask, &trailing](const sim::Frame& request) {
        sim::Frame reply = request;
        const auto at = static_cast<std::size_t>(changedByte);
        if (changedByte >= 0 && at < reply.size()) reply[at] ^= mask;
        reply.insert(reply.end(), trailing.begin(), trailing.end());
        return reply;
    };
}
