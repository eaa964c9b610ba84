#pragma once
// Everything one request/reply exchange needs: the port, the receive path and
// the shared request and reply buffers. The main window owns the one link; the
// secondary windows reach it through the main window.

#include <array>
#include <chrono>
#include <cstdint>

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

struct CLink {
    static constexpr std::size_t kBufferBytes = 1024;

    explicit CLink(CSerialPort& port) : m_port(port) {}

    CSerialPort& m_port;
    CReceivePath m_receive;
    std::array<std::uint8_t, kBufferBytes> m_txFrame{};  // request being built
    std::array<std::uint8_t, kBufferBytes> m_rxReply{};  // reply as FetchReply left it
    IExchangeWaiter* m_waiter = nullptr;
    IExchangeObserver* m_observer = nullptr;  // told of each exchange, when set
    // A judged exchange ends as soon as the reply it expects is complete
    // (its length known from the request, its CRC good) instead of after the
    // line's 30 ms of silence. Off for the windows, whose timing is the
    // device's as the operator knows it.
    bool m_cutOnCompleteReply = false;
};
