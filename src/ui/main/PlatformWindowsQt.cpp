// The Linux part of the main window: its own windows and the entries of the
// window's menu that open them (the window's context menu, after About and
// "Frame log...", before the profiles).

#include "PlatformWindowsQt.h"

void CConfigDlg::PlatformWindowsDeleter::operator()(PlatformWindows* windows) const { delete windows; }

CConfigDlg::PlatformWindowsPtr CConfigDlg::MakePlatformWindows() { return PlatformWindowsPtr(new PlatformWindows); }

void CConfigDlg::AddPlatformMenuItems() {
    AddSystemMenuItem(kMonitorCommand, "Monitor...");
}

bool CConfigDlg::OnPlatformCommand(int command) {
    switch (command) {
        case kMonitorCommand: OnMonitor(); return true;
        default: return false;
    }
}

// Each opening shows the same window again, where the operator left it.
void CConfigDlg::OnFrameLog() {
    auto& window = m_platformWindows->frameLog;
    if (!window) window = std::make_unique<CFrameLogWnd>(FrameLog());
    window->show();
    window->raise();
    window->activateWindow();
}

void CConfigDlg::OnMonitor() {
    auto& window = m_platformWindows->monitor;
    if (!window) window = std::make_unique<CMonitorWnd>(m_session);
    window->show();
    window->raise();
    window->activateWindow();
}

CFrameLogWnd* CConfigDlg::FrameLogWindow() const { return m_platformWindows->frameLog.get(); }

CMonitorWnd* CConfigDlg::MonitorWindow() const { return m_platformWindows->monitor.get(); }
