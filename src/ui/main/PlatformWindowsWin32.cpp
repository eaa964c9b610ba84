// The Windows part of the main window: the frame log as a report list, opened
// from the system menu's "Frame log..." that the main window adds itself (as
// it adds "Monitor..." and the profiles' entries, whose windows both
// platforms share).

#include "ui/main/ConfigDlg.h"
#include "ui/log/FrameLogWndWin32.h"

struct CConfigDlg::PlatformWindows {
    std::unique_ptr<CFrameLogWnd> frameLog;
};

void CConfigDlg::PlatformWindowsDeleter::operator()(PlatformWindows* windows) const { delete windows; }

CConfigDlg::PlatformWindowsPtr CConfigDlg::MakePlatformWindows() { return PlatformWindowsPtr(new PlatformWindows); }

// Each opening shows the same window again, where the operator left it.
void CConfigDlg::OnFrameLog() {
    auto& window = m_platformWindows->frameLog;
    if (!window) window = std::make_unique<CFrameLogWnd>(FrameLog());
    window->Show();
}

CFrameLogWnd* CConfigDlg::FrameLogWindow() const { return m_platformWindows->frameLog.get(); }
