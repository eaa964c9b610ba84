// The operations behind the LCD relay controller window's buttons: set the
// work mode, query each relay, switch each relay by hand. Every one of them is
// guarded by the main window's busy flag, which only the main window's timer
// clears.

#include "LcdControlDlg.h"
#include "res/IdsLcd.h"

namespace {

struct RelaySwitch {
    int relay;
    bool closed;
    const char* failureText;
};

constexpr RelaySwitch kRelay1Close{1, true, "Relay1 control failed"};
constexpr RelaySwitch kRelay1Open{1, false, "Relay1 control failed"};
constexpr RelaySwitch kRelay2Close{2, true, "Relay2 control failed"};
constexpr RelaySwitch kRelay2Open{2, false, "Relay2 control failed"};

void QueryRelay(CLcdControlDlg& dlg, CDeviceSession& session, CBusyFlag& busy, int relay, int statusEdit) {
    if (!busy.TryEnter()) return;
    // A failed query leaves the single space behind, and no box.
    dlg.SetDlgItemText(statusEdit, " ");
    const OpResult<std::uint16_t> state = session.QueryRelay(relay);
    if (!state.Ok()) return;
    // Any non-zero state counts as closed.
    dlg.SetDlgItemText(statusEdit, state.value != 0 ? "闭合" : "断开");
}

void SwitchRelay(CLcdControlDlg& dlg, CDeviceSession& session, CBusyFlag& busy, const RelaySwitch& relay) {
    if (!busy.TryEnter()) return;
    // The status edits change only through the queries; success shows nothing.
    if (!session.SwitchRelay(relay.relay, relay.closed).Ok()) {
        dlg.MessageBox(relay.failureText, "Relay Control", MsgIcon::Question);
    }
}

}  // namespace

void CLcdControlDlg::OnSetWorkMode() {
    // Items 0..3 are modes 1..4; no selection (-1) sends mode 0.
    const int selection = ComboGetCurSel(kIdModeBox);
    if (!m_busy.TryEnter()) return;
    const auto mode = static_cast<std::uint8_t>(selection + 1);
    if (m_session.SetLcdMode(mode).Ok()) {
        MessageBox("Work mode setting successfully", "Set work mode");
    } else {
        MessageBox("Work mode setting failed", "Set work mode", MsgIcon::Question);
    }
}

void CLcdControlDlg::OnQueryRelay1() { QueryRelay(*this, m_session, m_busy, 1, kIdRelay1Status); }
void CLcdControlDlg::OnQueryRelay2() { QueryRelay(*this, m_session, m_busy, 2, kIdRelay2Status); }
void CLcdControlDlg::OnRelay1Close() { SwitchRelay(*this, m_session, m_busy, kRelay1Close); }
void CLcdControlDlg::OnRelay1Open() { SwitchRelay(*this, m_session, m_busy, kRelay1Open); }
void CLcdControlDlg::OnRelay2Close() { SwitchRelay(*this, m_session, m_busy, kRelay2Close); }
void CLcdControlDlg::OnRelay2Open() { SwitchRelay(*this, m_session, m_busy, kRelay2Open); }
