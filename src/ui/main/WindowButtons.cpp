// The buttons that open the secondary windows, and the windows' lifetime: they
// are built with the main window and each opening reuses the same object.

#include "app/ConfigDlg.h"
#include "app/FrameRecorder.h"
#include "app/WindowExchangeWaiter.h"
#include "protocol/FrameCodes.h"
#include "serial/SerialPort.h"
#include "ui/lcd/LcdControlDlg.h"
#include "ui/light/LightParamDlg.h"
#include "ui/log/FrameLogWnd.h"
#include "ui/wireless/WirelessDlg.h"

// The constructor and destructor live here, where the secondary windows'
// types are complete: the window shell under src/app never includes them.
CConfigDlg::CConfigDlg()
    : CDialogBase(kTemplateId),
      m_waiter(std::make_unique<CWindowExchangeWaiter>()),
      m_link(g_serialPort),
      m_frames(std::make_unique<CFrameRecorder>(g_serialPort, [this] {
          // A register-frame device answers its reads from address 255.
          return m_soilMode ? ReplyContext{kRegisterModeAddress} : ReplyContext{};
      })) {
    m_link.m_waiter = m_waiter.get();
    m_link.m_observer = &m_frames->Observer();
    CreateSecondaryWindows();
    BindMessageMap();
}

void CConfigDlg::CreateSecondaryWindows() {
    m_wirelessDlg = std::make_unique<CWirelessDlg>();
    m_lcdDlg = std::make_unique<CLcdControlDlg>();
    m_lightDlg = std::make_unique<CLightParamDlg>();
}

CConfigDlg::~CConfigDlg() {
    m_link.m_receive.Stop();
    if (g_mainDlg == this) g_mainDlg = nullptr;
}

void CConfigDlg::OnLcdControlMode() { m_lcdDlg->DoModal(); }

void CConfigDlg::OnLightParamSet() { m_lightDlg->DoModal(); }
