#pragma once
// The exchange observer that writes the frame log: each request as written,
// then the reply in words, judged against that request.

#include <cstdint>
#include <functional>
#include <vector>

#include "Exchange.h"
#include "FrameDecoder.h"
#include "FrameLog.h"

class CExchangeLogger final : public IExchangeObserver {
public:
    // `context` tells, at each reply, what the tool then expects of a reply
    // beyond the request's bytes (the register mode's address).
    CExchangeLogger(CFrameLog& log, std::function<ReplyContext()> context);

    void OnRequest(std::span<const std::uint8_t> request) override;
    void OnReply(std::span<const std::uint8_t> reply, ExchangeVariant variant) override;

private:
    CFrameLog& m_log;
    std::function<ReplyContext()> m_context;
    std::vector<std::uint8_t> m_request;  // the request the next reply answers
};
