#include "ConfigDlg.h"

#include <array>

#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>

#include "AboutDlg.h"
#include "FrameRecorder.h"
#include "res/Resources.h"
#include "serial/PortPath.h"
#include "serial/SerialPort.h"

CConfigDlg* g_mainDlg = nullptr;

namespace {

constexpr int kIdPortList = 1000;
constexpr int kPortEntries = 30;
constexpr std::uint32_t kStartBaud = 4800;
constexpr std::uint8_t kDataBits = 8;
constexpr int kAboutStringId = 101;
constexpr int kAppIconId = 128;

// The parameter buttons that a successful search enables, the hidden current
// and voltage buttons among them.
constexpr std::array<int, 35> kParameterButtons = {
    1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010,              //
    1018, 1019, 1020, 1021, 1022, 1023, 1024, 1025, 1026, 1027,  //
    1038, 1039, 1040, 1041, 1042, 1043, 1044, 1045, 1046,        //
    1049, 1050, 1052, 1064, 1065, 1067, 1068, 1069,
};

}  // namespace

bool CConfigDlg::OnInitDialog() {
    CDialogBase::OnInitDialog();
    g_mainDlg = this;

    m_soilMode = 0;
    m_link.m_receive.Init();

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
        g_serialPort.SetParams(static_cast<std::uint8_t>(position + 1), kDataBits,
                               CSerialPort::kNoParity, CSerialPort::kOneStopBit, kStartBaud);
        if (g_serialPort.Open()) {
            g_portOpen = true;
        } else {
            MessageBox(QStringLiteral("Serial port open failed"), QStringLiteral("Serial prompt"),
                       MsgIcon::Stop);
        }
    }

    if (!m_link.m_receive.Running()) m_link.m_receive.Start(g_serialPort, g_portOpen);

    EnableControls(false);
    SetTimer(kBusyTimer, kBusyTimerMs);
    return true;
}


void CConfigDlg::EnableControls(bool enable) {
    for (int id : kParameterButtons) EnableDlgItem(id, enable);
}

std::uint16_t CConfigDlg::ExchangeFrame(std::uint16_t frameLength, ExchangeVariant variant) {
    return ::ExchangeFrame(m_link, frameLength, variant);
}

CConfigDlg* EnterGuardedOperation() {
    CConfigDlg* main = g_mainDlg;
    if (main == nullptr || !main->TryEnterBusy()) return nullptr;
    return main;
}

CFrameLog& CConfigDlg::FrameLog() { return m_frames->Log(); }

bool CConfigDlg::TryEnterBusy() {
    if (m_busy) return false;
    m_busy = 1;
    return true;
}

void CConfigDlg::OnTimer(int timerId) {
    if (timerId == kBusyTimer && m_busy) m_busy = 0;
}

// Linux desktops give a dialog no system menu of its own, so the About entry
// lives in the window's context menu, below a separator as on Windows; the
// frame log's entry follows it.
void CConfigDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const QString about = LoadResString(kAboutStringId);
    if (!about.isEmpty()) {
        menu.addSeparator();
        menu.addAction(about)->setData(kAboutCommand);
    }
    menu.addAction(QStringLiteral("Frame log..."))->setData(kFrameLogCommand);
    if (QAction* chosen = menu.exec(event->globalPos())) OnSysCommand(chosen->data().toInt());
}

void CConfigDlg::OnSysCommand(int command) {
    // The low four bits of a system command are the system's own.
    if ((command & 0xFFF0) == kAboutCommand) OnAbout();
    if ((command & 0xFFF0) == kFrameLogCommand) OnFrameLog();
}

void CConfigDlg::OnAbout() {
    CAboutDlg about(this);
    about.DoModal();
}
