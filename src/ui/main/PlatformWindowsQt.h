#pragma once
// The windows of the Linux program that the main window keeps and the
// Windows program does not have yet: the frame log as a Qt window and the
// profile window.

#include <memory>

#include "app/ConfigDlg.h"
#include "ui/log/FrameLogWnd.h"
#include "ui/profile/ProfileDlg.h"

struct CConfigDlg::PlatformWindows {
    std::unique_ptr<CFrameLogWnd> frameLog;
    std::unique_ptr<CProfileDlg> profile;
};
