#pragma once
// What one device operation came to: the value, or why there is none.

#include <cstddef>
#include <string>

struct ReplyVerdict;

enum class OpStatus {
    Ok,
    NoReply,       // nothing within the operation's wait
    ShortReply,    // 3 bytes or fewer: no check judges it
    BadReply,      // the check refused it: failedCheck says which test
    EchoMismatch,  // a write the device must echo came back otherwise
};

struct OpOutcome {
    OpStatus status = OpStatus::NoReply;
    std::size_t replyBytes = 0;
    std::string failedCheck;  // BadReply, EchoMismatch: "CRC", "address 7, expected 5", ...

    static OpOutcome Success() {
        OpOutcome outcome;
        outcome.status = OpStatus::Ok;
        return outcome;
    }
    bool Ok() const { return status == OpStatus::Ok; }
    // "ok", "no reply", "short reply (2 bytes)", "bad reply: CRC", "echo mismatch: byte 6 differs"
    std::string Text() const;
};

// The outcome of an exchange judged by `verdict`; `echoed` when the check was
// the echo of the request.
OpOutcome OutcomeOf(const ReplyVerdict& verdict, bool echoed = false);

template <class T>
struct OpResult {
    OpOutcome outcome;
    T value{};  // meaningful only when Ok()

    bool Ok() const { return outcome.Ok(); }
};
