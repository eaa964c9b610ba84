// The report-list verbs and the window's caption on Qt dialogs.

#include <algorithm>

#include <QHeaderView>
#include <QTreeWidget>

#include "DialogBaseQt.h"

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QTreeWidget* CDialogBase::List(int id) const { return qobject_cast<QTreeWidget*>(GetDlgItem(id)); }

void CDialogBase::ListAddColumn(int id, std::string_view heading, int width) {
    QTreeWidget* list = List(id);
    if (!list) return;
    const int column = list->columnCount();
    list->setColumnCount(column + 1);
    list->headerItem()->setText(column, FromUtf8(heading));
    list->setColumnWidth(column, m_units.X(width));
}

int CDialogBase::ListInsertItem(int id, int row, std::string_view text) {
    QTreeWidget* list = List(id);
    if (!list || row < 0) return -1;
    row = std::min(row, list->topLevelItemCount());
    auto* item = new QTreeWidgetItem;
    item->setText(0, FromUtf8(text));
    list->insertTopLevelItem(row, item);  // the list owns the row
    return row;
}

void CDialogBase::ListSetItemText(int id, int row, int column, std::string_view text) {
    QTreeWidget* list = List(id);
    if (!list || column < 0 || column >= list->columnCount()) return;
    if (QTreeWidgetItem* item = list->topLevelItem(row)) item->setText(column, FromUtf8(text));
}

std::string CDialogBase::ListGetItemText(int id, int row, int column) const {
    const QTreeWidget* list = List(id);
    if (!list || column < 0 || column >= list->columnCount()) return {};
    const QTreeWidgetItem* item = list->topLevelItem(row);
    return item ? item->text(column).toStdString() : std::string();
}

int CDialogBase::ListGetItemCount(int id) const {
    const QTreeWidget* list = List(id);
    return list ? list->topLevelItemCount() : 0;
}

void CDialogBase::ListDeleteAllItems(int id) {
    if (QTreeWidget* list = List(id)) list->clear();
}

void CDialogBase::ListFitColumn(int id, int column) {
    QTreeWidget* list = List(id);
    if (!list || column < 0 || column >= list->columnCount()) return;
    // The cells' widest text, or the heading's when that is wider.
    list->resizeColumnToContents(column);
    const int heading = list->header()->sectionSizeHint(column);
    if (list->columnWidth(column) < heading) list->setColumnWidth(column, heading);
}

int CDialogBase::ListGetSelectedRow(int id) const {
    const QTreeWidget* list = List(id);
    if (!list) return -1;
    // The first selected row in the list's order, as LVNI_SELECTED finds it.
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        if (list->topLevelItem(row)->isSelected()) return row;
    }
    return -1;
}

void CDialogBase::ListSelectRow(int id, int row) {
    QTreeWidget* list = List(id);
    if (!list) return;
    list->clearSelection();
    if (QTreeWidgetItem* item = list->topLevelItem(row)) {
        list->setCurrentItem(item);
        item->setSelected(true);
    }
}

void CDialogBase::SetWindowCaption(std::string_view text) { setWindowTitle(FromUtf8(text)); }

std::string CDialogBase::GetWindowCaption() const { return windowTitle().toStdString(); }
