#include "ConfigDlg.h"

#include <array>

#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>

#include "AboutDlg.h"
#include "FrameRecorder.h"
#include "res/IdsConfig.h"
#include "res/Resources.h"
#include "serial/PortPath.h"
#include "serial/SerialPort.h"

CConfigDlg* g_mainDlg = nullptr;

namespace {

constexpr int kPortEntries = 30;
constexpr std::uint32_t kStartBaud = 4800;
constexpr int kAboutStringId = 101;
constexpr int kAppIconId = 128;

// The parameter buttons that a successful search enables, the hidden current
// and voltage buttons among them.
constexpr std::array<int, 35> kParameterButtons = {
    kIdWriteAddress,           kIdWriteBaud,               kIdReadTemperature,         kIdReadWaterLeak,
    kIdReadAddress,            kIdReadBaud,                kIdReadHumidity,            kIdReadPowerFailure,
    kIdReadCurrent,            kIdReadVoltage,             kIdReadLight,               kIdReadCo2,
    kIdWriteHumidityUpper,     kIdWriteHumidityLower,      kIdWriteTemperatureUpper,   kIdWriteTemperatureLower,
    kIdWriteHumidityAdjust,    kIdWriteTemperatureAdjust,  kIdWirelessParaSet,         kIdReadHumidityUpper,
    kIdReadHumidityLower,      kIdReadTemperatureUpper,    kIdReadTemperatureLower,    kIdReadHumidityAdjust,
    kIdReadTemperatureAdjust,  kIdWriteHumidityHysteresis, kIdWriteTemperatureHysteresis,
    kIdReadHumidityHysteresis, kIdReadTemperatureHysteresis, kIdLcdControlMode,        kIdReadOutputDelay,
    kIdWriteOutputDelay,       kIdReadRemoteSignal,        kIdWriteRemoteSignal,       kIdLightParamSet,
};

}  // namespace

bool CConfigDlg::OnInitDialog() {
    CDialogBase::OnInitDialog();
    g_mainDlg = this;

    m_session.m_soilMode = 0;

    setWindowIcon(LoadAppIcon(kAppIconId));

    // Each entry says where it leads on this machine.
    if (auto* ports = qobject_cast<QComboBox*>(GetDlgItem(kIdPortList))) {
        for (int i = 0; i < ports->count() && i < kPortEntries; ++i) {
            const std::string path = ResolvePortPath(i + 1);
            ports->setItemData(i, QString::fromStdString(path), Qt::ToolTipRole);
        }
    }
    ComboSetCurSel(kIdPortList, 0);
    const int position = ComboGetCurSel(kIdPortList);

    if (!g_portOpen.load()) {
        g_serialPort.SetParams(static_cast<std::uint8_t>(position + 1), CDeviceSession::kDataBits,
                               CSerialPort::kNoParity, CSerialPort::kOneStopBit, kStartBaud);
        if (g_serialPort.Open()) {
            g_portOpen = true;
        } else {
            MessageBox(QStringLiteral("Serial port open failed"), QStringLiteral("Serial prompt"),
                       MsgIcon::Stop);
        }
    }

    m_session.StartReceiving();

    EnableControls(false);
    SetTimer(kBusyTimer, kBusyTimerMs);
    return true;
}


void CConfigDlg::EnableControls(bool enable) {
    for (int id : kParameterButtons) EnableDlgItem(id, enable);
}

CFrameLog& CConfigDlg::FrameLog() { return m_frames->Log(); }

void CConfigDlg::OnTimer(int timerId) {
    if (timerId == kBusyTimer) m_session.ClearBusy();
}

// Linux desktops give a dialog no system menu of its own, so the About entry
// lives in the window's context menu, below a separator as on Windows; the
// frame log's and the profiles' entries follow it.
void CConfigDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const QString about = LoadResString(kAboutStringId);
    if (!about.isEmpty()) {
        menu.addSeparator();
        menu.addAction(about)->setData(kAboutCommand);
    }
    menu.addAction(QStringLiteral("Frame log..."))->setData(kFrameLogCommand);
    menu.addAction(QStringLiteral("Monitor..."))->setData(kMonitorCommand);
    menu.addAction(QStringLiteral("Save profile..."))->setData(kSaveProfileCommand);
    menu.addAction(QStringLiteral("Apply profile..."))->setData(kApplyProfileCommand);
    if (QAction* chosen = menu.exec(event->globalPos())) OnSysCommand(chosen->data().toInt());
}

void CConfigDlg::OnSysCommand(int command) {
    // The low four bits of a system command are the system's own.
    if ((command & 0xFFF0) == kAboutCommand) OnAbout();
    if ((command & 0xFFF0) == kFrameLogCommand) OnFrameLog();
    if ((command & 0xFFF0) == kMonitorCommand) OnMonitor();
    if ((command & 0xFFF0) == kSaveProfileCommand) OnSaveProfile();
    if ((command & 0xFFF0) == kApplyProfileCommand) OnApplyProfile();
}

void CConfigDlg::OnAbout() {
    CAboutDlg about(this);
    about.DoModal();
}
