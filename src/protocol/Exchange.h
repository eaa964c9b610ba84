#pragma once
// One blocking request/reply transaction: drain stale reply bytes, write the
// frame that the caller built in m_txFrame, then poll the reply queue.

#include <cstdint>

#include "Link.h"

enum class ExchangeVariant {
    Standard,  // 10 ms x 50, stops at the first fetch of at least 1 byte
    Long,      // 600 ms x 10, fetches of 1 to 3 bytes are discarded
    Extended,  // 10 ms x 100, stops at the first fetch of at least 1 byte
};

// Returns the byte count of the fetch that stopped the poll (the reply is in
// link.m_rxReply), or 0 when the polls ran out.
std::uint16_t ExchangeFrame(CLink& link, std::uint16_t frameLength,
                            ExchangeVariant variant = ExchangeVariant::Standard);

enum class ExchangeOutcome { NoReply, ShortReply, BadReply, GoodReply };

// A reply of 3 bytes or fewer is short whatever the check says.
constexpr ExchangeOutcome ClassifyReply(std::uint16_t count, bool checkPassed) {
    if (count == 0) return ExchangeOutcome::NoReply;
    if (count <= 3) return ExchangeOutcome::ShortReply;
    return checkPassed ? ExchangeOutcome::GoodReply : ExchangeOutcome::BadReply;
}
