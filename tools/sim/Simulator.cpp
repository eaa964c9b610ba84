#include "Simulator.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "Devices.h"
#include "ToolVerdict.h"
#include "protocol/FrameDecoder.h"

namespace sim {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr std::size_t kReadChunk = 4096;
// The trace shows this much of a long piece (noise) and its length.
constexpr std::size_t kTraceBytes = 64;
constexpr std::size_t kJudgedBytes = 1024;


}  // namespace

std::string HexBytes(std::span<const std::uint8_t> bytes) { return HexText(bytes); }

CSimulator::CSimulator(SimConfig config)
    : m_kind(config.kind),
      m_factoryAddress(config.address),
      m_factoryBaud(config.baud),
      m_trace(std::move(config.trace)),
      m_pty(config.baud),
      m_state(MakeDeviceState(config.kind, config.address, config.baud)),
      m_replyLatency(config.replyLatency),
      m_lastByte(Clock::now()),
      m_thread([this](std::stop_token stop) { Serve(stop); }) {}

CSimulator::~CSimulator() {
    m_thread.request_stop();
    if (m_thread.joinable()) m_thread.join();
}

// --- Device state ----------------------------------------------------------------

void CSimulator::Unplug() {
    std::lock_guard lock(m_stateLock);
    m_plugged = false;
}

void CSimulator::PlugInFresh() {
    std::lock_guard lock(m_stateLock);
    m_state = MakeDeviceState(m_kind, m_factoryAddress, m_factoryBaud);
    m_plugged = true;
}

bool CSimulator::Plugged() const {
    std::lock_guard lock(m_stateLock);
    return m_plugged;
}

std::uint8_t CSimulator::Address() const {
    std::lock_guard lock(m_stateLock);
    return DeviceAddress(m_state);
}

void CSimulator::SetAddress(std::uint8_t address) {
    std::lock_guard lock(m_stateLock);
    SetDeviceAddress(m_state, address);
}

std::uint32_t CSimulator::Baud() const {
    std::lock_guard lock(m_stateLock);
    return m_state.baud;
}

void CSimulator::SetBaud(std::uint32_t baud) {
    std::lock_guard lock(m_stateLock);
    m_state.baud = baud;
}

std::optional<std::uint16_t> CSimulator::Register(std::uint16_t reg) const {
    std::lock_guard lock(m_stateLock);
    const auto cell = m_state.registers.find(reg);
    if (cell == m_state.registers.end()) return std::nullopt;
    return cell->second.value;
}

bool CSimulator::SetRegister(std::uint16_t reg, std::uint16_t value) {
    std::lock_guard lock(m_stateLock);
    const auto cell = m_state.registers.find(reg);
    if (cell == m_state.registers.end()) return false;
    cell->second.value = value;
    return true;
}

std::optional<std::uint16_t> CSimulator::FcParam(std::uint8_t code) const {
    std::lock_guard lock(m_stateLock);
    const auto param = m_state.fcParams.find(code);
    if (param == m_state.fcParams.end()) return std::nullopt;
    return param->second;
}

bool CSimulator::SetFcParam(std::uint8_t code, std::uint16_t value) {
    std::lock_guard lock(m_stateLock);
    const auto param = m_state.fcParams.find(code);
    if (param == m_state.fcParams.end()) return false;
    param->second = value;
    return true;
}

WirelessState CSimulator::Wireless() const {
    std::lock_guard lock(m_stateLock);
    return m_state.wireless;
}

void CSimulator::SetWireless(const WirelessState& wireless) {
    std::lock_guard lock(m_stateLock);
    m_state.wireless = wireless;
}

DeviceState CSimulator::State() const {
    std::lock_guard lock(m_stateLock);
    return m_state;
}

void CSimulator::Update(const std::function<void(DeviceState&)>& change) {
    std::lock_guard lock(m_stateLock);
    change(m_state);
}

// --- Faults --------------------------------------------------------------------------

