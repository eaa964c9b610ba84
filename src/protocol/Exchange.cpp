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

// The reply queue holds at most CByteQueue::kMaxBytes, so this many fetches
// empty it even while the receive thread keeps adding to it.
constexpr int kDrainFetches = CByteQueue::kMaxBytes / CLink::kBufferBytes + 2;

void DrainReplies(CLink& link) {
    for (int fetch = 0; fetch < kDrainFetches && link.FetchReply() > 0; ++fetch) {
    }
}

// The exchange itself: drain, write, poll. `wakeAlways` lets a queued reply
// end the long variant's 600 ms polls too, for exchanges whose replies are
// queued whole as soon as they are complete.
std::uint16_t ExchangeOnce(CLink& link, std::uint16_t frameLength, ExchangeVariant variant,
                           bool wakeAlways = false, std::optional<milliseconds> waitLimit = std::nullopt) {
    CExchangeScope scope(link.Waiter());
    ExchangePlan plan = PlanOf(variant);
    plan.wakeOnReply = plan.wakeOnReply || wakeAlways;
    if (waitLimit) {
        const auto polls = (waitLimit->count() + plan.interval.count() - 1) / plan.interval.count();
        plan.maxPolls = static_cast<int>(std::clamp<long long>(polls, 1, plan.maxPolls));
    }
    CSleepingWaiter sleeper;
    IExchangeWaiter& waiter = link.Waiter() != nullptr ? *link.Waiter() : sleeper;
    std::optional<CReplyWake> wake;
    if (plan.wakeOnReply) wake.emplace(link.Receive(), waiter);

    // Whatever waits in the reply queue answered an earlier request, or is
    // line noise, which can be longer than any reply: all of it goes.
    DrainReplies(link);

    // A lost write shows up as a missing reply, so its result is not needed.
    const std::span<const std::uint8_t> request = link.Request(frameLength);
    link.Port().Write(request.data(), static_cast<std::uint32_t>(request.size()));
    // A short wait counts from when the request has left the port, not from
    // when the driver took it: at 2400 bit/s the bytes alone take 33 ms.
    if (waitLimit) link.Port().Drain();
    if (link.Observer()) link.Observer()->OnRequest(request);

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
        const std::uint16_t count = link.FetchReply();
        // The long variant outwaits the receiver's line noise of a few bytes
        // while it switches mode; those fetches are simply dropped.
        if (count >= plan.stopBytes) stopped = count;
    }
    return stopped;
}

}  // namespace

std::uint16_t ExchangeFrame(CLink& link, std::uint16_t frameLength, ExchangeVariant variant) {
    const std::uint16_t count = ExchangeOnce(link, frameLength, variant);
    if (link.Observer()) link.Observer()->OnReply(link.Reply(count), variant, nullptr);
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
                              const ReplyExpectation& expectation, std::optional<milliseconds> waitLimit) {
    const std::span<const std::uint8_t> request = link.Request(frameLength);
    std::optional<CCompletionScope> completion;
    if (link.CutsOnCompleteReply()) completion.emplace(link.Receive(), request, expectation);
    const std::uint16_t count = ExchangeOnce(link, frameLength, variant, link.CutsOnCompleteReply(), waitLimit);
    const std::span<const std::uint8_t> reply = link.Reply(count);
    ReplyVerdict verdict = JudgeReply(reply, request, expectation);
    if (link.Observer()) link.Observer()->OnReply(reply, variant, &verdict);
    return verdict;
}
