#pragma once
// The receive path cuts the incoming byte stream into replies by silence: a
// thread reads the port, collects bytes in the raw queue and, once the line has
// been quiet for 30 ms (30 polls of 1 ms), moves everything collected into the
// reply queue as one reply. The window thread takes replies out with FetchReply.
//
// An exchange that knows the shape of the reply it waits for may set a
// completion test: a reply that passes it is queued as soon as its last byte
// is read.
//
// While no reply is being collected the thread blocks until the port has input
// or the port is closed, reopened or the thread stopped, so a quiet line costs
// no CPU.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <thread>

#include "ByteQueue.h"

class CSerialPort;

// Told on the receive thread each time a reply has been moved into the reply
// queue. Called with the receive path's listener lock held: it must be cheap
// and must not set the listener itself.
class IReplyListener {
public:
    virtual void OnReplyQueued() = 0;

protected:
    ~IReplyListener() = default;
};

// Tells whether the bytes collected so far make a whole reply, so that it can
// be queued at once instead of after the line's silence. Called on the receive
// thread after each read, with the receive path's listener lock held: it must
// be cheap and must not set itself.
class IReplyCompletion {
public:
    virtual bool IsComplete(std::span<const std::uint8_t> collected) const = 0;

protected:
    ~IReplyCompletion() = default;
};

class CReceivePath {
public:
    static constexpr std::uint16_t kSilencePolls = 30;  // of 1 ms each
    static constexpr std::uint32_t kChunkBytes = 256;

    CReceivePath() = default;
    ~CReceivePath();  // stops and joins the thread
    CReceivePath(const CReceivePath&) = delete;
    CReceivePath& operator=(const CReceivePath&) = delete;

    // Empties both queues, clears the chunk and the silence counter.
    // Only while the thread is not running.
    void Init();

    // Starts the thread (once). It reads `port` while `portOpen` is set. Bytes
    // of a reply cut short by a close or reopen of the port are dropped rather
    // than delivered in front of the next session's first reply.
    void Start(CSerialPort& port, const std::atomic<bool>& portOpen);
    // Asks the thread to end, wakes it and joins it; safe to call twice.
    void Stop();
    bool Running() const;

    // Window thread: pops up to maxBytes of waiting replies into buffer.
    std::uint16_t FetchReply(std::uint8_t* buffer, std::uint16_t maxBytes);

    // Any thread. Returns the listener it replaces; once it returns, that one
    // is no longer called.
    IReplyListener* SetReplyListener(IReplyListener* listener);
    // Any thread; nullptr cuts replies by silence alone. Returns the one it
    // replaces; once it returns, that one is no longer asked.
    IReplyCompletion* SetReplyCompletion(IReplyCompletion* completion);

    // Exposed for tests and for the window's members of the same names.
    CByteQueue m_rxQueue;      // raw bytes not yet delimited (receive thread only)
    CByteQueue m_replyQueue;   // complete replies (receive thread → window thread)
    std::uint8_t m_rxChunk[kChunkBytes]{};
    // Quiet polls still needed before the collected bytes are a reply; 0 while
    // nothing is being collected. The thread counts them in time (1 ms each).
    std::uint16_t m_idleTicks = 0;

private:
    void Run(std::stop_token stop, CSerialPort& port, const std::atomic<bool>& portOpen);
    void QueueReply();
    void Collect(const std::uint8_t* bytes, std::uint32_t count);
    bool CollectedIsComplete();

    // A contiguous copy of the reply being collected, for the completion test
    // (receive thread only). Longer replies than this are cut by silence.
    static constexpr std::size_t kCollectedBytes = 256;
    std::array<std::uint8_t, kCollectedBytes> m_collected{};
    std::size_t m_collectedCount = 0;  // kCollectedBytes + 1 once it overflowed

    std::mutex m_listenerLock;  // m_listener, m_completion
    IReplyListener* m_listener = nullptr;
    IReplyCompletion* m_completion = nullptr;
    std::jthread m_thread;  // last: stopped before the rest goes
};
