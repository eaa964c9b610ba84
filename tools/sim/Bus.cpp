#include "Bus.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "Devices.h"
#include "ToolVerdict.h"
#include "protocol/Crc16.h"
#include "protocol/FrameDecoder.h"
#include "protocol/StrictText.h"

namespace sim {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;


std::optional<BusUnit> ParseUnit(std::string_view text, std::uint32_t defaultBaud, std::string& error) {
    const std::size_t colon = text.find(':');
    const std::size_t at = text.find('@');
    const std::string quoted = "\"" + std::string(text) + "\"";
    if (colon == std::string_view::npos || (at != std::string_view::npos && at < colon)) {
        error = "a unit is KIND:ADDRESS[@BAUD], not " + quoted;
        return std::nullopt;
    }
    BusUnit unit;
    const std::optional<DeviceKind> kind = ParseDeviceKind(text.substr(0, colon));
    if (!kind) {
        error = "unknown device in " + quoted;
        return std::nullopt;
    }
    unit.kind = *kind;
    std::int64_t address = 0;
    if (!StrictWholeIn(text.substr(colon + 1, at - colon - 1), 1, 255, address)) {
        error = "address must be 1..255 in " + quoted;
        return std::nullopt;
    }
    unit.address = static_cast<std::uint8_t>(address);
    unit.baud = defaultBaud;
    if (at != std::string_view::npos) {
        std::int64_t baud = 0;
        if (!StrictWholeIn(text.substr(at + 1), 1, 115200, baud) || SpeedConstant(static_cast<std::uint32_t>(baud)) == 0) {
            error = "unsupported baud rate in " + quoted;
            return std::nullopt;
        }
        unit.baud = static_cast<std::uint32_t>(baud);
    }
    return unit;
}


}  // namespace

std::vector<BusUnit> ParseBusUnits(std::string_view text, std::uint32_t defaultBaud, std::string& error) {
    std::vector<BusUnit> units;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::optional<BusUnit> unit = ParseUnit(text.substr(0, comma), defaultBaud, error);
        if (!unit) return {};
        // The address names the unit when it is unplugged and plugged back.
        if (std::any_of(units.begin(), units.end(), [&](const BusUnit& u) { return u.address == unit->address; })) {
            error = "two units at address " + std::to_string(unit->address);
            return {};
        }
        units.push_back(*unit);
        if (comma == std::string_view::npos) return units;
        text.remove_prefix(comma + 1);
    }
}

Frame CollideReplies(const std::vector<Frame>& replies) {
    Frame line;
    for (const Frame& reply : replies) {
        if (reply.size() > line.size()) line.resize(reply.size(), 0);
        for (std::size_t i = 0; i < reply.size(); ++i) line[i] |= reply[i];
    }
    if (HasValidCrc(line)) line.back() = static_cast<std::uint8_t>(~line.back());
    return line;
}

CBus::CBus(BusConfig config)
    : m_trace(std::move(config.trace)),
      m_pty(config.lineBaud),
      m_replyLatency(config.replyLatency),
      m_lastByte(Clock::now()) {
    for (const BusUnit& unit : config.units) {
        m_units.push_back({unit.address, MakeDeviceState(unit.kind, unit.address, unit.baud)});
    }
    // Started once the units are in place: the thread reads them at once.
    m_thread = std::jthread([this](std::stop_token stop) { Serve(stop); });
}

CBus::~CBus() {
    m_thread.request_stop();
    if (m_thread.joinable()) m_thread.join();
}

bool CBus::Unplug(std::uint8_t unit) {
    return WithUnit(unit, [](Unit& u) { u.plugged = false; });
}

bool CBus::Plug(std::uint8_t unit) {
    return WithUnit(unit, [](Unit& u) { u.plugged = true; });
}

std::optional<DeviceState> CBus::State(std::uint8_t unit) const {
    std::lock_guard lock(m_lock);
    const auto found = std::find_if(m_units.begin(), m_units.end(), [&](const Unit& u) { return u.name == unit; });
    if (found == m_units.end()) return std::nullopt;
    return found->state;
}

bool CBus::Update(std::uint8_t unit, const std::function<void(DeviceState&)>& change) {
    return WithUnit(unit, [&](Unit& u) { change(u.state); });
}

bool CBus::WithUnit(std::uint8_t unit, const std::function<void(Unit&)>& change) {
    std::lock_guard lock(m_lock);
    const auto found = std::find_if(m_units.begin(), m_units.end(), [&](const Unit& u) { return u.name == unit; });
    if (found != m_units.end()) change(*found);
    return found != m_units.end();
}

void CBus::SetReplyLatency(std::chrono::milliseconds latency) {
    std::lock_guard lock(m_lock);
    m_replyLatency = latency;
}

