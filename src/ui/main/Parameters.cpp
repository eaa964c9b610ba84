// The main window's FC parameters, the rows of ParameterRows.h: the alarm
// limits, hystereses and calibration offsets as numbers in their own forms,
// the switch output delay as a plain word, and the remote signal's normal
// state as the index of the chosen entry of its box.

#include <optional>

#include "MainTransaction.h"
#include "ParameterRows.h"

namespace {

// Entries of the remote-signal box; index 2 is past the list and selects nothing.
constexpr int kNormallyOpen = 0;
constexpr int kNormallyClose = 1;
constexpr int kNoSelection = 2;

void ShowWord(CConfigDlg& dlg, const ParameterRow& row, std::uint16_t word) {
    switch (row.kind) {
        case FieldKind::Number:
        case FieldKind::Integer: dlg.SetDlgItemText(row.field, WindowText(row.parameter, word)); return;
        case FieldKind::Choice:
            dlg.ComboSetCurSel(row.field, word == 0 ? kNormallyOpen : word == 1 ? kNormallyClose : kNoSelection);
            return;
    }
}

// The word the row's control holds, or nothing, after a box, when it holds none.
std::optional<std::uint16_t> WordToWrite(CConfigDlg& dlg, const ParameterRow& row) {
    switch (row.kind) {
        case FieldKind::Number:
        case FieldKind::Integer: return LenientWord(row.parameter, dlg.GetDlgItemText(row.field));
        case FieldKind::Choice: break;
    }
    // Only the selection counts, never the text typed into the box; no
    // selection (-1) is 0xFFFF here and refused with the rest.
    const auto selection = static_cast<std::uint16_t>(dlg.ComboGetCurSel(row.field) & 0xFFFF);
    if (selection >= kNoSelection) {
        dlg.MessageBox("Illegal parameter", kWarningCaption, MsgIcon::Question);
        return std::nullopt;
    }
    return selection;
}

}  // namespace

void CConfigDlg::OnReadParameter(const ParameterRow& row) {
    if (!TryEnterBusy()) return;
    // The control is blanked first, so a failed read leaves it empty.
    if (row.kind == FieldKind::Choice) {
        ComboSetCurSel(row.field, kNoSelection);
    } else {
        SetDlgItemText(row.field, "");
    }
    const OpResult<std::uint16_t> word = m_session.ReadParameter(row.parameter);
    if (word.Ok()) ShowWord(*this, row, word.value);
}

void CConfigDlg::OnWriteParameter(const ParameterRow& row) {
    // Writes never look at the busy flag.
    const std::optional<std::uint16_t> word = WordToWrite(*this, row);
    if (!word) return;
    // Any FC reply with a good CRC confirms the write, an echo included.
    if (m_session.WriteParameter(row.parameter, *word).Ok()) {
        MessageBox("Setting successfully");
    } else {
        MessageBox("Setting failed", kWarningCaption, MsgIcon::Question);
    }
}
