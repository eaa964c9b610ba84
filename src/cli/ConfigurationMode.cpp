#include "ConfigurationMode.h"

CConfigurationMode::CConfigurationMode(CliContext& context)
    : m_context(context), m_enter(context.session.EnterConfiguration()) {
    if (!m_enter.Ok()) m_context.Fail("configuration-mode", "the receiver did not enter it", m_enter.outcome);
}

CConfigurationMode::~CConfigurationMode() {
    if (m_enter.outcome.status == OpStatus::NoReply) return;
    const OpOutcome left = m_context.session.LeaveConfiguration();
    if (!left.Ok()) {
        m_context.Fail("configuration-mode", "leaving it failed; power the receiver off and on", left);
    }
}
