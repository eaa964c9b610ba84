// The operations behind the LCD relay controller window's buttons: set the
// work mode, query each relay, switch each relay by hand. Every one of them is
// guarded by the main window's busy flag, which only its timer clears.

#include <QString>

#include "LcdControlDlg.h"
#include "LcdControls.h"
#include "LcdExchange.h"
#include "app/ConfigDlg.h"
#include "protocol/FrameCodes.h"

namespace {

struct RelaySwitch {
    std::uint16_t reg;
    std::uint16_t value;
    const char* failureText;
};

constexpr std::uint16_t kRelayOpen = 0;
constexpr std::uint16_t kRelayClosed = 1;

constexpr RelaySwitch kRelay1Close{kRegLcdRelay1, kRelayClosed, "Relay1 control failed"};
constexpr RelaySwitch kRelay1Open{kRegLcdRelay1, kRelayOpen, "Relay1 control failed"};
constexpr RelaySwitch kRelay2Close{kRegLcdRelay2, kRelayClosed, "Relay2 control failed"};
constexpr RelaySwitch kRelay2Open{kRegLcdRelay2, kRelayOpen, "Relay2 control failed"};

void QueryRelay(CLcdControlDlg& dlg, std::uint16_t reg, int statusEdit) {
    CConfigDlg* main = EnterGuardedOperation();
    if (main == nullptr) return;
    // A failed query leaves the single space behind, and no box.
    dlg.SetDlgItemText(statusEdit, QStringLiteral(" "));
    const std::optional<std::uint16_t> state = ReadLcdRegister(*main, reg);
    if (!state) return;
    // Any non-zero state counts as closed.
    dlg.SetDlgItemText(statusEdit, *state != 0 ? QStringLiteral("闭合") : QStringLiteral("断开"));
}

void SwitchRelay(CLcdControlDlg& dlg, const RelaySwitch& relay) {
    CConfigDlg* main = EnterGuardedOperation();
    if (main == nullptr) return;
    // The status edits change only through the queries; success shows nothing.
    if (!WriteLcdRegister(*main, relay.reg, relay.value)) {
        dlg.MessageBox(QString::fromLatin1(relay.failureText), QStringLiteral("Relay Control"),
                       MsgIcon::Question);
    }
}

}  // namespace

void CLcdControlDlg::OnSetWorkMode() {
    // Items 0..3 are modes 1..4; no selection (-1) sends mode 0.
    const int selection = ComboGetCurSel(kIdModeBox);
    CConfigDlg* main = EnterGuardedOperation();
    if (main == nullptr) return;
    const auto mode = static_cast<std::uint8_t>(selection + 1);
    if (WriteLcdRegister(*main, kRegLcdWorkMode, mode)) {
        MessageBox(QStringLiteral("Work mode setting successfully"), QStringLiteral("Set work mode"));
    } else {
        MessageBox(QStringLiteral("Work mode setting failed"), QStringLiteral("Set work mode"),
                   MsgIcon::Question);
    }
}

void CLcdControlDlg::OnQueryRelay1() { QueryRelay(*this, kRegLcdRelay1, kIdRelay1Status); }
void CLcdControlDlg::OnQueryRelay2() { QueryRelay(*this, kRegLcdRelay2, kIdRelay2Status); }

void CLcdControlDlg::OnRelay1Close() { SwitchRelay(*this, kRelay1Close); }
void CLcdControlDlg::OnRelay1Open() { SwitchRelay(*this, kRelay1Open); }
void CLcdControlDlg::OnRelay2Close() { SwitchRelay(*this, kRelay2Close); }
void CLcdControlDlg::OnRelay2Open() { SwitchRelay(*this, kRelay2Open); }
