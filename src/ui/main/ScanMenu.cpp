// "Scan bus..." of the main window's menu: the scan window on the port the
// list selects, and a unit it found as the current device.

#include "MainTransaction.h"
#include "ui/scan/ScanDlg.h"

void CConfigDlg::OnScanBus() {
    m_scanDlg->SetScanPort(SelectedPortNumber(*this));
    m_scanDlg->DoModal();
}

// As a search that found the unit leaves the window: the port open at its
// speed, its address and speed in the fields, the parameter buttons enabled.
void CConfigDlg::UseFoundUnit(std::uint8_t portNumber, const FoundUnit& unit) {
    if (!m_session.OpenPort(portNumber, unit.baud)) {
        MessageBox("Serial port open failed", "Serial prompt", MsgIcon::Question);
        return;
    }
    m_session.AssumeDevice(unit.address, unit.baud, /*registerMode=*/false);
    ComboSetCurSel(kIdPortList, portNumber - 1);
    ShowDeviceFields(*this);
    EnableDlgItem(kIdSearchDevice, true);
    EnableDlgItem(kIdPortList, true);
    EnableControls(true);
}
