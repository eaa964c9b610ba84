#include "Outcome.h"

#include "protocol/ReplyJudge.h"

std::string OpOutcome::Text() const {
    switch (status) {
        case OpStatus::Ok: return "ok";
        case OpStatus::NoReply: return "no reply";
        case OpStatus::ShortReply:
            return "short reply (" + std::to_string(replyBytes) + (replyBytes == 1 ? " byte)" : " bytes)");
        case OpStatus::BadReply: return "bad reply: " + failedCheck;
        case OpStatus::EchoMismatch: return "echo mismatch: " + failedCheck;
    }
    return "";
}

OpOutcome OutcomeOf(const ReplyVerdict& verdict, bool echoed) {
    OpOutcome outcome;
    outcome.replyBytes = verdict.replyBytes;
    switch (verdict.outcome) {
        case ExchangeOutcome::GoodReply: outcome.status = OpStatus::Ok; break;
        case ExchangeOutcome::NoReply: outcome.status = OpStatus::NoReply; break;
        case ExchangeOutcome::ShortReply: outcome.status = OpStatus::ShortReply; break;
        case ExchangeOutcome::BadReply:
            outcome.status = echoed ? OpStatus::EchoMismatch : OpStatus::BadReply;
            // The echo's own words already say "echo: ...".
            outcome.failedCheck = echoed && verdict.failedCheck.rfind("echo: ", 0) == 0
                                      ? verdict.failedCheck.substr(6)
                                      : verdict.failedCheck;
            break;
    }
    return outcome;
}
