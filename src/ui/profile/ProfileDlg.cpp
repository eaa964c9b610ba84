#include "ProfileDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "widgets/WaitCursor.h"

namespace {

QString Qs(const std::string& text) { return QString::fromStdString(text); }

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QString DeviceText(const SettingState& state) {
    if (!state.readable) return QStringLiteral("(not reported)");
    if (!state.onDevice) return QStringLiteral("(%1)").arg(Qs(state.readOutcome.Text()));
    return Qs(*state.onDevice);
}

}  // namespace

CProfileDlg::CProfileDlg(CDeviceSession& session, Profile profile, const QString& fileName, QWidget* parent)
    : QDialog(parent), m_session(session), m_profile(std::move(profile)) {
    setWindowTitle(QStringLiteral("Apply profile %1").arg(fileName));
    auto* layout = new QVBoxLayout(this);
    m_summary = new QLabel(this);
    layout->addWidget(m_summary);
    m_table = new QTableWidget(0, kColumns, this);
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("Parameter"), QStringLiteral("On the device"), QStringLiteral("In the profile"),
         QStringLiteral("Outcome")});
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(m_table);
    auto* buttons = new QDialogButtonBox(this);
    m_apply = buttons->addButton(QStringLiteral("Apply"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Close);
    layout->addWidget(buttons);
    // Apply keeps the window open to show the outcomes; Close ends it.
    connect(m_apply, &QPushButton::clicked, this, &CProfileDlg::Apply);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(560, 360);
}

int CProfileDlg::RowOf(const std::string& name) const {
    const QString text = Qs(name);
    for (int row = 0; row < m_table->rowCount(); ++row) {
        if (m_table->item(row, kParameter)->text() == text) return row;
    }
    return -1;
}

void CProfileDlg::Compare() {
    CWaitCursor wait;
    std::string failure;
    const std::vector<SettingState> states = DiffProfile(m_session, m_profile, &failure);
    m_table->setRowCount(static_cast<int>(states.size()));
    int differing = 0;
    for (int row = 0; row < static_cast<int>(states.size()); ++row) {
        const SettingState& state = states[static_cast<std::size_t>(row)];
        m_table->setItem(row, kParameter, Cell(Qs(state.name)));
        m_table->setItem(row, kOnDevice, Cell(DeviceText(state)));
        m_table->setItem(row, kInProfile, Cell(Qs(state.inProfile)));
        m_table->setItem(row, kOutcome, Cell(state.Differs() ? QStringLiteral("to write") : QStringLiteral("same")));
        if (state.Differs()) ++differing;
    }
    m_table->resizeColumnsToContents();
    if (!failure.empty()) {
        m_summary->setText(QStringLiteral("The device could not be compared: %1").arg(Qs(failure)));
    } else {
        m_summary->setText(QStringLiteral("%1 of %2 settings differ from the profile; nothing has been written yet.")
                               .arg(differing)
                               .arg(states.size()));
    }
    m_apply->setEnabled(failure.empty() && differing > 0);
}

void CProfileDlg::Apply() {
    m_apply->setEnabled(false);
    CWaitCursor wait;
    const ApplyReport report = ApplyProfile(m_session, m_profile, /*dryRun=*/false, [this](const ApplyStep& step) {
        const int row = RowOf(step.name);
        if (row < 0) return;
        m_table->item(row, kOutcome)->setText(Qs(StepText(step)));
        // What the device holds now, as read back.
        if (step.result == StepResult::Verified) m_table->item(row, kOnDevice)->setText(Qs(step.value));
        if (step.result == StepResult::ReadBackDiffers) m_table->item(row, kOnDevice)->setText(Qs(step.detail));
    });
    // Rows the apply never reached say so too.
    for (const ApplyStep& step : report.steps) {
        if (step.result == StepResult::NotReached) {
            if (const int row = RowOf(step.name); row >= 0) m_table->item(row, kOutcome)->setText(Qs(StepText(step)));
        }
    }
    m_table->resizeColumnsToContents();
    m_summary->setText(report.Ok() ? QStringLiteral("The device now holds the profile.")
                                   : QStringLiteral("Not all was applied: %1. Apply again to finish.")
                                         .arg(Qs(report.FirstFailure())));
    m_apply->setEnabled(!report.Ok());
}
