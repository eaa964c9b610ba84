#pragma once
// A wireless receiver in configuration mode for the life of the object: the
// enter frame goes out when it is made, the leave frame when it goes, however
// the work between ends. Leave() leaves earlier and says how it went, so that
// a caller can tell the operator that the receiver may still be in the mode.
//
//   CConfigurationScope mode(session, LeaveRule::AfterAnyAnswer);
//   if (!mode.Entered()) return Fail(mode.Enter().outcome);
//   ... session.ReadChannel() ...
//   if (const auto left = mode.Leave(); left && !left->Ok()) Warn(*left);
//
// Window thread only (or the command line's one thread), as the exchanges are.

#include <optional>

#include "DeviceSession.h"

// When a receiver is asked to leave, judged by its reply to the enter frame.
// A receiver that stayed silent is never asked: that would only add another
// 6 s of silence.
enum class LeaveRule {
    // Only a receiver that gave a good enter reply: a spoiled reply counts as
    // no answer, as the wireless window has always had it.
    AfterGoodEnter,
    // Any receiver that answered at all, even with a spoiled reply: it may
    // have switched, and a leave costs little next to a unit left in the mode.
    AfterAnyAnswer,
};

class CConfigurationScope {
public:
    CConfigurationScope(CDeviceSession& session, LeaveRule rule);
    ~CConfigurationScope() { Leave(); }
    CConfigurationScope(const CConfigurationScope&) = delete;
    CConfigurationScope& operator=(const CConfigurationScope&) = delete;

    bool Entered() const { return m_enter.Ok(); }
    // The enter's outcome and, when entered, the receiver's sleep time and
    // address table as its reply gave them.
    const OpResult<ReceiverTable>& Enter() const { return m_enter; }

    // Sends the leave frame now if the rule asks for one and it has not gone
    // yet; the outcome of the leave, or nothing when none was sent. Later
    // calls give the same answer without sending again.
    const std::optional<OpOutcome>& Leave();
    // The receiver stays in configuration mode: nothing is sent at the end.
    void Release() { m_leaveDue = false; }

private:
    CDeviceSession& m_session;
    OpResult<ReceiverTable> m_enter;
    bool m_leaveDue = false;
    std::optional<OpOutcome> m_left;
};
