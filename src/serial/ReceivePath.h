#pragma once
// The receive path cuts the incoming byte stream into replies by silence: a
// thread polls the port every millisecond, collects bytes in the raw queue and,
// after 30 empty polls, moves everything collected into the reply queue as one
// reply. The window thread takes replies out with FetchReply.

#include <atomic>
#include <cstdint>
#include <thread>

#include "ByteQueue.h"

class CSerialPort;

class CReceivePath {
public:
    static constexpr std::uint16_t kSilencePolls = 30;
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
    // Asks the thread to end and joins it; safe to call twice.
    void Stop();
    bool Running() const;

    // Window thread: pops up to maxBytes of waiting replies into buffer.
    std::uint16_t FetchReply(std::uint8_t* buffer, std::uint16_t maxBytes);

    // Exposed for tests and for the window's members of the same names.
    CByteQueue m_rxQueue;      // raw bytes not yet delimited (receive thread only)
    CByteQueue m_replyQueue;   // complete replies (receive thread → window thread)
    std::uint8_t m_rxChunk[kChunkBytes]{};
    std::uint16_t m_idleTicks = 0;

private:
    void Run(std::stop_token stop, CSerialPort& port, const std::atomic<bool>& portOpen);
    std::jthread m_thread;
};
