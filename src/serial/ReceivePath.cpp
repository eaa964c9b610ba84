#include "ReceivePath.h"

#include <algorithm>
#include <chrono>

#include "SerialPort.h"

namespace {
constexpr auto kPollInterval = std::chrono::milliseconds(1);
}

CReceivePath::~CReceivePath() {
    Stop();
}

void CReceivePath::Init() {
    m_rxQueue.Init();
    m_replyQueue.Init();
    std::fill(std::begin(m_rxChunk), std::end(m_rxChunk), std::uint8_t{0});
    m_idleTicks = 0;
}

void CReceivePath::Start(CSerialPort& port, const std::atomic<bool>& portOpen) {
    if (m_thread.joinable()) {
        return;
    }
    m_thread = std::jthread(
        [this, &port, &portOpen](std::stop_token stop) { Run(std::move(stop), port, portOpen); });
}

void CReceivePath::Stop() {
    if (!m_thread.joinable()) {
        return;
    }
    m_thread.request_stop();
    m_thread.join();
}

bool CReceivePath::Running() const {
    return m_thread.joinable();
}

std::uint16_t CReceivePath::FetchReply(std::uint8_t* buffer, std::uint16_t maxBytes) {
    if (buffer == nullptr) {
        return 0;
    }
    const std::uint16_t count = std::min(m_replyQueue.Count(), maxBytes);
    for (std::uint16_t i = 0; i < count; ++i) {
        buffer[i] = m_replyQueue.Pop();
    }
    return count;
}

void CReceivePath::Run(std::stop_token stop, CSerialPort& port, const std::atomic<bool>& portOpen) {
    // The open session whose bytes m_rxQueue holds. Bytes of an unfinished reply
    // from before a close or reopen belong to no request any more; left in the
    // raw queue they would land in front of the next session's first reply.
    std::uint64_t session = 0;

    while (!stop.stop_requested()) {
        if (!portOpen.load(std::memory_order_acquire)) {
            m_idleTicks = 0;
            std::this_thread::sleep_for(kPollInterval);
            continue;
        }

        std::uint64_t readSession = session;
        const std::uint32_t count = port.Read(m_rxChunk, kChunkBytes, &readSession);
        if (readSession != session) {
            session = readSession;
            m_rxQueue.Init();  // this thread is the queue's only user
            m_idleTicks = 0;
        }

        if (count > 0) {
            for (std::uint32_t i = 0; i < count; ++i) {
                m_rxQueue.Push(m_rxChunk[i]);
            }
            m_idleTicks = kSilencePolls;
        } else if (m_idleTicks > 0 && --m_idleTicks == 0) {
            // The line has been quiet for kSilencePolls polls: what came before is one reply.
            for (std::uint16_t left = m_rxQueue.Count(); left > 0; --left) {
                m_replyQueue.Push(m_rxQueue.Pop());
            }
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}
