#include "ConfigurationScope.h"

namespace {

bool LeaveDue(const OpOutcome& enter, LeaveRule rule) {
    switch (rule) {
        case LeaveRule::AfterGoodEnter: return enter.Ok();
        case LeaveRule::AfterAnyAnswer: return enter.status != OpStatus::NoReply;
    }
    return true;
}

}  // namespace

CConfigurationScope::CConfigurationScope(CDeviceSession& session, LeaveRule rule)
    : m_session(session), m_enter(session.EnterConfiguration()), m_leaveDue(LeaveDue(m_enter.outcome, rule)) {}

const std::optional<OpOutcome>& CConfigurationScope::Leave() {
    if (m_leaveDue) {
        m_leaveDue = false;
        m_left = m_session.LeaveConfiguration();
    }
    return m_left;
}
