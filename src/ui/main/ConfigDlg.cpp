#include "ui/main/ConfigDlg.h"

#include <string>

#include "app/AboutDlg.h"
#include "app/FrameRecorder.h"
#include "ParameterRows.h"
#include "res/IdsConfig.h"
#include "res/StringTable.h"
#include "serial/PortPath.h"

CConfigDlg* g_mainDlg = nullptr;

namespace {

constexpr int kPortEntries = 30;
constexpr std::uint32_t kStartBaud = 4800;

}  // namespace

bool CConfigDlg::OnInitDialog() {
    CDialogBase::OnInitDialog();
    g_mainDlg = this;

    SetIcon(IDR_MAINFRAME);

    // About below a separator, as in the system menu of a Windows dialog;
    // then the frame log, the monitor, the scan of a bus and the profiles.
    const std::string about = ResString(IDS_ABOUTBOX);
    if (!about.empty()) AddSystemMenuItem(kAboutCommand, about);
    AddSystemMenuItem(kFrameLogCommand, "Frame log...");
    AddSystemMenuItem(kMonitorCommand, "Monitor...");
    AddSystemMenuItem(kScanBusCommand, "Scan bus...");
    AddSystemMenuItem(kSaveProfileCommand, "Save profile...");
    AddSystemMenuItem(kApplyProfileCommand, "Apply profile...");

    // Each entry says where it leads on this machine.
    for (int i = 0; i < ComboGetCount(kIdPortList) && i < kPortEntries; ++i)
        ComboSetItemTip(kIdPortList, i, ResolvePortPath(i + 1));
    ComboSetCurSel(kIdPortList, 0);
    const int position = ComboGetCurSel(kIdPortList);

    if (!m_session.PortIsOpen() && !m_session.OpenPort(static_cast<std::uint8_t>(position + 1), kStartBaud)) {
        MessageBox("Serial port open failed", "Serial prompt", MsgIcon::Stop);
    }

    m_session.StartReceiving();

    EnableControls(false);
    SetTimer(kBusyTimer, kBusyTimerMs);
    return true;
}


void CConfigDlg::EnableControls(bool enable) {
    for (int id : kSearchEnabledButtons) EnableDlgItem(id, enable);
}

CFrameLog& CConfigDlg::FrameLog() { return m_frames->Log(); }

void CConfigDlg::OnTimer(int timerId) {
    if (timerId == kBusyTimer) m_busy.Clear();
}

void CConfigDlg::OnSysCommand(int command) {
    // The low four bits of a system command are the system's own.
    const int entry = command & 0xFFF0;
    if (entry == kAboutCommand) {
        OnAbout();
    } else if (entry == kFrameLogCommand) {
        OnFrameLog();
    } else if (entry == kMonitorCommand) {
        OnMonitor();
    } else if (entry == kScanBusCommand) {
        OnScanBus();
    } else if (entry == kSaveProfileCommand) {
        OnSaveProfile();
    } else if (entry == kApplyProfileCommand) {
        OnApplyProfile();
    }
}

void CConfigDlg::OnAbout() {
    CAboutDlg about(this);
    about.DoModal();
}
