// The buttons that open the secondary windows, and the windows' lifetime: they
// are built with the main window and each opening reuses the same object.

#include "ui/main/ConfigDlg.h"
#include "app/FrameRecorder.h"
#include "app/WindowExchangeWaiter.h"
#include "serial/SerialPort.h"
#include "ui/lcd/LcdControlDlg.h"
#include "ui/light/LightParamDlg.h"
#include "ui/profile/ProfileDlg.h"
#include "ui/monitor/MonitorWnd.h"
#include "ui/scan/ScanDlg.h"
#include "ui/wireless/WirelessDlg.h"

// The constructor and destructor live here, where the secondary windows'
// types are complete: ConfigDlg.h only declares them.
// The platform's own windows are made and destroyed by its file
// (PlatformWindowsQt.cpp on Linux, PlatformWindowsWin32.cpp on Windows).
CConfigDlg::CConfigDlg()
    : CDialogBase(kTemplateId),
      m_waiter(std::make_unique<CWindowExchangeWaiter>()),
      m_session(g_serialPort, g_portOpen),
      m_frames(std::make_unique<CFrameRecorder>(m_session.Port())),
      m_platformWindows(MakePlatformWindows()) {
    m_session.SetWaiter(m_waiter.get());
    m_session.SetObserver(&m_frames->Observer());
    CreateSecondaryWindows();
    BindMessageMap();
}

void CConfigDlg::CreateSecondaryWindows() {
    m_wirelessDlg = std::make_unique<CWirelessDlg>(m_session);
    m_lcdDlg = std::make_unique<CLcdControlDlg>(m_session, m_busy);
    m_lightDlg = std::make_unique<CLightParamDlg>(m_session, m_busy);
    m_profileDlg = std::make_unique<CProfileDlg>(m_session);
    m_scanDlg = std::make_unique<CScanDlg>(
        m_session, [this](std::uint8_t port, const FoundUnit& unit) { UseFoundUnit(port, unit); }, this);
}

CConfigDlg::~CConfigDlg() {
    m_session.StopReceiving();
    if (g_mainDlg == this) g_mainDlg = nullptr;
}

void CConfigDlg::OnLcdControlMode() { m_lcdDlg->DoModal(); }

// Each opening shows the same window again, with the samples it holds.
void CConfigDlg::OnMonitor() {
    if (!m_monitorWnd) m_monitorWnd = std::make_unique<CMonitorWnd>(m_session);
    m_monitorWnd->ShowModeless();
}

CMonitorWnd* CConfigDlg::MonitorWindow() const { return m_monitorWnd.get(); }

void CConfigDlg::OnLightParamSet() { m_lightDlg->DoModal(); }
