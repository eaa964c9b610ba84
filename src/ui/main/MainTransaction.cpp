#include "MainTransaction.h"

#include <string>

void ShowDeviceFields(CConfigDlg& dlg) {
    const CDeviceSession& session = dlg.Session();
    dlg.SetDlgItemText(kIdAddressField, std::to_string(session.Device().address));
    dlg.SetDlgItemText(kIdBaudField, std::to_string(session.Device().baudRate));
}

std::uint8_t SelectedPortNumber(const CConfigDlg& dlg) {
    // -1 (nothing selected) gives port 0, which no device answers to.
    return static_cast<std::uint8_t>(dlg.ComboGetCurSel(kIdPortList) + 1);
}
