// The verbs that address a control by its id.

#include <algorithm>

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

#include "DialogBaseQt.h"
#include "widgets/DlgItemInt.h"

namespace {

bool IsSortedCombo(const DlgTemplate& tmpl, int id) {
    for (const DlgItem& item : tmpl.items) {
        if (item.id == id) return item.style & DlgStyle::Sort;
    }
    return false;
}

QString WidgetText(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
    return {};
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QWidget* CDialogBase::GetDlgItem(int id) const {
    const auto item = m_items.find(id);
    return item == m_items.end() ? nullptr : item->second;
}

QComboBox* CDialogBase::Combo(int id) const { return qobject_cast<QComboBox*>(GetDlgItem(id)); }

std::string CDialogBase::GetDlgItemText(int id) const { return WidgetText(GetDlgItem(id)).toStdString(); }

void CDialogBase::SetDlgItemText(int id, std::string_view utf8) {
    const QString text = FromUtf8(utf8);
    QWidget* widget = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);
        // The field shows the start of a long text, as a Windows edit does.
        edit->setCursorPosition(0);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable()) combo->setEditText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(text);
    }
}

int CDialogBase::GetDlgItemInt(int id, bool* translated, bool isSigned) const {
    const std::optional<int> value = ParseDlgItemInt(GetDlgItemText(id), isSigned);
    if (translated) *translated = value.has_value();
    return value.value_or(0);
}

void CDialogBase::EnableDlgItem(int id, bool enable) {
    if (QWidget* widget = GetDlgItem(id)) widget->setEnabled(enable);
}

bool CDialogBase::IsDlgItemEnabled(int id) const {
    QWidget* widget = GetDlgItem(id);
    return widget && widget->isEnabled();
}

void CDialogBase::ShowDlgItem(int id, bool show) {
    if (QWidget* widget = GetDlgItem(id)) widget->setVisible(show);
}

bool CDialogBase::IsDlgItemVisible(int id) const {
    QWidget* widget = GetDlgItem(id);
    return widget && widget->isVisibleTo(this);
}

void CDialogBase::CheckDlgButton(int id, bool checked) {
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id)); button && button->isCheckable())
        button->setChecked(checked);
}

bool CDialogBase::IsDlgButtonChecked(int id) const {
    auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id));
    return button && button->isChecked();
}

int CDialogBase::ComboGetCurSel(int id) const {
    const QComboBox* combo = Combo(id);
    return combo ? combo->currentIndex() : -1;
}

void CDialogBase::ComboSetCurSel(int id, int index) {
    QComboBox* combo = Combo(id);
    if (!combo) return;
    if (index < 0 || index >= combo->count()) {
        combo->setCurrentIndex(-1);
        if (combo->isEditable()) combo->setEditText(QString());
        return;
    }
    combo->setCurrentIndex(index);
    // Selecting the item that is already selected still puts its text back
    // into the edit part.
    if (combo->isEditable() && combo->currentText() != combo->itemText(index))
        combo->setEditText(combo->itemText(index));
}

int CDialogBase::ComboGetCount(int id) const {
    const QComboBox* combo = Combo(id);
    return combo ? combo->count() : 0;
}

void CDialogBase::ComboAddString(int id, std::string_view utf8) {
    const QString text = FromUtf8(utf8);
    QComboBox* combo = Combo(id);
    if (!combo) return;
    const int selected = combo->currentIndex();
    const QString editText = combo->currentText();

    int position = combo->count();
    if (IsSortedCombo(*m_template, id)) {
        // A sorted box keeps its entries in order, case ignored.
        position = 0;
        while (position < combo->count() &&
               combo->itemText(position).compare(text, Qt::CaseInsensitive) <= 0)
            ++position;
    }
    combo->insertItem(position, text);

    // Adding an entry never changes the selection (Qt selects the first entry
    // put into an empty box) nor the edit text.
    if (selected < 0) {
        combo->setCurrentIndex(-1);
        if (combo->isEditable()) combo->setEditText(editText);
    }
}

void CDialogBase::ComboResetContent(int id) {
    QComboBox* combo = Combo(id);
    if (!combo) return;
    combo->clear();
    if (combo->isEditable()) combo->setEditText(QString());
}

void CDialogBase::ComboSetItemTip(int id, int index, std::string_view tip) {
    QComboBox* combo = Combo(id);
    if (!combo || index < 0 || index >= combo->count()) return;
    combo->setItemData(index, FromUtf8(tip), Qt::ToolTipRole);
}

void CDialogBase::ProgressSetRange(int id, int low, int high) {
    if (auto* bar = qobject_cast<QProgressBar*>(GetDlgItem(id))) bar->setRange(low, std::max(low, high));
}

void CDialogBase::ProgressSetPos(int id, int position) {
    if (auto* bar = qobject_cast<QProgressBar*>(GetDlgItem(id)))
        bar->setValue(std::clamp(position, bar->minimum(), bar->maximum()));
}

int CDialogBase::ProgressGetPos(int id) const {
    const auto* bar = qobject_cast<const QProgressBar*>(GetDlgItem(id));
    return bar ? bar->value() : 0;
}
