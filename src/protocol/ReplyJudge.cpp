// The verdict on a reply, by the check its operation names, and for a reply
// that check refused, the first of its tests that fails.

#include <algorithm>

#include "Crc16.h"
#include "FrameCodes.h"
#include "FrameView.h"
#include "ReplyChecks.h"
#include "ReplyJudge.h"

namespace {

using FrameBytes = std::span<const std::uint8_t>;

bool Passes(const ReplyExpectation& e, FrameBytes reply, FrameBytes request) {
    switch (e.check) {
        case ReplyCheck::Fd: return ParseFdReply(reply).has_value();
        case ReplyCheck::LineSettings: return ParseSoilSearchReply(reply).has_value();
        case ReplyCheck::Read:
            if (ParseReadReply(reply, e.address, e.used)) return true;
            return e.alsoAddress && ParseReadReply(reply, *e.alsoAddress, e.used);
        case ReplyCheck::RegisterBlock:
            return ParseRegisterBlock(reply, e.address, static_cast<std::uint8_t>(CFrameView(request).Word(4)))
                .has_value();
        case ReplyCheck::Echo: return CheckEchoReply(reply, request);
        case ReplyCheck::WriteRegisters: return CheckWriteRegistersReply(reply);
        case ReplyCheck::Fc: return ParseFcReply(reply, e.used).has_value();
        case ReplyCheck::Fb: return ParseFbReply(reply, e.used).has_value();
        case ReplyCheck::FbConfig: return ParseFbConfigReply(reply).has_value();
    }
    return false;
}

std::string Num(unsigned value) { return std::to_string(value); }

std::string Expected(const char* what, unsigned got, unsigned expected) {
    return std::string(what) + " " + Num(got) + ", expected " + Num(expected);
}

// The first test of the refusing check that fails, in the order the check
// runs them.
std::string FailedTest(const ReplyExpectation& e, FrameBytes reply, FrameBytes request) {
    const CFrameView f(reply);
    if (e.check == ReplyCheck::Echo) {
        const auto differ = std::mismatch(request.begin(), request.end(), reply.begin(), reply.end());
        if (differ.second == reply.end()) return "echo: " + Num(static_cast<unsigned>(reply.size())) + " bytes of " +
                                                  Num(static_cast<unsigned>(request.size()));
        return "echo: byte " + Num(static_cast<unsigned>(differ.first - request.begin())) + " differs";
    }
    if (!HasValidCrc(reply)) return "CRC";
    switch (e.check) {
        case ReplyCheck::Fd:
            if (!f.HasMark(kFdMark)) return "mark";
            if (!f.HasFields(kFdFrameBytes - kCrcBytes)) return "length";
            return "baud code " + Num(f.Byte(3));
        case ReplyCheck::LineSettings: return "length";
        case ReplyCheck::WriteRegisters: return "exception " + Num(f.Byte(2));
        case ReplyCheck::Read:
        case ReplyCheck::RegisterBlock: {
            if (f.Byte(1) & kExceptionFlag) return "exception " + Num(f.Byte(2));
            if (f.Byte(1) != kFuncReadRegisters) return Expected("function", f.Byte(1), kFuncReadRegisters);
            if (f.Byte(0) != e.address) return Expected("address", f.Byte(0), e.address);
            const unsigned asked = 2U * CFrameView(request).Word(4);
            if (e.check == ReplyCheck::RegisterBlock && f.Byte(2) != asked) return Expected("byte count", f.Byte(2), asked);
            return "length";
        }
        case ReplyCheck::Fc:
        case ReplyCheck::Fb:
            if (!f.HasMark(e.check == ReplyCheck::Fc ? kFcMark : kFbMark)) return "mark";
            return "length";
        case ReplyCheck::FbConfig:
            if (!f.HasMark(kFbMark)) return "mark";
            if (!f.HasFields(kFbConfigReplyBytes - kCrcBytes)) return "length";
            return "command " + Num(f.Byte(3));
        case ReplyCheck::Echo: break;
    }
    return "check";
}

}  // namespace

ReplyVerdict JudgeReply(FrameBytes reply, FrameBytes request, const ReplyExpectation& expectation) {
    ReplyVerdict verdict;
    verdict.replyBytes = reply.size();
    const std::uint16_t count = static_cast<std::uint16_t>(std::min<std::size_t>(reply.size(), 0xFFFF));
    if (!IsJudgeable(reply)) {
        verdict.outcome = ClassifyReply(count, false);
        return verdict;
    }
    const bool passed = Passes(expectation, reply, request);
    verdict.outcome = ClassifyReply(count, passed);
    if (!passed) verdict.failedCheck = FailedTest(expectation, reply, request);
    return verdict;
}

std::string OutcomeText(const ReplyVerdict& verdict) {
    switch (verdict.outcome) {
        case ExchangeOutcome::NoReply: return "no reply";
        case ExchangeOutcome::ShortReply:
            return "short (" + Num(static_cast<unsigned>(verdict.replyBytes)) +
                   (verdict.replyBytes == 1 ? " byte)" : " bytes)");
        case ExchangeOutcome::BadReply: return "bad: " + verdict.failedCheck;
        case ExchangeOutcome::GoodReply: return "good";
    }
    return "";
}

namespace {

// A register-frame exception reply: address, function | 80, code, CRC.
constexpr std::size_t kExceptionReplyBytes = 5;
// Other whole replies a check takes besides the expected one: a device may
// echo an FC request, and a receiver answers a clear with its whole table.
std::size_t OtherReplyBytes(ReplyCheck check) {
    switch (check) {
        case ReplyCheck::Fc: return kFcRequestBytes;
        case ReplyCheck::Fb: return kFbConfigReplyBytes;
        default: return 0;
    }
}

// The length of the whole reply the check expects after `request`; 0 when the
// layout does not tell.
std::size_t ExpectedReplyBytes(FrameBytes request, ReplyCheck check) {
    const CFrameView f(request);
    switch (check) {
        case ReplyCheck::Fd: return kFdFrameBytes;
        case ReplyCheck::LineSettings: return kLineSettingsReplyBytes;
        case ReplyCheck::Read:
        case ReplyCheck::RegisterBlock: return 3 + 2 * static_cast<std::size_t>(f.Word(4)) + kCrcBytes;
        case ReplyCheck::Echo: return request.size();
        case ReplyCheck::WriteRegisters: return kWriteRegisterBytes;  // address, 10, first, count, CRC
        case ReplyCheck::Fc: return kFcReplyBytes;
        case ReplyCheck::Fb: return kFbValueReplyBytes;
        case ReplyCheck::FbConfig: return kFbConfigReplyBytes;
    }
    return 0;
}

bool IsRegisterFamily(ReplyCheck check) {
    return check == ReplyCheck::LineSettings || check == ReplyCheck::Read || check == ReplyCheck::RegisterBlock ||
           check == ReplyCheck::WriteRegisters;
}

}  // namespace

bool IsCompleteReply(FrameBytes collected, FrameBytes request, const ReplyExpectation& expectation) {
    const std::size_t size = collected.size();
    const std::size_t expected = ExpectedReplyBytes(request, expectation.check);
    const bool shaped = (expected != 0 && size == expected) ||
                        (size == OtherReplyBytes(expectation.check)) ||
                        (IsRegisterFamily(expectation.check) && size == kExceptionReplyBytes &&
                         (collected[1] & kExceptionFlag) != 0);
    return shaped && HasValidCrc(collected);
}
