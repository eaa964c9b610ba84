// How a reply fares: the verdict comes from the very check that the window
// which sent the request applies (so the log never disagrees with what the
// operator saw), and for a reply that check refused, the first of its tests
// that fails is named.

#include <algorithm>

#include "Crc16.h"
#include "FrameCodes.h"
#include "FrameDecoder.h"
#include "FrameView.h"
#include "ReplyChecks.h"

namespace {

enum class Check { Fd, LineSettings, Read, Echo, CrcOnly, Fc, Fb, FbConfig };

struct Expectation {
    Check check = Check::CrcOnly;
    ValuesUsed used = ValuesUsed::None;
    std::uint8_t address = 0;  // function 03: the address asked
};

// The check each operation applies to the answer to its request.
Expectation ExpectationOf(FrameBytes request) {
    const CFrameView f(request);
    if (f.HasMark(kFdMark)) return {Check::Fd};
    if (f.HasMark(kFcMark)) {
        const std::uint8_t code = f.Byte(3);
        const bool write = f.Byte(4) == kOpWrite;
        // The light window's writes are answered by an echo; the main
        // window's by any FC reply.
        if (write && code >= kFcLightUpper && code <= kFcLightHysteresis) return {Check::Echo};
        return {Check::Fc, write ? ValuesUsed::None : ValuesUsed::First};
    }
    if (f.HasMark(kFbMark)) {
        switch (f.Byte(3)) {
            case kFbEnterConfig:
            case kFbConfigureReceiver: return {Check::FbConfig};
            case kFbTemperatureHumidity: return {Check::Fb, ValuesUsed::Both};
            case kFbSleepTime:
            case kFbChannel: return {Check::Fb, f.Byte(4) == kOpRead ? ValuesUsed::First : ValuesUsed::None};
            default: return {Check::Fb};
        }
    }
    switch (f.Byte(1)) {
        case kFuncReadRegisters:
            if (f.Byte(0) == kRegisterModeAddress && f.Word(2) == kRegLineSettings &&
                f.Word(4) == kLineSettingsCount) {
                return {Check::LineSettings};
            }
            return {Check::Read, f.Word(4) == 1 ? ValuesUsed::First : ValuesUsed::Both, f.Byte(0)};
        case kFuncWriteRegister: return {Check::Echo};
        default: return {Check::CrcOnly};
    }
}

bool Passes(const Expectation& e, FrameBytes reply, FrameBytes request, const ReplyContext& context) {
    switch (e.check) {
        case Check::Fd: return ParseFdReply(reply).has_value();
        case Check::LineSettings: return ParseSoilSearchReply(reply).has_value();
        case Check::Read:
            if (ParseReadReply(reply, e.address, e.used)) return true;
            return context.readReplyAddress && ParseReadReply(reply, *context.readReplyAddress, e.used);
        case Check::Echo: return CheckEchoReply(reply, request);
        case Check::CrcOnly: return CheckReplyCrc(reply);
        case Check::Fc: return ParseFcReply(reply, e.used).has_value();
        case Check::Fb: return ParseFbReply(reply, e.used).has_value();
        case Check::FbConfig: return ParseFbConfigReply(reply).has_value();
    }
    return false;
}

std::string Num(unsigned value) { return std::to_string(value); }

std::string Expected(const char* what, unsigned got, unsigned expected) {
    return std::string(what) + " " + Num(got) + ", expected " + Num(expected);
}

// The first test of the refusing check that fails, in the order the check
// runs them.
std::string FailedTest(const Expectation& e, FrameBytes reply, FrameBytes request) {
    const CFrameView f(reply);
    if (e.check == Check::Echo) {
        const auto differ = std::mismatch(request.begin(), request.end(), reply.begin(), reply.end());
        if (differ.second == reply.end()) return "echo: " + Num(static_cast<unsigned>(reply.size())) + " bytes of " +
                                                  Num(static_cast<unsigned>(request.size()));
        return "echo: byte " + Num(static_cast<unsigned>(differ.first - request.begin())) + " differs";
    }
    if (!HasValidCrc(reply)) return "CRC";
    switch (e.check) {
        case Check::Fd:
            if (!f.HasMark(kFdMark)) return "mark";
            if (!f.HasFields(kFdFrameBytes - kCrcBytes)) return "length";
            return "baud code " + Num(f.Byte(3));
        case Check::LineSettings: return "length";
        case Check::Read:
            if (f.Byte(1) & kExceptionFlag) return "exception " + Num(f.Byte(2));
            if (f.Byte(1) != kFuncReadRegisters) return Expected("function", f.Byte(1), kFuncReadRegisters);
            if (f.Byte(0) != e.address) return Expected("address", f.Byte(0), e.address);
            return "length";
        case Check::Fc:
        case Check::Fb:
            if (!f.HasMark(e.check == Check::Fc ? kFcMark : kFbMark)) return "mark";
            return "length";
        case Check::FbConfig:
            if (!f.HasMark(kFbMark)) return "mark";
            if (!f.HasFields(kFbConfigReplyBytes - kCrcBytes)) return "length";
            return "command " + Num(f.Byte(3));
        case Check::Echo:
        case Check::CrcOnly: break;
    }
    return "check";
}

}  // namespace

ReplyVerdict JudgeReply(FrameBytes reply, FrameBytes request, const ReplyContext& context) {
    ReplyVerdict verdict;
    verdict.replyBytes = reply.size();
    const std::uint16_t count = static_cast<std::uint16_t>(std::min<std::size_t>(reply.size(), 0xFFFF));
    if (!IsJudgeable(reply)) {
        verdict.outcome = ClassifyReply(count, false);
        return verdict;
    }
    const Expectation expectation = ExpectationOf(request);
    const bool passed = Passes(expectation, reply, request, context);
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
