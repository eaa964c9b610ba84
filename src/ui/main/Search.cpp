// Device search: the session tries each speed; the window keeps its search
// controls disabled while it does and says what was found.

#include "MainTransaction.h"

namespace {

void EnableSearchControls(CConfigDlg& dlg, bool enable) {
    dlg.EnableDlgItem(kIdSearchDevice, enable);
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

}  // namespace

void CConfigDlg::OnSearchDevice() {
    using Found = SearchResult::Found;
    using Failure = SearchResult::Failure;
    CDeviceSession& session = m_session;
    // The controls go off once the port is open at a speed: a port that does
    // not open ends the search with them as they were.
    const SearchResult result = session.Search(SelectedPortNumber(*this), [this] { EnableSearchControls(*this, false); });

    switch (result.found) {
        case Found::Fd:
            ShowDeviceFields(*this);
            MessageBox(QString::asprintf("Device Address:%d  Band Rate:%d", int{session.m_devAddress},
                                         static_cast<int>(session.m_baudRate)),
                       QStringLiteral("Search Result"));
            EnableSearchControls(*this, true);
            EnableControls(true);
            return;
        case Found::Register: {
            ShowDeviceFields(*this);
            QString report = QString::asprintf("Soil moisture sensor\r\nAddress:%d  Baud rate:%d\r\n",
                                               int{session.m_devAddress}, static_cast<int>(session.m_baudRate)) +
                             ParityText(session.m_soilParity);
            if (session.m_soilStopFlag1 != 0 || session.m_soilStopFlag2 != 0) {
                report += QStringLiteral("\r\nStop bit exception, please reconfigure address or baud rate");
                MessageBox(report, QStringLiteral("Test results are abnormal"), MsgIcon::Question);
            } else {
                MessageBox(report, QStringLiteral("Test Result"));
            }
            EnableSearchControls(*this, true);
            EnableControls(true);
            return;
        }
        case Found::None: break;
    }

    switch (result.failure) {
        case Failure::PortOpenFailed:
            MessageBox(QStringLiteral("Serial port open failed"), QStringLiteral("Serial prompt"), MsgIcon::Question);
            EnableSearchControls(*this, true);
            return;
        case Failure::RegisterPortOpenFailed:
            MessageBox(QStringLiteral("Open the serial port failed"), kWarningCaption, MsgIcon::Question);
            EnableSearchControls(*this, true);
            return;
        case Failure::NotFound:
        case Failure::None:
            EnableSearchControls(*this, true);
            MessageBox(QStringLiteral("Search end  Unrecognized baud rate"), QStringLiteral("Search Result"));
            return;
    }
}
