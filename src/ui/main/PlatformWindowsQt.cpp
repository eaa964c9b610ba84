// The Linux part of the main window: its own windows and the entries of the
// window's menu that open them (the window's context menu, after About,
// "Frame log..." and "Monitor...").

#include "PlatformWindowsQt.h"

void CConfigDlg::PlatformWindowsDeleter::operator()(PlatformWindows* windows) const { delete windows; }

CConfigDlg::PlatformWindowsPtr CConfigDlg::MakePlatformWindows() { return PlatformWindowsPtr(new PlatformWindows); }

void CConfigDlg::AddPlatformMenuItems() {
    AddSystemMenuItem(kSaveProfileCommand, "Save profile...");
    AddSystemMenuItem(kApplyProfileCommand, "Apply profile...");
}

bool CConfigDlg::OnPlatformCommand(int command) {
    switch (command) {
        case kSaveProfileCommand: OnSaveProfile(); return true;
        case kApplyProfileCommand: OnApplyProfile(); return true;
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

CFrameLogWnd* CConfigDlg::FrameLogWindow() const { return m_platformWindows->frameLog.get(); }
