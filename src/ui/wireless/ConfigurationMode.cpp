// The main window's button 1038: puts the wireless receiver into
// configuration mode, opens the wireless window, and takes the receiver out
// of the mode again however the window was closed.

#include <QString>

#include "WirelessDlg.h"
#include "WirelessExchange.h"
#include "app/ConfigDlg.h"
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
    // apart, through its line noise of a few bytes.
    std::optional<FbConfigReply> entered;
    {
        CWaitCursor wait;
        //   FB FB FB 01 01 00 00 00 00 CRC  ->  configuration reply
        entered = ExchangeFbConfig(*this, BuildFbEnterConfig(WirelessRequest(*this)), ExchangeVariant::Long);
    }
    if (!entered) {
        MessageBox(QStringLiteral("Wireless devices failed to enter configuration mode,Please check the connection"),
                   QStringLiteral("Warning"), MsgIcon::Question);
        return;
    }
    m_wirelessDlg->m_sleepTime = entered->sleepTime;
    m_wirelessDlg->m_configBits = entered->configBits;

    m_wirelessDlg->DoModal();

    bool left = false;
    {
        CWaitCursor wait;
        //   FB FB FB 02 01 00 00 00 00 CRC  ->  any good FB reply
        left = ExchangeFbValue(*this, BuildFbLeaveConfig(WirelessRequest(*this)), ValuesUsed::None,
                               ExchangeVariant::Long)
                   .has_value();
    }
    if (!left) {
        MessageBox(QStringLiteral("Exit configuration mode failed,Please power on the device again"),
                   QStringLiteral("Warning"), MsgIcon::Question);
    }
}
