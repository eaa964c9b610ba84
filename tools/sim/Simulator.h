#pragma once
// A simulated RS-485 device on a pseudo-terminal, served by its own thread.
//
//   sim::CSimulator device({.kind = sim::DeviceKind::Th, .address = 5, .baud = 4800});
//   setenv("SENTRABUS_COM3", device.SlavePath().c_str(), 1);   // the tool's COM3
//   ... drive the tool ...
//   device.WaitForFrames(1, 2s);
//   EXPECT_EQ(device.Received()[0].bytes, (sim::Frame{0xFD, 0xFD, 0xFD, 0, 0, 0xE9, 0x88}));
//
// The device hears a request only while the terminal's line speed (set by the
// tool on its port) equals the device's speed; every request it cut from the
// line is logged either way. Replies go out a couple of milliseconds after the
// request, unless a fault says otherwise. All methods are thread-safe.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "DeviceState.h"
#include "Fault.h"
#include "PseudoTerminal.h"
#include "RequestCutter.h"

namespace sim {

struct SimConfig {
    DeviceKind kind = DeviceKind::Th;
    std::uint8_t address = 1;
    std::uint32_t baud = 9600;
    std::chrono::milliseconds replyLatency{2};
    // Called on the serving thread with one line per request heard and per reply
    // sent ("rx 4800 FD FD FD 00 00 E9 88 | FD query", "tx FD FD FD 02 05 .. |
    // FD reply: .. | good"). Optional.
    // A line is the bytes in hex, then "|" and their meaning; a reply's line
    // ends in "|" and how the tool would judge it ("good", "bad: CRC").
    std::function<void(const std::string&)> trace{};
};

struct ReceivedFrame {
    Frame bytes;
    std::uint32_t lineBaud = 0;  // the terminal's speed when the request was cut
    bool answered = false;       // a reply (faulted or not) was put on the line
};

class CSimulator {
public:
    // Fault count meaning "every request until ClearFaults".
    static constexpr unsigned kEveryRequest = ~0U;
    // An unfinished frame is given up after this much silence.
    static constexpr std::chrono::milliseconds kSilenceTimeout{30};

    explicit CSimulator(SimConfig config);  // throws std::system_error when no pty can be had
    ~CSimulator();
    CSimulator(const CSimulator&) = delete;
    CSimulator& operator=(const CSimulator&) = delete;

    const std::string& SlavePath() const { return m_pty.SlavePath(); }
    DeviceKind Kind() const { return m_kind; }
    // The line speed the tool has set on the terminal, 0 when unknown.
    std::uint32_t LineSpeed() const { return m_pty.LineSpeed(); }

    // --- Device state ---------------------------------------------------------
    std::uint8_t Address() const;
    void SetAddress(std::uint8_t address);
    std::uint32_t Baud() const;
    void SetBaud(std::uint32_t baud);
    // Function-03/06/10 registers: measurements 0x0000..0x0006 (light: 0x0006), LCD 0x002D,
    // 0x002F, 0x0030, line settings 0x0200..0x0204. Empty / false when the
    // device lacks the register.
    std::optional<std::uint16_t> Register(std::uint16_t reg) const;
    bool SetRegister(std::uint16_t reg, std::uint16_t value);
    // FC parameters (1..8, 11, 12 on th; 13..15 on light).
    std::optional<std::uint16_t> FcParam(std::uint8_t code) const;
    bool SetFcParam(std::uint8_t code, std::uint16_t value);
    WirelessState Wireless() const;
    void SetWireless(const WirelessState& wireless);
    // The whole state, copied out; and a change made under the state's lock.
    DeviceState State() const;
    void Update(const std::function<void(DeviceState&)>& change);

    // The device taken off the line (it answers nothing, its requests are
    // still logged), and a fresh one of the same kind plugged in its place,
    // with factory settings at the address and speed the simulator started
    // with: a box of units connected one after the other.
    void Unplug();
    void PlugInFresh();
    bool Plugged() const;

    // --- Faults -----------------------------------------------------------------
    // The next `requests` requests that the device answers get `fault`. Calls
    // queue up in order; kEveryRequest keeps the fault until ClearFaults.
    void InjectFault(Fault fault, unsigned requests = 1);
    void ClearFaults();
    void SetReplyLatency(std::chrono::milliseconds latency);
    // Puts `bytes` on the line now, outside any reply, as line noise or a
    // babbling device would; waits for the tool to make room, at most
    // `timeout`. False when not all of them went out in time.
    bool PutOnLine(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout);

    // --- Log of requests heard ------------------------------------------------
    std::vector<ReceivedFrame> Received() const;
    std::vector<Frame> ReceivedBytes() const;  // just the frames
    void ClearReceived();
    // True once at least `count` requests are in the log; false after `timeout`.
    bool WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) const;
    // Line bytes that belonged to no request (noise, bad CRC, cut-off frames).
    std::size_t SkippedBytes() const;
    // True once every reply piece due so far and every one still scheduled has
    // gone on the line (or was given up on); false after `timeout`.
    bool WaitUntilSent(std::chrono::milliseconds timeout) const;

    // A piece the terminal takes no byte of for this long is given up on: the
    // reader has gone away or stopped reading.
    static constexpr std::chrono::milliseconds kWriteStall{2000};

private:
    struct Outgoing {
        std::chrono::steady_clock::time_point due;
        Frame bytes;
        Frame request;  // the one it answers, for the trace
        // A piece larger than the room in the terminal's buffer goes out in parts.
        bool started = false;
        std::size_t sent = 0;
        std::chrono::steady_clock::time_point lastProgress{};
    };
    struct QueuedFault {
        Fault fault;
        unsigned remaining;
    };

    void Serve(std::stop_token stop);
    void ReadLine(std::chrono::steady_clock::time_point now);
    void HandleRequest(const Frame& request, std::chrono::steady_clock::time_point now);
    void SendDue(std::chrono::steady_clock::time_point now);
    // The front piece is due and waits for room in the terminal's buffer.
    bool WaitsForRoom(std::chrono::steady_clock::time_point now) const;
    void CountOutgoing();
    Fault TakeFault();

    const DeviceKind m_kind;
    const std::uint8_t m_factoryAddress;
    const std::uint32_t m_factoryBaud;
    const std::function<void(const std::string&)> m_trace;
    CPseudoTerminal m_pty;

    mutable std::mutex m_stateLock;  // m_state, m_faults, m_replyLatency, m_plugged
    DeviceState m_state;
    bool m_plugged = true;
    std::deque<QueuedFault> m_faults;
    std::chrono::milliseconds m_replyLatency;

    mutable std::mutex m_logLock;  // m_log, m_skipped, m_outgoingCount
    mutable std::condition_variable m_logChanged;
    std::vector<ReceivedFrame> m_log;
    std::size_t m_skipped = 0;
    std::size_t m_outgoingCount = 0;  // m_outgoing.size(), for other threads

    // Serving thread only.
    CRequestCutter m_cutter;
    std::chrono::steady_clock::time_point m_lastByte;
    std::vector<Outgoing> m_outgoing;  // in due order

    std::jthread m_thread;  // last: joined before anything it uses goes away
};

// "FD FD FD 00 00 E9 88"
std::string HexBytes(std::span<const std::uint8_t> bytes);

}  // namespace sim
