#pragma once
// One blocking request/reply transaction: drain stale reply bytes, write the
// frame that the caller built in the link's request buffer, then poll the reply queue.

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>

#include "Link.h"

enum class ExchangeVariant {
    Standard,  // 10 ms x 50, stops at the first fetch of at least 1 byte
    Long,      // 600 ms x 10, fetches of 1 to 3 bytes are discarded
    Extended,  // 10 ms x 100, stops at the first fetch of at least 1 byte
};

// The poll of a variant: sleep `interval`, fetch, at most `maxPolls` times;
// a fetch of at least `stopBytes` bytes ends the poll, a smaller one that is
// not empty is thrown away.
//
// With `wakeOnReply` the exchange also fetches as soon as the receive thread
// has queued a reply, between two polls. Its outcome is that of the polls
// alone: a reply is queued only after 30 ms of silence, so two replies are
// queued more than one 10 ms poll apart, and the early fetch takes exactly
// what the next poll would have taken. The long variant keeps its 600 ms
// polls: there one poll gathers several replies and its stop rule counts
// them together.
struct ExchangePlan {
    std::chrono::milliseconds interval;
    int maxPolls;
    std::uint16_t stopBytes;
    bool wakeOnReply;
};

constexpr ExchangePlan PlanOf(ExchangeVariant variant) {
    using std::chrono::milliseconds;
    switch (variant) {
        case ExchangeVariant::Long: return {milliseconds(600), 10, 4, false};
        case ExchangeVariant::Extended: return {milliseconds(10), 100, 1, true};
        case ExchangeVariant::Standard: break;
    }
    return {milliseconds(10), 50, 1, true};
}

struct ReplyVerdict;

// Told of every exchange on a link, on the thread that runs it: the request as
// written, then the bytes of the fetch that ended the wait (none when the polls
// ran out) with the verdict of the operation's check, or nullptr for an
// exchange that judged nothing. It must return at once: the exchange's timing
// is the device's.
class IExchangeObserver {
public:
    virtual ~IExchangeObserver() = default;
    virtual void OnRequest(std::span<const std::uint8_t> request) = 0;
    virtual void OnReply(std::span<const std::uint8_t> reply, ExchangeVariant variant,
                         const ReplyVerdict* verdict) = 0;
};

// Returns the byte count of the fetch that stopped the poll (the reply is
// link.Reply(count)), or 0 when the polls ran out.
std::uint16_t ExchangeFrame(CLink& link, std::uint16_t frameLength,
                            ExchangeVariant variant = ExchangeVariant::Standard);

enum class ExchangeOutcome { NoReply, ShortReply, BadReply, GoodReply };

// A reply of 3 bytes or fewer is short whatever the check would say: no check
// judges it.
inline constexpr std::uint16_t kShortReplyMaxBytes = 3;
constexpr bool IsJudgeable(std::span<const std::uint8_t> reply) { return reply.size() > kShortReplyMaxBytes; }

constexpr ExchangeOutcome ClassifyReply(std::uint16_t count, bool checkPassed) {
    if (count == 0) return ExchangeOutcome::NoReply;
    if (count <= kShortReplyMaxBytes) return ExchangeOutcome::ShortReply;
    return checkPassed ? ExchangeOutcome::GoodReply : ExchangeOutcome::BadReply;
}

struct ReplyExpectation;

// One exchange judged by the operation's check: the verdict, with the reply
// in the link's reply buffer (link.Reply(verdict.replyBytes)). The observer is
// told the verdict. With the link's cut on a complete reply, the receive path queues the
// reply as soon as it has the shape the check expects, and the exchange takes
// it at once, whatever its variant.
// `waitLimit` shortens the variant's wait for a reply (never lengthens it):
// the polls end at the first one at or after the limit, counted from when the
// request has left the port. A bus of units is asked address by address, and
// a silent address must cost little.
ReplyVerdict ExchangeAndJudge(CLink& link, std::uint16_t frameLength, ExchangeVariant variant,
                              const ReplyExpectation& expectation,
                              std::optional<std::chrono::milliseconds> waitLimit = std::nullopt);