void CSimulator::InjectFault(Fault fault, unsigned requests) {
    if (requests == 0) return;
    std::lock_guard lock(m_stateLock);
    m_faults.push_back({fault, requests});
}

void CSimulator::ClearFaults() {
    std::lock_guard lock(m_stateLock);
    m_faults.clear();
}

void CSimulator::SetReplyLatency(std::chrono::milliseconds latency) {
    std::lock_guard lock(m_stateLock);
    m_replyLatency = latency;
}

Fault CSimulator::TakeFault() {
    if (m_faults.empty()) return Fault::None();
    QueuedFault& front = m_faults.front();
    const Fault fault = front.fault;
    if (front.remaining != kEveryRequest && --front.remaining == 0) m_faults.pop_front();
    return fault;
}

// --- Log --------------------------------------------------------------------------------

std::vector<ReceivedFrame> CSimulator::Received() const {
    std::lock_guard lock(m_logLock);
    return m_log;
}

std::vector<Frame> CSimulator::ReceivedBytes() const {
    std::lock_guard lock(m_logLock);
    std::vector<Frame> frames;
    frames.reserve(m_log.size());
    for (const ReceivedFrame& entry : m_log) frames.push_back(entry.bytes);
    return frames;
}

void CSimulator::ClearReceived() {
    std::lock_guard lock(m_logLock);
    m_log.clear();
}

bool CSimulator::WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_logLock);
    return m_logChanged.wait_for(lock, timeout, [&] { return m_log.size() >= count; });
}

std::size_t CSimulator::SkippedBytes() const {
    std::lock_guard lock(m_logLock);
    return m_skipped;
}

bool CSimulator::PutOnLine(std::span<const std::uint8_t> bytes, milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(m_pty.Master(), bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EINTR && errno != EAGAIN) return false;
        const Clock::time_point now = Clock::now();
        if (now >= deadline) return false;
        pollfd room{m_pty.Master(), POLLOUT, 0};
        ::poll(&room, 1, PollTimeout(deadline - now));
    }
    return true;
}

bool CSimulator::WaitUntilSent(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_logLock);
    return m_logChanged.wait_for(lock, timeout, [&] { return m_outgoingCount == 0; });
}

void CSimulator::CountOutgoing() {
    {
        std::lock_guard lock(m_logLock);
        m_outgoingCount = m_outgoing.size();
    }
    m_logChanged.notify_all();
}

// --- Serving thread ------------------------------------------------------------------

void CSimulator::Serve(std::stop_token stop) {
    while (!stop.stop_requested()) {
        const auto now = Clock::now();
        const bool waitsForRoom = WaitsForRoom(now);
        Clock::duration wait = kMaxPollWait;
        if (!m_outgoing.empty() && !waitsForRoom) wait = std::min(wait, m_outgoing.front().due - now);
        if (m_cutter.HasPending()) wait = std::min(wait, m_lastByte + kSilenceTimeout - now);

        pollfd watch{m_pty.Master(), static_cast<short>(POLLIN | (waitsForRoom ? POLLOUT : 0)), 0};
        const int ready = ::poll(&watch, 1, PollTimeout(wait));
        const auto after = Clock::now();
        if (ready > 0 && (watch.revents & POLLIN) != 0) {
            ReadLine(after);
        } else if (ready > 0 && (watch.revents & POLLOUT) != 0) {
            // Room for the rest of a piece: SendDue below writes it.
        } else if (ready > 0) {
            // POLLHUP or POLLERR without data: nothing to read, do not spin.
            std::this_thread::sleep_for(milliseconds(5));
        }
        if (m_cutter.HasPending() && after - m_lastByte >= kSilenceTimeout) {
            for (const Frame& request : m_cutter.Flush()) HandleRequest(request, after);
            std::lock_guard lock(m_logLock);
            m_skipped = m_cutter.SkippedBytes();
        }
        SendDue(Clock::now());
    }
}

