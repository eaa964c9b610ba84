// libFuzzer target: any bytes, as a request and the reply to it, decode to
// words and a verdict without reading outside them; a reply judged good passed
// a check, so it carries a valid CRC (or is an echo of the request).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "FuzzRequire.h"
#include "protocol/Crc16.h"
#include "protocol/FrameDecoder.h"
#include "protocol/ReplyJudge.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // First byte: the request's length (low five bits) and the check the
    // reply is judged by (high three); then the request, then the reply.
    if (size == 0) return 0;
    const std::size_t requestLength = std::min<std::size_t>(data[0] & 0x1F, size - 1);
    // Copies of exactly their size, so that a read past either is caught.
    const std::vector<std::uint8_t> request(data + 1, data + 1 + requestLength);
    const std::vector<std::uint8_t> reply(data + 1 + requestLength, data + size);
    const ReplyExpectation expectation(static_cast<ReplyCheck>(data[0] >> 5), ValuesUsed::Both, 1, 0xFF);

    Require(!DescribeRequest(request).empty());
    Require(!DescribeReply(reply, request).empty());
    Require(!DescribeReply(request, reply).empty());
    const ReplyVerdict verdict = JudgeReply(reply, request, expectation);
    if (IsCompleteReply(reply, request, expectation)) Require(HasValidCrc(reply));
    Require(!OutcomeText(verdict).empty());
    if (verdict.outcome == ExchangeOutcome::GoodReply) {
        Require(reply.size() > 3);
        Require(HasValidCrc(reply) || (reply.size() >= request.size() &&
                                       std::equal(request.begin(), request.end(), reply.begin())));
    }
    if (verdict.outcome == ExchangeOutcome::BadReply) Require(!verdict.failedCheck.empty());
    Require(HexText(reply).size() == (reply.empty() ? 0 : reply.size() * 3 - 1));
    return 0;
}
