// The switch output delay (a plain 16-bit word) and the remote signal's normal
// state (the index of the chosen combo-box entry), both FC parameters.

#include "MainTransaction.h"
#include "Parameters.h"
#include "ValueForms.h"
#include "app/ConfigDlg.h"
#include "app/TextNumbers.h"

namespace {

constexpr int kIdOutputDelayField = 1063;
constexpr int kIdRemoteSignalBox = 1066;

// Entries of the remote-signal box; index 2 is past the list and selects nothing.
constexpr int kNormallyOpen = 0;
constexpr int kNormallyClose = 1;
constexpr int kNoSelection = 2;

}  // namespace

void CConfigDlg::OnReadOutputDelay() {
    if (!TryEnterBusy()) return;
    SetDlgItemText(kIdOutputDelayField, QString());
    if (const auto word = ExchangeParameterRead(*this, kFcOutputDelay))
        SetDlgItemText(kIdOutputDelayField, UnsignedIntegerText(*word));
}

void CConfigDlg::OnWriteOutputDelay() {
    const std::int64_t typed = ParseLeadingInteger(GetDlgItemText(kIdOutputDelayField).toStdString());
    ExchangeParameterWrite(*this, kFcOutputDelay, OutputDelayWord(typed));
}

void CConfigDlg::OnReadRemoteSignal() {
    if (!TryEnterBusy()) return;
    ComboSetCurSel(kIdRemoteSignalBox, kNoSelection);
    const auto word = ExchangeParameterRead(*this, kFcRemoteSignal);
    if (!word) return;
    switch (*word) {
        case 0: ComboSetCurSel(kIdRemoteSignalBox, kNormallyOpen); break;
        case 1: ComboSetCurSel(kIdRemoteSignalBox, kNormallyClose); break;
        default: ComboSetCurSel(kIdRemoteSignalBox, kNoSelection); break;
    }
}

void CConfigDlg::OnWriteRemoteSignal() {
    // Only the selection counts, never the text typed into the box; no
    // selection (-1) is 0xFFFF here and refused with the rest.
    const auto selection = static_cast<std::uint16_t>(ComboGetCurSel(kIdRemoteSignalBox) & 0xFFFF);
    if (selection >= kNoSelection) {
        MessageBox(QStringLiteral("Illegal parameter"), kWarningCaption, MsgIcon::Question);
        return;
    }
    ExchangeParameterWrite(*this, kFcRemoteSignal, selection);
}
