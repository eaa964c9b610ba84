// The Windows program: the main configuration window, modal, until it closes.
// Its OnInitDialog opens the port, as on Linux.

#include "ui/main/ConfigDlg.h"
#include "widgets/win32/CommonControlsWin32.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int /*show*/) {
    // The frame log's report list is a common control, registered here.
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    CConfigDlg dlg;
    dlg.DoModal();
    return 0;
}
