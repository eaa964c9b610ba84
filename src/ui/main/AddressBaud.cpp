// Reading and changing the device's bus address and baud rate, in the mode the
// last search found.

#include "MainTransaction.h"
#include "protocol/TextNumbers.h"
#include "protocol/BaudCodes.h"

namespace {

std::int64_t FieldInteger(const CConfigDlg& dlg, int id) {
    return ParseLeadingInteger(dlg.GetDlgItemText(id));
}

}  // namespace

void CConfigDlg::OnReadAddress() {
    if (!TryEnterBusy()) return;
    SetDlgItemText(kIdAddressField, " ");
    SetDlgItemText(kIdBaudField, " ");
    // In register mode the read also refreshes the parity and stop-bit bytes,
    // without a report.
    if (m_session.ReadLine().Ok()) ShowDeviceFields(*this);
}

void CConfigDlg::OnReadBaud() { OnReadAddress(); }

void CConfigDlg::OnWriteAddress() {
    // Only the low 8 bits count: 257 is address 1, -1 address 255, 256 is 0.
    const auto address = static_cast<std::uint8_t>(FieldInteger(*this, kIdAddressField) & 0xFF);
    if (address == 0) {
        MessageBox("Device Address Could not Be 0");
        return;
    }

    const bool registerMode = m_session.Device().RegisterMode();
    const OpOutcome outcome = m_session.WriteAddress(address);
    if (registerMode) {
        if (outcome.Ok()) {
            MessageBox("Successfully set the address");
        } else {
            MessageBox("The address setting failed", kWarningCaption, MsgIcon::Question);
        }
        return;
    }
    switch (outcome.status) {
        case OpStatus::Ok: MessageBox("Successfully Set the Address"); return;
        case OpStatus::NoReply:
        case OpStatus::ShortReply:
            MessageBox("Address setting failed", kWarningCaption, MsgIcon::Question);
            return;
        case OpStatus::BadReply:
        case OpStatus::EchoMismatch:
            MessageBox("The address setting failed", kWarningCaption, MsgIcon::Question);
            return;
    }
}

void CConfigDlg::OnWriteBaud() {
    // Compared before any narrowing: 4294969696 is not 2400.
    const std::int64_t rate = FieldInteger(*this, kIdBaudField);
    const std::optional<std::uint8_t> code =
        rate == 2400 || rate == 4800 || rate == 9600 ? FdBaudCode(static_cast<std::uint32_t>(rate))
                                                     : std::nullopt;
    if (!code) {
        MessageBox("Band Rate error");
        return;
    }

    const bool registerMode = m_session.Device().RegisterMode();
    if (!m_session.WriteBaud(*code).Ok()) {
        MessageBox("Setting baud rate failed", kWarningCaption, MsgIcon::Question);
        return;
    }
    MessageBox("The baud rate is set successfully");
    // The register device takes the new rate at its next start; our port
    // stays where the search found it.
    if (registerMode) return;

    // The FD device listens at the new speed from now on, on the port the list
    // selects now, which may not be the one searched. A failed reopen is not
    // reported: every later operation times out until a search opens the port
    // again.
    m_session.OpenPort(SelectedPortNumber(*this), static_cast<std::uint32_t>(rate));
}
