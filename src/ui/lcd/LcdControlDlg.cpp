// The LCD relay controller window: its message map, its start state and the
// relay controls that follow the mode chosen in the combo box.

#include "LcdControlDlg.h"

#include <array>

#include "res/IdsLcd.h"

namespace {

// Switched on and off together, in this order.
constexpr std::array<int, 8> kRelayControls = {
    kIdRelay1Status, kIdRelay2Status, kIdQueryRelay1, kIdQueryRelay2,
    kIdRelay1Close,  kIdRelay2Close,  kIdRelay1Open,  kIdRelay2Open,
};

// "模式4" is the mode in which the relays are switched by hand.
constexpr int kManualModeIndex = 3;

}  // namespace

CLcdControlDlg::CLcdControlDlg(CDeviceSession& session, CBusyFlag& busy, CDialogBase* owner)
    : CDialogBase(kTemplateId, owner), m_session(session), m_busy(busy) {
    OnCommand(kIdQueryRelay1, [this] { OnQueryRelay1(); });
    OnSelChange(kIdModeBox, [this] { OnModeSelChange(); });
    OnCommand(kIdSetMode, [this] { OnSetWorkMode(); });
    OnCommand(kIdQueryRelay2, [this] { OnQueryRelay2(); });
    OnCommand(kIdRelay1Close, [this] { OnRelay1Close(); });
    OnCommand(kIdRelay1Open, [this] { OnRelay1Open(); });
    OnCommand(kIdRelay2Close, [this] { OnRelay2Close(); });
    OnCommand(kIdRelay2Open, [this] { OnRelay2Open(); });
}

bool CLcdControlDlg::OnInitDialog() {
    CDialogBase::OnInitDialog();
    EnableRelayControls(false);
    return true;
}

void CLcdControlDlg::EnableRelayControls(bool enable) {
    for (int id : kRelayControls) EnableDlgItem(id, enable);
}

// The controls follow the box, not the device: nothing is sent here.
void CLcdControlDlg::OnModeSelChange() {
    EnableRelayControls(ComboGetCurSel(kIdModeBox) == kManualModeIndex);
}
