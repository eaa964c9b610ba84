// Reading and changing the device's bus address and baud rate, in the mode the
// last search found: FD frames, or the register frames of the register-frame
// device at address 255.

#include "MainTransaction.h"
#include "app/ConfigDlg.h"
#include "app/TextNumbers.h"
#include "protocol/BaudCodes.h"

namespace {

constexpr int kIdAddressField = 1012;
constexpr int kIdBaudField = 1013;

// The register device's baud register gets the code of the rate the search
// reported; a rate the tool does not write (or 0, an unknown code at search
// time) goes out as 4800.
std::uint8_t LineBaudCodeOf(std::uint32_t baudRate) {
    switch (baudRate) {
        case 2400: return kFdBaudCode2400;
        case 9600: return kFdBaudCode9600;
        default: return kFdBaudCode4800;
    }
}

std::int64_t FieldInteger(const CConfigDlg& dlg, int id) {
    return ParseLeadingInteger(dlg.GetDlgItemText(id).toStdString());
}

}  // namespace

void CConfigDlg::OnReadAddress() {
    if (!TryEnterBusy()) return;
    const std::uint16_t length =
        m_soilMode ? BuildLineSettingsRead(RequestBuffer(*this)) : BuildFdQuery(RequestBuffer(*this));
    SetDlgItemText(kIdAddressField, QStringLiteral(" "));
    SetDlgItemText(kIdBaudField, QStringLiteral(" "));

    const ReplyBytes reply = ExchangeStandard(length);
    if (!IsJudgeable(reply)) return;
    if (m_soilMode) {
        // Refreshes the parity and stop-bit bytes too, without a report.
        const std::optional<SoilSearchReply> soil = ParseSoilSearchReply(reply);
        if (!soil) return;
        TakeSoilSearchReply(*this, *soil);
    } else {
        const std::optional<FdReply> fd = ParseFdReply(reply);
        if (!fd) return;
        TakeFdReply(*this, *fd);
    }
    ShowDeviceFields(*this);
}

void CConfigDlg::OnReadBaud() { OnReadAddress(); }

void CConfigDlg::OnWriteAddress() {
    // Only the low 8 bits count: 257 is address 1, -1 address 255, 256 is 0.
    const auto address = static_cast<std::uint8_t>(FieldInteger(*this, kIdAddressField) & 0xFF);
    if (address == 0) {
        MessageBox(QStringLiteral("Device Address Could not Be 0"));
        return;
    }

    if (m_soilMode) {
        const ReplyBytes reply = ExchangeStandard(
            BuildLineSettingsWrite(RequestBuffer(*this), address, LineBaudCodeOf(m_baudRate)));
        if (IsJudgeable(reply) && CheckReplyCrc(reply)) {
            MessageBox(QStringLiteral("Successfully set the address"));
        } else {
            MessageBox(QStringLiteral("The address setting failed"), kWarningCaption, MsgIcon::Question);
        }
        return;
    }

    const ReplyBytes reply = ExchangeStandard(BuildFdSetAddress(RequestBuffer(*this), address));
    if (!IsJudgeable(reply)) {
        MessageBox(QStringLiteral("Address setting failed"), kWarningCaption, MsgIcon::Question);
        return;
    }
    const std::optional<FdReply> fd = ParseFdReply(reply);
    if (!fd) {
        MessageBox(QStringLiteral("The address setting failed"), kWarningCaption, MsgIcon::Question);
        return;
    }
    TakeFdReply(*this, *fd);
    MessageBox(QStringLiteral("Successfully Set the Address"));
}

void CConfigDlg::OnWriteBaud() {
    // Compared before any narrowing: 4294969696 is not 2400.
    const std::int64_t rate = FieldInteger(*this, kIdBaudField);
    const std::optional<std::uint8_t> code =
        rate == 2400 || rate == 4800 || rate == 9600 ? FdBaudCode(static_cast<std::uint32_t>(rate))
                                                     : std::nullopt;
    if (!code) {
        MessageBox(QStringLiteral("Band Rate error"));
        return;
    }

    if (m_soilMode) {
        // The register device takes the new rate at its next start; our port
        // stays where the search found it.
        const ReplyBytes reply =
            ExchangeStandard(BuildLineSettingsWrite(RequestBuffer(*this), m_devAddress, *code));
        if (IsJudgeable(reply) && CheckReplyCrc(reply)) {
            MessageBox(QStringLiteral("The baud rate is set successfully"));
        } else {
            MessageBox(QStringLiteral("Setting baud rate failed"), kWarningCaption, MsgIcon::Question);
        }
        return;
    }

    // The FD device answers at the old speed and listens at the new one after.
    const ReplyBytes reply = ExchangeStandard(BuildFdSetBaud(RequestBuffer(*this), *code));
    const std::optional<FdReply> fd = IsJudgeable(reply) ? ParseFdReply(reply) : std::nullopt;
    if (!fd) {
        MessageBox(QStringLiteral("Setting baud rate failed"), kWarningCaption, MsgIcon::Question);
        return;
    }
    TakeFdReply(*this, *fd);
    MessageBox(QStringLiteral("The baud rate is set successfully"));

    // On the port the list selects now, which may not be the one searched. A
    // failed reopen is not reported: every later operation times out until a
    // search opens the port again.
    ReopenPort(SelectedPortNumber(*this), static_cast<std::uint32_t>(rate));
}
