#include "ProfileDlg.h"

#include <array>

#include "res/IdsProfile.h"
#include "widgets/WaitCursor.h"

namespace {

struct ColumnSpec {
    const char* heading;
    int width;  // dialog units, until the rows are in
};

constexpr std::array<ColumnSpec, CProfileDlg::kColumns> kColumnSpecs = {{
    {"Parameter", 90}, {"On the device", 70}, {"In the profile", 70}, {"Outcome", 80},
}};

std::string DeviceText(const SettingState& state) {
    if (!state.readable) return "(not reported)";
    if (!state.onDevice) return "(" + state.readOutcome.Text() + ")";
    return state.onDevice->text;
}

}  // namespace

void WarnIfLeaveFailed(CDialogBase& dlg, const LeaveOutcome& left) {
    if (left && !left->Ok()) {
        dlg.MessageBox("Exit configuration mode failed,Please power on the device again", "Warning", MsgIcon::Question);
    }
}

CProfileDlg::CProfileDlg(CDeviceSession& session, CDialogBase* owner)
    : CDialogBase(kTemplateId, owner), m_session(session) {
    // Apply keeps the window open to show the outcomes; Close ends it.
    OnCommand(kIdProfileApply, [this] { OnApply(); });
}

void CProfileDlg::SetProfile(Profile profile, std::string fileName) {
    m_profile = std::move(profile);
    m_fileName = std::move(fileName);
}

bool CProfileDlg::OnInitDialog() {
    CDialogBase::OnInitDialog();
    SetWindowCaption("Apply profile " + m_fileName);
    for (const ColumnSpec& column : kColumnSpecs) ListAddColumn(kIdProfileTable, column.heading, column.width);
    Compare();
    return true;
}

void CProfileDlg::Compare() {
    ListDeleteAllItems(kIdProfileTable);
    EnableDlgItem(kIdProfileApply, false);
    if (!m_profile) return;
    CWaitCursor wait;
    std::string failure;
    LeaveOutcome left;
    const std::vector<SettingState> states = DiffProfile(m_session, *m_profile, &failure, &left);
    int differing = 0;
    for (const SettingState& state : states) {
        const int row = ListInsertItem(kIdProfileTable, ListGetItemCount(kIdProfileTable), state.name);
        ListSetItemText(kIdProfileTable, row, kOnDevice, DeviceText(state));
        ListSetItemText(kIdProfileTable, row, kInProfile, state.inProfile.text);
        ListSetItemText(kIdProfileTable, row, kOutcome, state.Differs() ? "to write" : "same");
        if (state.Differs()) ++differing;
    }
    FitColumns();
    if (!failure.empty()) {
        SetDlgItemText(kIdProfileSummary, "The device could not be compared: " + failure);
    } else {
        SetDlgItemText(kIdProfileSummary, std::to_string(differing) + " of " + std::to_string(states.size()) +
                                              " settings differ from the profile; nothing has been written yet.");
    }
    EnableDlgItem(kIdProfileApply, failure.empty() && differing > 0);
    WarnIfLeaveFailed(*this, left);
}

void CProfileDlg::OnApply() {
    if (!m_profile) return;
    EnableDlgItem(kIdProfileApply, false);
    CWaitCursor wait;
    const ApplyReport report = ApplyProfile(m_session, *m_profile, /*dryRun=*/false, [this](const ApplyStep& step) {
        const int row = RowOf(step.name);
        if (row < 0) return;
        ListSetItemText(kIdProfileTable, row, kOutcome, StepText(step));
        // What the device holds now, as read back.
        if (step.result == StepResult::Verified) ListSetItemText(kIdProfileTable, row, kOnDevice, step.value.text);
        if (step.result == StepResult::ReadBackDiffers) ListSetItemText(kIdProfileTable, row, kOnDevice, step.detail);
    });
    // Rows the apply never reached say so too.
    for (const ApplyStep& step : report.steps) {
        if (step.result != StepResult::NotReached) continue;
        if (const int row = RowOf(step.name); row >= 0) ListSetItemText(kIdProfileTable, row, kOutcome, StepText(step));
    }
    FitColumns();
    SetDlgItemText(kIdProfileSummary, report.Ok() ? "The device now holds the profile."
                                                  : "Not all was applied: " + report.FirstFailure() +
                                                        ". Apply again to finish.");
    EnableDlgItem(kIdProfileApply, !report.Ok());
    WarnIfLeaveFailed(*this, report.left);
}

int CProfileDlg::RowOf(const std::string& name) const {
    for (int row = 0; row < ListGetItemCount(kIdProfileTable); ++row) {
        if (ListGetItemText(kIdProfileTable, row, kParameter) == name) return row;
    }
    return -1;
}

void CProfileDlg::FitColumns() {
    for (int column = 0; column < kColumns; ++column) ListFitColumn(kIdProfileTable, column);
}
