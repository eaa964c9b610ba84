// Device search: the session tries each speed; the window keeps its search
// controls disabled while it does and says what was found.

#include <string>

#include "MainTransaction.h"

namespace {

void EnableSearchControls(CConfigDlg& dlg, bool enable) {
    dlg.EnableDlgItem(kIdSearchDevice, enable);
    dlg.EnableDlgItem(kIdPortList, enable);
}

const char* ParityText(std::uint8_t parity) {
    switch (parity) {
        case kParityNone: return "No parity";
        case kParityOdd: return "Odd parity";
        case kParityEven: return "Even parity";
        default: return "Error parity";
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
    const CurrentDevice& device = session.Device();

    switch (result.found) {
        case Found::Fd:
            ShowDeviceFields(*this);
            MessageBox("Device Address:" + std::to_string(int{device.address}) +
                           "  Band Rate:" + std::to_string(static_cast<int>(device.baudRate)),
                       "Search Result");
            EnableSearchControls(*this, true);
            EnableControls(true);
            return;
        case Found::Register: {
            ShowDeviceFields(*this);
            std::string report = "Soil moisture sensor\r\nAddress:" + std::to_string(int{device.address}) +
                                 "  Baud rate:" + std::to_string(static_cast<int>(device.baudRate)) + "\r\n" +
                                 ParityText(device.parity);
            if (device.StopBitException()) {
                report += "\r\nStop bit exception, please reconfigure address or baud rate";
                MessageBox(report, "Test results are abnormal", MsgIcon::Question);
            } else {
                MessageBox(report, "Test Result");
            }
            EnableSearchControls(*this, true);
            EnableControls(true);
            return;
        }
        case Found::None: break;
    }

    switch (result.failure) {
        case Failure::PortOpenFailed:
            MessageBox("Serial port open failed", "Serial prompt", MsgIcon::Question);
            EnableSearchControls(*this, true);
            return;
        case Failure::RegisterPortOpenFailed:
            MessageBox("Open the serial port failed", kWarningCaption, MsgIcon::Question);
            EnableSearchControls(*this, true);
            return;
        case Failure::NotFound:
        case Failure::None:
            EnableSearchControls(*this, true);
            MessageBox("Search end  Unrecognized baud rate", "Search Result");
            return;
    }
}
