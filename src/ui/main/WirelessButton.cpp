// The main window's button 1038: puts the wireless receiver into
// configuration mode, opens the wireless window, and takes the receiver out
// of the mode again however the window was closed.

#include "ui/wireless/WirelessDlg.h"
#include "ui/main/ConfigDlg.h"
#include "device/ConfigurationScope.h"
#include "widgets/WaitCursor.h"

namespace {

// The parameter controls stay disabled for the whole sequence and come back
// on every way out of it.
class CControlsDisabled {
public:
    explicit CControlsDisabled(CConfigDlg& dlg) : m_dlg(dlg) { m_dlg.EnableControls(false); }
    ~CControlsDisabled() { m_dlg.EnableControls(true); }
    CControlsDisabled(const CControlsDisabled&) = delete;
    CControlsDisabled& operator=(const CControlsDisabled&) = delete;

private:
    CConfigDlg& m_dlg;
};

}  // namespace

void CConfigDlg::OnWirelessParaSet() {
    CControlsDisabled disabled(*this);

    // The receiver takes its time to switch modes: up to ten polls 600 ms
    // apart, through its line noise of a few bytes. A spoiled reply to the
    // enter frame counts as no answer: the window does not open and no leave
    // frame goes out.
    CConfigurationScope mode = [this] {
        CWaitCursor wait;
        return CConfigurationScope(m_session, LeaveRule::AfterGoodEnter);
    }();
    if (!mode.Entered()) {
        MessageBox("Wireless devices failed to enter configuration mode,Please check the connection", "Warning",
                   MsgIcon::Question);
        return;
    }
    m_wirelessDlg->m_sleepTime = mode.Enter().value.sleepTime;
    m_wirelessDlg->m_configBits = mode.Enter().value.configBits;

    m_wirelessDlg->DoModal();

    bool left = false;
    {
        CWaitCursor wait;
        const std::optional<OpOutcome>& outcome = mode.Leave();
        left = !outcome || outcome->Ok();
    }
    if (!left) {
        MessageBox("Exit configuration mode failed,Please power on the device again", "Warning", MsgIcon::Question);
    }
}