void CSimulator::ReadLine(Clock::time_point now) {
    std::array<std::uint8_t, kReadChunk> chunk{};
    const ssize_t n = ::read(m_pty.Master(), chunk.data(), chunk.size());
    if (n <= 0) return;
    m_lastByte = now;
    const auto requests = m_cutter.Feed(std::span<const std::uint8_t>(chunk.data(), static_cast<std::size_t>(n)));
    for (const Frame& request : requests) HandleRequest(request, now);
    std::lock_guard lock(m_logLock);
    m_skipped = m_cutter.SkippedBytes();
}

void CSimulator::HandleRequest(const Frame& request, Clock::time_point now) {
    const std::uint32_t lineBaud = m_pty.LineSpeed();
    std::vector<ReplyPiece> pieces;
    milliseconds latency{0};
    {
        std::lock_guard lock(m_stateLock);
        latency = m_replyLatency;
        // At another speed the device hears only noise; unplugged, nothing.
        if (m_plugged && lineBaud == m_state.baud) {
            if (const auto reply = AnswerRequest(m_state, request)) {
                pieces = ShapeReply(TakeFault(), *reply, request);
            }
        }
    }
    if (m_trace) {
        std::string line = "rx " + std::to_string(lineBaud) + " " + HexBytes(request) + " | " + DescribeRequest(request);
        if (pieces.empty()) line += " (no answer)";
        m_trace(line);
    }
    for (const ReplyPiece& piece : pieces) {
        const Outgoing out{now + latency + piece.after, piece.bytes, request};
        const auto place = std::upper_bound(m_outgoing.begin(), m_outgoing.end(), out.due,
                                            [](Clock::time_point due, const Outgoing& o) { return due < o.due; });
        m_outgoing.insert(place, out);
    }
    CountOutgoing();
    {
        std::lock_guard lock(m_logLock);
        m_log.push_back({request, lineBaud, !pieces.empty()});
    }
    m_logChanged.notify_all();
}

bool CSimulator::WaitsForRoom(Clock::time_point now) const {
    return !m_outgoing.empty() && m_outgoing.front().started && m_outgoing.front().due <= now;
}

void CSimulator::SendDue(Clock::time_point now) {
    bool changed = false;
    while (!m_outgoing.empty() && m_outgoing.front().due <= now) {
        Outgoing& out = m_outgoing.front();
        if (!out.started) {
            out.started = true;
            out.lastProgress = now;
        }
        bool full = false;
        while (out.sent < out.bytes.size()) {
            const ssize_t n = ::write(m_pty.Master(), out.bytes.data() + out.sent, out.bytes.size() - out.sent);
            if (n > 0) {
                out.sent += static_cast<std::size_t>(n);
                out.lastProgress = now;
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else {
                full = true;  // the terminal's buffer is full until the reader takes some
                break;
            }
        }
        // A piece that got no room for long enough is lost on the line, so
        // that a reader that went away does not hold up every later reply.
        if (full && now - out.lastProgress < kWriteStall) break;
        if (m_trace) {
            const std::span<const std::uint8_t> reply(out.bytes.data(), out.sent);
            std::string line = "tx ";
            if (reply.size() > kTraceBytes) {
                line += HexBytes(reply.first(kTraceBytes)) + " .. (" + std::to_string(reply.size()) + " bytes)";
            } else {
                line += HexBytes(reply);
            }
            if (out.sent < out.bytes.size()) line += " (" + std::to_string(out.bytes.size() - out.sent) + " bytes lost)";
            // Noise is judged as the tool's one fetch of it would be.
            const auto judged = reply.first(std::min(reply.size(), kJudgedBytes));
            m_trace(line + " | " + DescribeReply(judged, out.request) + " | " +
                    OutcomeText(JudgeReply(judged, out.request, ToolExpectation(out.request))));
        }
        m_outgoing.erase(m_outgoing.begin());
        changed = true;
    }
    if (changed) CountOutgoing();
}

}  // namespace sim
