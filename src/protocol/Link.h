#pragma once
// Everything one request/reply exchange needs: the port, the receive path and
// the request and reply buffers. The session owns the one link; the secondary
// windows reach it through the main window.

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <span>

#include "serial/ReceivePath.h"

class CSerialPort;
class IExchangeObserver;

// How the window thread passes the time between polls. Without a waiter the
// exchange simply sleeps; the windows install one that keeps them painting and
// holds back the operator's clicks until the handler that started the exchange
// has returned.
class IExchangeWaiter {
public:
    virtual ~IExchangeWaiter() = default;
    virtual void BeginExchange() {}
    // Passes `interval`.
    virtual void Wait(std::chrono::milliseconds interval) = 0;
    // Passes at most `interval`: returns true when Wake ended the wait early,
    // or had been called since the last wait ended. A waiter that cannot be
    // woken simply waits, and its exchanges poll as before.
    virtual bool WaitForReply(std::chrono::milliseconds interval) {
        Wait(interval);
        return false;
    }
    // Called on the receive thread as soon as a reply has been queued, while
    // an exchange waits for one. Must be cheap and must not call back into the
    // link.
    virtual void Wake() {}
    virtual void EndExchange() {}
};

// The port, its receive path and the request and reply buffers of one line.
// The frame builders write into RequestBuffer(); an exchange sends its first
// bytes, fetches each poll's reply into the reply buffer and hands it on as
// Reply(). The buffers belong to the link: nothing else keeps a pointer into
// them past the exchange that filled them.
class CLink {
public:
    static constexpr std::size_t kBufferBytes = 1024;

    explicit CLink(CSerialPort& port) : m_port(port) {}
    CLink(const CLink&) = delete;
    CLink& operator=(const CLink&) = delete;

    CSerialPort& Port() const { return m_port; }
    CReceivePath& Receive() { return m_receive; }

    // Where the next request is built.
    std::span<std::uint8_t> RequestBuffer() { return m_request; }
    // The first `length` bytes of the request built (at most the buffer).
    std::span<const std::uint8_t> Request(std::size_t length) const {
        return std::span<const std::uint8_t>(m_request).first(std::min(length, m_request.size()));
    }
    // Takes the receive path's next reply into the reply buffer: its byte count, 0 when none waits.
    std::uint16_t FetchReply() {
        return m_receive.FetchReply(m_reply.data(), static_cast<std::uint16_t>(m_reply.size()));
    }
    // The first `count` bytes of the last fetch, as the reply checks take them.
    std::span<const std::uint8_t> Reply(std::size_t count) const {
        return std::span<const std::uint8_t>(m_reply).first(std::min(count, m_reply.size()));
    }

    IExchangeWaiter* Waiter() const { return m_waiter; }
    void SetWaiter(IExchangeWaiter* waiter) { m_waiter = waiter; }
    IExchangeObserver* Observer() const { return m_observer; }
    void SetObserver(IExchangeObserver* observer) { m_observer = observer; }
    // A judged exchange ends as soon as the reply it expects is complete
    // (its length known from the request, its CRC good) instead of after the
    // line's 30 ms of silence. Off for the windows, whose timing is the
    // device's as the operator knows it.
    bool CutsOnCompleteReply() const { return m_cutOnCompleteReply; }
    void SetCutOnCompleteReply(bool cut) { m_cutOnCompleteReply = cut; }

private:
    CSerialPort& m_port;
    CReceivePath m_receive;
    std::array<std::uint8_t, kBufferBytes> m_request{};
    std::array<std::uint8_t, kBufferBytes> m_reply{};  // as the last fetch left it
    IExchangeWaiter* m_waiter = nullptr;
    IExchangeObserver* m_observer = nullptr;  // told of each exchange, when set
    bool m_cutOnCompleteReply = false;
};
