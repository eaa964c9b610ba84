#include "ExchangeLogger.h"

CExchangeLogger::CExchangeLogger(CFrameLog& log, std::function<ReplyContext()> context)
    : m_log(log), m_context(std::move(context)) {}

void CExchangeLogger::OnRequest(std::span<const std::uint8_t> request) {
    m_request.assign(request.begin(), request.end());
    m_log.Append(LogDirection::Sent, request, DescribeRequest(request));
}

void CExchangeLogger::OnReply(std::span<const std::uint8_t> reply, ExchangeVariant variant) {
    const ReplyContext context = m_context ? m_context() : ReplyContext{};
    const ReplyVerdict verdict = JudgeReply(reply, m_request, context);
    if (reply.empty()) {
        const ExchangePlan plan = PlanOf(variant);
        const auto waited = plan.interval * plan.maxPolls;
        m_log.Append(LogDirection::Received, reply, "nothing within " + std::to_string(waited.count()) + " ms",
                     OutcomeText(verdict));
        return;
    }
    m_log.Append(LogDirection::Received, reply, DescribeReply(reply, m_request), OutcomeText(verdict));
}
