#include "Exchange.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "ReplyJudge.h"
#include "serial/SerialPort.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Brackets one transaction for the waiter, so that EndExchange runs on every
// way out of ExchangeFrame.
class CExchangeScope {
public:
    explicit CExchangeScope(IExchangeWaiter* waiter) : m_waiter(waiter) {
        if (m_waiter) m_waiter->BeginExchange();
    }
    ~CExchangeScope() {
        if (m_waiter) m_waiter->EndExchange();
    }
    CExchangeScope(const CExchangeScope&) = delete;
    CExchangeScope& operator=(const CExchangeScope&) = delete;

private:
    IExchangeWaiter* m_waiter;
};

// The waiter of a link that has none: it sleeps, and a queued reply wakes it.
class CSleepingWaiter final : public IExchangeWaiter {
public:
    void Wait(milliseconds interval) override { std::this_thread::sleep_for(interval); }

    bool WaitForReply(milliseconds interval) override {
        std::unique_lock lock(m_lock);
        const bool woken = m_changed.wait_for(lock, interval, [this] { return m_woken; });
        m_woken = false;
        return woken;
    }

    void Wake() override {
        {
            std::lock_guard lock(m_lock);
            m_woken = true;
        }
        m_changed.notify_one();
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_woken = false;
};

// Tells the waiter of each reply the receive thread queues, while it lives.
class CReplyWake final : public IReplyListener {
public:
    CReplyWake(CReceivePath& receive, IExchangeWaiter& waiter)
        : m_receive(receive), m_waiter(waiter), m_previous(receive.SetReplyListener(this)) {}
    ~CReplyWake() { m_receive.SetReplyListener(m_previous); }
    CReplyWake(const CReplyWake&) = delete;
    CReplyWake& operator=(const CReplyWake&) = delete;

    void OnReplyQueued() override { m_waiter.Wake(); }

private:
    CReceivePath& m_receive;
    IExchangeWaiter& m_waiter;
    IReplyListener* m_previous;
};

std::uint16_t FetchIntoReply(CLink& link) {
    return link.m_receive.FetchReply(link.m_rxReply.data(),
                                     static_cast<std::uint16_t>(link.m_rxReply.size()));
}

// The reply queue holds at most CByteQueue::kMaxBytes, so this many fetches
// empty it even while the receive thread keeps adding to it.
constexpr int kDrainFetches = CByteQueue::kMaxBytes / CLink::kBufferBytes + 2;

void DrainReplies(CLink& link) {
    for (int fetch = 0; fetch < kDrainFetches && FetchIntoReply(link) > 0; ++fetch) {
    }
}

// The exchange itself: drain, write, poll. `wakeAlways` lets a queued reply
// end the long variant's 600 ms polls too, for exchanges whose replies are
// queued whole as soon as they are complete.
std::uint16_t ExchangeOnce(CLink& link, std::uint16_t frameLength, ExchangeVariant variant,
                           bool wakeAlways = false) {
    CExchangeScope scope(link.m_waiter);
    ExchangePlan plan = PlanOf(variant);
    plan.wakeOnReply = plan.wakeOnReply || wakeAlways;
    CSleepingWaiter sleeper;
    IExchangeWaiter& waiter = link.m_waiter != nullptr ? *link.m_waiter : sleeper;
    std::optional<CReplyWake> wake;
    if (plan.wakeOnReply) wake.emplace(link.m_receive, waiter);

    // Whatever waits in the reply queue answered an earlier request, or is
    // line noise, which can be longer than any reply: all of it goes.
    DrainReplies(link);

    // A lost write shows up as a missing reply, so its result is not needed.
    const auto length = std::min<std::size_t>(frameLength, link.m_txFrame.size());
    link.m_port.Write(link.m_txFrame.data(), static_cast<std::uint32_t>(length));
    if (link.m_observer) link.m_observer->OnRequest(std::span<const std::uint8_t>(link.m_txFrame).first(length));

    // The polls keep their times from the end of the write, so that the last
    // one falls at the variant's limit; a fetch on a wake-up comes in between
    // and does not count as a poll.
    const Clock::time_point start = Clock::now();
    std::uint16_t stopped = 0;
    for (int poll = 1; poll <= plan.maxPolls && stopped == 0;) {
        const Clock::time_point due = start + plan.interval * poll;
        const milliseconds left = std::max(std::chrono::ceil<milliseconds>(due - Clock::now()), milliseconds(0));
        bool woken = false;
        if (plan.wakeOnReply) {
            woken = waiter.WaitForReply(left);
        } else {
            waiter.Wait(left);
        }
        if (!woken) ++poll;
        const std::uint16_t count = FetchIntoReply(link);
        // The long variant outwaits the receiver's line noise of a few bytes
        // while it switches mode; those fetches are simply dropped.
        if (count >= plan.stopBytes) stopped = count;
    }
    return stopped;
}

}  // namespace

std::uint16_t ExchangeFrame(CLink& link, std::uint16_t frameLength, ExchangeVariant variant) {
    const std::uint16_t count = ExchangeOnce(link, frameLength, variant);
    if (link.m_observer) link.m_observer->OnReply(ReplyOf(link, count), variant, nullptr);
    return count;
}

namespace {

// The completion test of one judged exchange, set on the receive path for
// as long as the exchange runs.
class CCompletionScope final : public IReplyCompletion {
public:
    CCompletionScope(CReceivePath& receive, std::span<const std::uint8_t> request,
                     const ReplyExpectation& expectation)
        : m_receive(receive),
          m_request(request.begin(), request.end()),
          m_expectation(expectation),
          m_previous(receive.SetReplyCompletion(this)) {}
    ~CCompletionScope() { m_receive.SetReplyCompletion(m_previous); }
    CCompletionScope(const CCompletionScope&) = delete;
    CCompletionScope& operator=(const CCompletionScope&) = delete;

    bool IsComplete(std::span<const std::uint8_t> collected) const override {
        return IsCompleteReply(collected, m_request, m_expectation);
    }

private:
    CReceivePath& m_receive;
    const std::vector<std::uint8_t> m_request;
    const ReplyExpectation m_expectation;
    IReplyCompletion* m_previous;
};

}  // namespace

ReplyVerdict ExchangeAndJudge(CLink& link, std::uint16_t frameLength, ExchangeVariant variant,
                              const ReplyExpectation& expectation) {
    const auto length = std::min<std::size_t>(frameLength, link.m_txFrame.size());
    const std::span<const std::uint8_t> request(link.m_txFrame.data(), length);
    std::optional<CCompletionScope> completion;
    if (link.m_cutOnCompleteReply) completion.emplace(link.m_receive, request, expectation);
    const std::uint16_t count = ExchangeOnce(link, frameLength, variant, link.m_cutOnCompleteReply);
    const std::span<const std::uint8_t> reply = ReplyOf(link, count);
    ReplyVerdict verdict = JudgeReply(reply, request, expectation);
    if (link.m_observer) link.m_observer->OnReply(reply, variant, &verdict);
    return verdict;
}
