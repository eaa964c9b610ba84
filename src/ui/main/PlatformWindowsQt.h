#pragma once
// The window of the Linux program that the main window keeps in a form of
// its own: the frame log as a Qt window (the Windows program has it as a
// report list; the monitor and the profile window are both platforms').

#include <memory>

#include "ui/main/ConfigDlg.h"
#include "ui/log/FrameLogWnd.h"

struct CConfigDlg::PlatformWindows {
    std::unique_ptr<CFrameLogWnd> frameLog;
};
