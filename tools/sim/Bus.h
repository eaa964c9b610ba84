#pragma once
// Several simulated units on one pair of wires: one pseudo-terminal, served by
// one thread, every unit a whole device of its own.
//
//   sim::CBus bus({.units = {{sim::DeviceKind::Th, 12, 9600}, {sim::DeviceKind::Th, 13, 4800}}});
//   ... the tool opens bus.SlavePath() and reads unit 12 at 9600 bit/s ...
//   bus.Unplug(13);
//
// Every unit hears every request, but only while the terminal's line speed
// equals its own speed (at another speed it hears noise), and answers it as
// the single-device simulator's device would: an addressed request only at
// its own address. When more than one unit answers the same request (an FD,
// FC or FB frame, which carries no unit address, or two units at one address)
// they drive the pair at once and the replies collide: see CollideReplies.
// All methods are thread-safe.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "DeviceState.h"
#include "PseudoTerminal.h"
#include "RequestCutter.h"
#include "Simulator.h"

namespace sim {

struct BusUnit {
    DeviceKind kind = DeviceKind::Th;
    std::uint8_t address = 1;
    std::uint32_t baud = 9600;
};

struct BusConfig {
    std::vector<BusUnit> units;
    std::uint32_t lineBaud = 9600;  // the terminal's speed until the tool sets its own
    std::chrono::milliseconds replyLatency{2};
    // One line per request heard and per reply sent, as the single-device
    // simulator writes them; a request line also says which units answered
    // ("(answered by 12)", "(no answer)") and, when a reply was still due as
    // it came, "(overlaps a reply)". Optional.
    std::function<void(const std::string&)> trace{};
};

// "th:12,th:13,light:20@4800": kind:address, @speed for a unit that does not
// run at `defaultBaud`. Empty with `error` set when the text is not a list of
// units.
std::vector<BusUnit> ParseBusUnits(std::string_view text, std::uint32_t defaultBaud, std::string& error);

// What the pair carries when several units answer at once. Each byte is the
// OR of the bytes the units put on the line at that place (a driven mark wins
// over a space), as long as the longest reply. Should that happen to end in a
// good CRC (two units saying the very same bytes), its last byte is inverted:
// two drivers are never exactly in step, and a collision never reads as a reply.
Frame CollideReplies(const std::vector<Frame>& replies);

class CBus {
public:
    explicit CBus(BusConfig config);  // throws std::system_error when no pty can be had
    ~CBus();
    CBus(const CBus&) = delete;
    CBus& operator=(const CBus&) = delete;

    const std::string& SlavePath() const { return m_pty.SlavePath(); }
    std::uint32_t LineSpeed() const { return m_pty.LineSpeed(); }
    std::size_t UnitCount() const { return m_units.size(); }

    // A unit is named by the address it was configured with, which stays its
    // name when the tool gives it another. Unplugged, it hears and answers
    // nothing; plugged back, it is the same unit with the state it had. False
    // when no unit has that name.
    bool Unplug(std::uint8_t unit);
    bool Plug(std::uint8_t unit);
    std::optional<DeviceState> State(std::uint8_t unit) const;
    bool Update(std::uint8_t unit, const std::function<void(DeviceState&)>& change);
    void SetReplyLatency(std::chrono::milliseconds latency);

    // The requests heard, at the line speed they came at, and whether any
    // unit answered.
    std::vector<ReceivedFrame> Received() const;
    bool WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) const;

private:
    struct Unit {
        std::uint8_t name;
        DeviceState state;
        bool plugged = true;
    };
    struct Outgoing {
        std::chrono::steady_clock::time_point due;
        Frame bytes;
        Frame request;
        std::string who;  // "12", "12, 13 collide"
    };

    void Serve(std::stop_token stop);
    void HandleRequest(const Frame& request, std::chrono::steady_clock::time_point now);
    void SendDue(std::chrono::steady_clock::time_point now);
    // Runs `change` on the unit named `unit` under the lock; false when there is none.
    bool WithUnit(std::uint8_t unit, const std::function<void(Unit&)>& change);

    const std::function<void(const std::string&)> m_trace;
    CPseudoTerminal m_pty;

    mutable std::mutex m_lock;  // everything below but the serving thread's own
    mutable std::condition_variable m_logChanged;
    std::vector<Unit> m_units;
    std::chrono::milliseconds m_replyLatency;
    std::vector<ReceivedFrame> m_log;

    // Serving thread only.
    CRequestCutter m_cutter;
    std::chrono::steady_clock::time_point m_lastByte;
    std::vector<Outgoing> m_outgoing;  // in due order

    std::jthread m_thread;  // last: joined before anything it uses goes away
};

}  // namespace sim
