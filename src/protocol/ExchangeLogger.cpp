#include "ExchangeLogger.h"

#include "ReplyJudge.h"

void CExchangeLogger::OnRequest(std::span<const std::uint8_t> request) {
    m_request.assign(request.begin(), request.end());
    m_log.Append(LogDirection::Sent, request, DescribeRequest(request));
}

void CExchangeLogger::OnReply(std::span<const std::uint8_t> reply, ExchangeVariant variant,
                              const ReplyVerdict* verdict) {
    // An exchange that judged nothing leaves the outcome column empty.
    const std::string outcome = verdict != nullptr ? OutcomeText(*verdict) : std::string();
    if (reply.empty()) {
        const ExchangePlan plan = PlanOf(variant);
        const auto waited = plan.interval * plan.maxPolls;
        m_log.Append(LogDirection::Received, reply, "nothing within " + std::to_string(waited.count()) + " ms",
                     outcome);
        return;
    }
    m_log.Append(LogDirection::Received, reply, DescribeReply(reply, m_request), outcome);
}
