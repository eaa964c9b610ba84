#pragma once
// The exchange observer that writes the frame log: each request as written,
// then the reply in words with the verdict its operation reached.

#include <cstdint>
#include <vector>

#include "Exchange.h"
#include "FrameDecoder.h"
#include "FrameLog.h"

class CExchangeLogger final : public IExchangeObserver {
public:
    explicit CExchangeLogger(CFrameLog& log) : m_log(log) {}

    void OnRequest(std::span<const std::uint8_t> request) override;
    void OnReply(std::span<const std::uint8_t> reply, ExchangeVariant variant,
                 const ReplyVerdict* verdict) override;

private:
    CFrameLog& m_log;
    std::vector<std::uint8_t> m_request;  // the request the next reply answers
};
