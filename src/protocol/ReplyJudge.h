#pragma once
// How a reply fares against the check its operation applies. The operation
// names its check (it knows which one it runs); the verdict says whether the
// reply passed and, when it did not, the first of the check's tests that
// failed, so that the frame log and the command line say exactly what the
// operation decided.
//
//   JudgeReply(reply, request, {ReplyCheck::Read, ValuesUsed::Both, 5})
//   OutcomeText(verdict)        "good", "bad: CRC", "short (2 bytes)", "no reply"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "Exchange.h"
#include "ReplyChecks.h"

enum class ReplyCheck : std::uint8_t {
    Fd,              // ParseFdReply
    LineSettings,    // ParseSoilSearchReply
    Read,            // ParseReadReply from `address` (or `alsoAddress`)
    RegisterBlock,   // ParseRegisterBlock from `address`, of the registers the request asks
    Echo,            // CheckEchoReply against the request
    WriteRegisters,  // CheckWriteRegistersReply: CRC, and no exception
    Fc,              // ParseFcReply
    Fb,              // ParseFbReply
    FbConfig,        // ParseFbConfigReply
};

struct ReplyExpectation {
    ReplyExpectation(ReplyCheck check_, ValuesUsed used_ = ValuesUsed::None, std::uint8_t address_ = 0,
                     std::optional<std::uint8_t> alsoAddress_ = std::nullopt)
        : check(check_), used(used_), address(address_), alsoAddress(alsoAddress_) {}

    ReplyCheck check;
    ValuesUsed used = ValuesUsed::None;
    std::uint8_t address = 0;                 // Read: the address the reply must come from
    std::optional<std::uint8_t> alsoAddress;  // Read: another address taken as well
};

struct ReplyVerdict {
    ExchangeOutcome outcome = ExchangeOutcome::NoReply;
    std::string failedCheck;  // for a bad reply: "CRC", "address 7, expected 5", ...
    std::size_t replyBytes = 0;
};

// The reply (the bytes of the fetch that ended the wait; empty when the polls
// ran out) judged by `expectation`'s check.
ReplyVerdict JudgeReply(std::span<const std::uint8_t> reply, std::span<const std::uint8_t> request,
                        const ReplyExpectation& expectation);

// "no reply", "short (2 bytes)", "bad: CRC", "good".
std::string OutcomeText(const ReplyVerdict& verdict);

// True when `collected` is a whole reply of the shape the check expects after
// `request`: exactly the length the request's layout gives (an FD reply, a
// function-03 reply of the registers asked, an echo, an FC or FB reply, the
// configuration reply), or a register exception reply, with a good CRC.
// Lets an exchange end without waiting for the line's silence.
bool IsCompleteReply(std::span<const std::uint8_t> collected, std::span<const std::uint8_t> request,
                     const ReplyExpectation& expectation);