std::vector<ReceivedFrame> CBus::Received() const {
    std::lock_guard lock(m_lock);
    return m_log;
}

bool CBus::WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_lock);
    return m_logChanged.wait_for(lock, timeout, [&] { return m_log.size() >= count; });
}

// --- Serving thread ------------------------------------------------------------------

void CBus::Serve(std::stop_token stop) {
    while (!stop.stop_requested()) {
        const auto now = Clock::now();
        Clock::duration wait = kMaxPollWait;
        if (!m_outgoing.empty()) wait = std::min(wait, m_outgoing.front().due - now);
        if (m_cutter.HasPending()) wait = std::min(wait, m_lastByte + CSimulator::kSilenceTimeout - now);

        pollfd watch{m_pty.Master(), POLLIN, 0};
        const int ready = ::poll(&watch, 1, PollTimeout(wait));
        const auto after = Clock::now();
        std::vector<Frame> requests;
        if (ready > 0 && (watch.revents & POLLIN) != 0) {
            std::array<std::uint8_t, 4096> chunk{};
            const ssize_t n = ::read(m_pty.Master(), chunk.data(), chunk.size());
            if (n > 0) {
                m_lastByte = after;
                requests = m_cutter.Feed(std::span<const std::uint8_t>(chunk.data(), static_cast<std::size_t>(n)));
            }
        } else if (ready > 0) {
            // POLLHUP or POLLERR without data: nothing to read, do not spin.
            std::this_thread::sleep_for(milliseconds(5));
        }
        if (m_cutter.HasPending() && after - m_lastByte >= CSimulator::kSilenceTimeout) requests = m_cutter.Flush();
        for (const Frame& request : requests) HandleRequest(request, after);
        SendDue(Clock::now());
    }
}

void CBus::HandleRequest(const Frame& request, Clock::time_point now) {
    const std::uint32_t lineBaud = m_pty.LineSpeed();
    std::vector<Frame> replies;
    std::string who;
    milliseconds latency{0};
    {
        std::lock_guard lock(m_lock);
        latency = m_replyLatency;
        for (Unit& unit : m_units) {
            if (!unit.plugged || unit.state.baud != lineBaud) continue;
            if (std::optional<Frame> reply = AnswerRequest(unit.state, request)) {
                replies.push_back(std::move(*reply));
                who += (who.empty() ? "" : ", ") + std::to_string(unit.name);
            }
        }
    }
    if (m_trace) {
        std::string line = "rx " + std::to_string(lineBaud) + " " + HexBytes(request) + " | " + DescribeRequest(request);
        line += replies.empty() ? " (no answer)" : " (answered by " + who + ")";
        // The tool spoke while a unit was still to answer: on a pair the two collide.
        if (!m_outgoing.empty()) line += " (overlaps a reply)";
        m_trace(line);
    }
    {
        // After the trace, so that a test that waited for the request finds its line.
        std::lock_guard lock(m_lock);
        m_log.push_back({request, lineBaud, !replies.empty()});
    }
    m_logChanged.notify_all();
    if (replies.empty()) return;
    if (replies.size() > 1) who += " collide";
    const Outgoing out{now + latency, replies.size() == 1 ? replies[0] : CollideReplies(replies), request, who};
    const auto place = std::upper_bound(m_outgoing.begin(), m_outgoing.end(), out.due,
                                        [](Clock::time_point due, const Outgoing& o) { return due < o.due; });
    m_outgoing.insert(place, out);
}

void CBus::SendDue(Clock::time_point now) {
    while (!m_outgoing.empty() && m_outgoing.front().due <= now) {
        const Outgoing& out = m_outgoing.front();
        // A reply is a few bytes: the terminal takes it whole unless nobody has
        // read for long, and then what does not fit is lost, as on a line
        // nobody listens to.
        std::size_t sent = 0;
        while (sent < out.bytes.size()) {
            const ssize_t n = ::write(m_pty.Master(), out.bytes.data() + sent, out.bytes.size() - sent);
            if (n > 0) {
                sent += static_cast<std::size_t>(n);
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else {
                break;
            }
        }
        if (m_trace) {
            std::string line = "tx " + HexBytes(std::span(out.bytes).first(sent));
            if (sent < out.bytes.size()) line += " (" + std::to_string(out.bytes.size() - sent) + " bytes lost)";
            m_trace(line + " | " + DescribeReply(out.bytes, out.request) + " (unit " + out.who + ") | " +
                    OutcomeText(JudgeReply(out.bytes, out.request, ToolExpectation(out.request))));
        }
        m_outgoing.erase(m_outgoing.begin());
    }
}

}  // namespace sim
