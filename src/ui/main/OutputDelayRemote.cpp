// The switch output delay (a plain 16-bit word) and the remote signal's normal
// state (the index of the chosen combo-box entry), both FC parameters.

#include "MainTransaction.h"
#include "ParameterFields.h"

namespace {

// Entries of the remote-signal box; index 2 is past the list and selects nothing.
constexpr int kNormallyOpen = 0;
constexpr int kNormallyClose = 1;
constexpr int kNoSelection = 2;

}  // namespace

void CConfigDlg::OnReadOutputDelay() {
    if (!TryEnterBusy()) return;
    SetDlgItemText(kIdOutputDelayField, "");
    const OpResult<std::uint16_t> word = m_session.ReadParameter(Parameter::OutputDelay);
    if (word.Ok()) SetDlgItemText(kIdOutputDelayField, WindowText(Parameter::OutputDelay, word.value));
}

void CConfigDlg::OnWriteOutputDelay() {
    WriteParameterAndReport(*this, Parameter::OutputDelay,
                            LenientWord(Parameter::OutputDelay, GetDlgItemText(kIdOutputDelayField)));
}

void CConfigDlg::OnReadRemoteSignal() {
    if (!TryEnterBusy()) return;
    ComboSetCurSel(kIdRemoteSignalBox, kNoSelection);
    const OpResult<std::uint16_t> word = m_session.ReadParameter(Parameter::RemoteSignal);
    if (!word.Ok()) return;
    switch (word.value) {
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
        MessageBox("Illegal parameter", kWarningCaption, MsgIcon::Question);
        return;
    }
    WriteParameterAndReport(*this, Parameter::RemoteSignal, selection);
}
