// Device search: the FD query at each speed the FD devices use, then the
// register read that register-frame (soil moisture) devices answer at 9600.
// The port stays open at the speed at which the device answered.

#include <array>

#include "MainTransaction.h"
#include "app/ConfigDlg.h"

namespace {

constexpr int kIdPortList = 1000;
constexpr int kIdSearch = 1001;

constexpr std::array<std::uint32_t, 3> kFdSpeeds = {2400, 4800, 9600};
constexpr std::uint32_t kRegisterDeviceSpeed = 9600;

void EnableSearchControls(CConfigDlg& dlg, bool enable) {
    dlg.EnableDlgItem(kIdSearch, enable);
    dlg.EnableDlgItem(kIdPortList, enable);
}

QString ParityText(std::uint8_t parity) {
    switch (parity) {
        case kParityNone: return QStringLiteral("No parity");
        case kParityOdd: return QStringLiteral("Odd parity");
        case kParityEven: return QStringLiteral("Even parity");
        default: return QStringLiteral("Error parity");
    }
}

// One FD query at `speed`, on the port reopened at that speed.
enum class Attempt { Found, NotFound, OpenFailed };

Attempt QueryFdAt(CConfigDlg& dlg, std::uint8_t portNumber, std::uint32_t speed) {
    if (!ReopenPort(portNumber, speed)) return Attempt::OpenFailed;
    EnableSearchControls(dlg, false);

    const ReplyBytes reply = dlg.ExchangeStandard(BuildFdQuery(RequestBuffer(dlg)));
    if (!IsJudgeable(reply)) return Attempt::NotFound;
    const std::optional<FdReply> fd = ParseFdReply(reply);
    if (!fd) return Attempt::NotFound;
    TakeFdReply(dlg, *fd);
    return Attempt::Found;
}

}  // namespace

void CConfigDlg::OnSearchDevice() {
    m_soilMode = 0;
    const std::uint8_t portNumber = SelectedPortNumber(*this);

    for (std::uint32_t speed : kFdSpeeds) {
        switch (QueryFdAt(*this, portNumber, speed)) {
            case Attempt::OpenFailed:
                MessageBox(QStringLiteral("Serial port open failed"), QStringLiteral("Serial prompt"),
                           MsgIcon::Question);
                EnableSearchControls(*this, true);
                return;
            case Attempt::Found:
                ShowDeviceFields(*this);
                MessageBox(QString::asprintf("Device Address:%d  Band Rate:%d", int{m_devAddress},
                                             static_cast<int>(m_baudRate)),
                           QStringLiteral("Search Result"));
                EnableSearchControls(*this, true);
                EnableControls(true);
                return;
            case Attempt::NotFound:
                break;  // the next speed at once
        }
    }

    // No FD device: a register-frame device answers the line-settings read at
    // address 255, at 9600 bit/s.
    if (!ReopenPort(portNumber, kRegisterDeviceSpeed)) {
        MessageBox(QStringLiteral("Open the serial port failed"), kWarningCaption, MsgIcon::Question);
        EnableSearchControls(*this, true);
        return;
    }
    EnableSearchControls(*this, false);
    const ReplyBytes reply = ExchangeStandard(BuildLineSettingsRead(RequestBuffer(*this)));
    const std::optional<SoilSearchReply> soil =
        IsJudgeable(reply) ? ParseSoilSearchReply(reply) : std::nullopt;
    if (!soil) {
        EnableSearchControls(*this, true);
        MessageBox(QStringLiteral("Search end  Unrecognized baud rate"), QStringLiteral("Search Result"));
        return;
    }

    TakeSoilSearchReply(*this, *soil);
    ShowDeviceFields(*this);

    QString report = QString::asprintf("Soil moisture sensor\r\nAddress:%d  Baud rate:%d\r\n",
                                       int{m_devAddress}, static_cast<int>(m_baudRate)) +
                     ParityText(m_soilParity);
    if (m_soilStopFlag1 != 0 || m_soilStopFlag2 != 0) {
        report += QStringLiteral("\r\nStop bit exception, please reconfigure address or baud rate");
        MessageBox(report, QStringLiteral("Test results are abnormal"), MsgIcon::Question);
    } else {
        MessageBox(report, QStringLiteral("Test Result"));
    }
    EnableSearchControls(*this, true);
    EnableControls(true);
    m_soilMode = 1;
}
