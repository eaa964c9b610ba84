#include "Exchange.h"

#include <algorithm>
#include <thread>

#include "serial/SerialPort.h"

namespace {

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

std::uint16_t FetchIntoReply(CLink& link) {
    return link.m_receive.FetchReply(link.m_rxReply.data(),
                                     static_cast<std::uint16_t>(link.m_rxReply.size()));
}

}  // namespace

std::uint16_t ExchangeFrame(CLink& link, std::uint16_t frameLength, ExchangeVariant variant) {
    CExchangeScope scope(link.m_waiter);
    const ExchangePlan plan = PlanOf(variant);

    // Whatever waits in the reply queue answered an earlier request.
    FetchIntoReply(link);

    // A lost write shows up as a missing reply, so its result is not needed.
    const auto length = std::min<std::size_t>(frameLength, link.m_txFrame.size());
    link.m_port.Write(link.m_txFrame.data(), static_cast<std::uint32_t>(length));
    if (link.m_observer) link.m_observer->OnRequest(std::span<const std::uint8_t>(link.m_txFrame).first(length));

    std::uint16_t stopped = 0;
    for (int poll = 0; poll < plan.maxPolls && stopped == 0; ++poll) {
        if (link.m_waiter) {
            link.m_waiter->Wait(plan.interval);
        } else {
            std::this_thread::sleep_for(plan.interval);
        }
        const std::uint16_t count = FetchIntoReply(link);
        // The long variant outwaits the receiver's line noise of a few bytes
        // while it switches mode; those fetches are simply dropped.
        if (count >= plan.stopBytes) stopped = count;
    }
    if (link.m_observer) link.m_observer->OnReply(ReplyOf(link, stopped), variant);
    return stopped;
}
