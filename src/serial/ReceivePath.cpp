#include "ReceivePath.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <utility>

#include "SerialPort.h"

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kPollInterval = std::chrono::milliseconds(1);
constexpr auto kSilence = kPollInterval * CReceivePath::kSilencePolls;
// Wake-ups for input that then reads nothing, in a row, before the thread stops
// trusting the port's readiness and looks at it once per poll interval instead.
constexpr int kFruitlessWakeups = 100;
}  // namespace

CReceivePath::~CReceivePath() {
    Stop();
}

void CReceivePath::Init() {
    m_rxQueue.Init();
    m_replyQueue.Init();
    m_collectedCount = 0;
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
    m_thread.request_stop();  // wakes the thread (see Run)
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

IReplyListener* CReceivePath::SetReplyListener(IReplyListener* listener) {
    std::lock_guard lock(m_listenerLock);
    return std::exchange(m_listener, listener);
}

IReplyCompletion* CReceivePath::SetReplyCompletion(IReplyCompletion* completion) {
    std::lock_guard lock(m_listenerLock);
    return std::exchange(m_completion, completion);
}

void CReceivePath::Collect(const std::uint8_t* bytes, std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i) m_rxQueue.Push(bytes[i]);
    if (m_collectedCount + count > kCollectedBytes) {
        m_collectedCount = kCollectedBytes + 1;
        return;
    }
    std::copy_n(bytes, count, m_collected.begin() + static_cast<std::ptrdiff_t>(m_collectedCount));
    m_collectedCount += count;
}

bool CReceivePath::CollectedIsComplete() {
    if (m_collectedCount > kCollectedBytes || m_collectedCount != m_rxQueue.Count()) return false;
    std::lock_guard lock(m_listenerLock);
    return m_completion != nullptr &&
           m_completion->IsComplete(std::span<const std::uint8_t>(m_collected.data(), m_collectedCount));
}

void CReceivePath::QueueReply() {
    // The whole reply is published at once: a fetch racing with the move must
    // not take the first half of it as the answer.
    std::array<std::uint8_t, CByteQueue::kMaxBytes> reply;
    const std::uint16_t count = m_rxQueue.Count();
    for (std::uint16_t i = 0; i < count; ++i) {
        reply[i] = m_rxQueue.Pop();
    }
    m_replyQueue.PushRun(reply.data(), count);
    m_collectedCount = 0;
    std::lock_guard lock(m_listenerLock);
    if (m_listener != nullptr) {
        m_listener->OnReplyQueued();
    }
}

void CReceivePath::Run(std::stop_token stop, CSerialPort& port, const std::atomic<bool>& portOpen) {
    const std::stop_callback wakeOnStop(stop, [&port] { port.Wake(); });
    // The open session whose bytes m_rxQueue holds. Bytes of an unfinished reply
    // from before a close or reopen belong to no request any more; left in the
    // raw queue they would land in front of the next session's first reply.
    std::uint64_t session = 0;
    // When the line will have been quiet long enough, while m_idleTicks > 0.
    Clock::time_point silenceEnds;
    PortWait lastWait = PortWait::TimedOut;
    int fruitless = 0;

    while (!stop.stop_requested()) {
        if (!portOpen.load(std::memory_order_acquire)) {
            m_idleTicks = 0;
            // Closed, the port's next Open wakes us. Open, the window thread is
            // about to set the flag (it does right after each open), which
            // sends no wake-up: look again after a poll interval.
            port.WaitForWake(port.IsOpen() ? CPortWakeup::Deadline(Clock::now() + kPollInterval) : std::nullopt);
            continue;
        }

        std::uint64_t readSession = session;
        const std::uint32_t count = port.Read(m_rxChunk, kChunkBytes, &readSession);
        const Clock::time_point now = Clock::now();
        if (readSession != session) {
            session = readSession;
            m_rxQueue.Init();  // this thread is the queue's only user
            m_collectedCount = 0;
            m_idleTicks = 0;
            fruitless = 0;
        }
        if (count > 0) {
            fruitless = 0;
        } else if (lastWait == PortWait::Input) {
            ++fruitless;
        }

        if (count > 0) {
            Collect(m_rxChunk, count);
            m_idleTicks = kSilencePolls;
            silenceEnds = now + kSilence;
            if (CollectedIsComplete()) {
                m_idleTicks = 0;
                QueueReply();
            }
        } else if (m_idleTicks > 0) {
            if (now >= silenceEnds) {
                // The line has been quiet for the whole silence: what came before is one reply.
                m_idleTicks = 0;
                QueueReply();
            } else {
                const auto left = std::chrono::ceil<std::chrono::milliseconds>(silenceEnds - now);
                m_idleTicks = static_cast<std::uint16_t>(std::clamp<long long>(left.count(), 1, kSilencePolls));
            }
        }
        // A reply being collected waits for its next byte or the end of the
        // silence; a quiet line waits for the next byte however long it takes.
        // A device that says it has input and then gives none is not allowed
        // to make this loop spin.
        const CPortWakeup::Deadline deadline = m_idleTicks > 0 ? CPortWakeup::Deadline(silenceEnds) : std::nullopt;
        if (fruitless < kFruitlessWakeups) {
            lastWait = port.WaitForInput(deadline);
        } else {
            const auto paced = Clock::now() + kPollInterval;
            lastWait = port.WaitForWake(deadline ? std::min(*deadline, paced) : paced);
        }
    }
}
