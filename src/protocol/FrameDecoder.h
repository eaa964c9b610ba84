#pragma once
// Words for the frames on the bus: what a request asks, what a reply says, and
// how the reply fares against the check that the request's operation judges it
// by. Bytes in, words out: any bytes decode, nothing is read beyond them, and
// a family, code or register the tool does not know is named as such with its
// bytes.
//
//   DescribeRequest(FD FD FD 00 00 E9 88)              "FD query"
//   DescribeReply(FD FD FD 02 05 28 EB, request)       "FD reply: address 5, baud code 2 (4800 bit/s)"
//   OutcomeText(JudgeReply(reply, request))            "good", "bad: CRC", "short (2 bytes)", "no reply"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "Exchange.h"

using FrameBytes = std::span<const std::uint8_t>;

// "FD FD FD 00 00 E9 88"; empty for no bytes.
std::string HexText(FrameBytes bytes);

// What the request asks, beginning with its family (FD, register, FC, FB).
std::string DescribeRequest(FrameBytes request);

// What the reply says, its values read the way the window that asked shows
// them. `request` (may be empty) names the registers and the FB command whose
// values the reply carries.
std::string DescribeReply(FrameBytes reply, FrameBytes request);

// The address a function-03 reply may come from besides the one asked: 255
// while the tool runs a register-frame device, whatever address it asks.
struct ReplyContext {
    std::optional<std::uint8_t> readReplyAddress;
};

struct ReplyVerdict {
    ExchangeOutcome outcome = ExchangeOutcome::NoReply;
    std::string failedCheck;  // for a bad reply: "CRC", "address 7, expected 5", ...
    std::size_t replyBytes = 0;
};

// The reply (the bytes of the fetch that ended the wait; empty when the polls
// ran out) judged as the tool judges the answer to `request`: by the same
// check, and for a bad reply the first of the check's tests that failed.
ReplyVerdict JudgeReply(FrameBytes reply, FrameBytes request, const ReplyContext& context = {});

// "no reply", "short (2 bytes)", "bad: CRC", "good".
std::string OutcomeText(const ReplyVerdict& verdict);
