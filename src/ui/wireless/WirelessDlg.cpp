// The wireless parameters window: its message map, its opening state and
// its timers.

#include "WirelessDlg.h"

#include <string>

#include "res/IdsWireless.h"

bool g_thReadPending = false;

CWirelessDlg::CWirelessDlg(CDeviceSession& session, CDialogBase* owner)
    : CDialogBase(kTemplateId, owner), m_session(session) {
    OnCommandRange(kIdFirstGridButton, kIdLastGridButton, [this](int id) { OnGridButton(id); });
    OnCommand(kIdReadSleepTime, [this] { OnReadSleepTime(); });
    OnCommand(kIdWriteSleepTime, [this] { OnWriteSleepTime(); });
    OnCommand(kIdWriteChannel, [this] { OnWriteChannel(); });
    OnCommand(kIdReadChannel, [this] { OnReadChannel(); });
    OnCommand(kIdReadTh, [this] { OnReadThValue(); });
}

CWirelessDlg::~CWirelessDlg() = default;

bool CWirelessDlg::OnInitDialog() {
    CDialogBase::OnInitDialog();
    for (int i = 0; i < static_cast<int>(kReceiverAddresses); ++i)
        m_gridButtons[static_cast<std::size_t>(i)].SubclassDlgItem(kIdFirstGridButton + i, *this);
    SetTimer(kGridTimer, kGridTimerMs);

    // The item's index is the channel number.
    for (int channel = 0; channel < static_cast<int>(kWirelessChannels); ++channel)
        ComboAddString(kIdChannelBox, "通道" + std::to_string(channel));
    // Nothing to write until the receiver has said which channel it is on.
    EnableDlgItem(kIdChannelBox, false);
    EnableDlgItem(kIdWriteChannel, false);

    SetDlgItemText(kIdSleepTime, std::to_string(m_sleepTime));
    return true;
}

void CWirelessDlg::OnTimer(int timerId) {
    if (timerId == kGridTimer) {
        RefreshGrid();
        KillTimer(kGridTimer);
    } else if (timerId == kThTimer) {
        KillTimer(kThTimer);
        g_thReadPending = false;
    }
}

// Timer 2 dies with the window, so the guard of a read started less than
// 600 ms before the window closed goes with it: the next opening may read at
// once.
void CWirelessDlg::OnDestroy() {
    KillTimer(kThTimer);
    g_thReadPending = false;
}

bool CWirelessDlg::IsConfigured(int index) const {
    if (index < 0 || index >= static_cast<int>(kReceiverAddresses)) return false;
    return (m_configBits[static_cast<std::size_t>(index / 8)] >> (index % 8) & 1U) != 0;
}
