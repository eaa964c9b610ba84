// Controls of a window replaced by widgets of the window's own classes: what
// attaching a window class to a dialog control does.

#include <algorithm>

#include <QAbstractButton>

#include "DialogBaseQt.h"

const DlgItem* CDialogBase::FindTemplateItem(int id) const {
    for (const DlgItem& item : m_template->items) {
        if (item.id == id) return &item;
    }
    return nullptr;
}

bool CDialogBase::ReplaceDlgItem(int id, QWidget& replacement) {
    const DlgItem* item = FindTemplateItem(id);
    QWidget* old = GetDlgItem(id);
    if (!item || !old || old == &replacement) return false;
    const auto slot = std::find(m_controls.begin(), m_controls.end(), old);
    if (slot == m_controls.end()) return false;
    if (std::find(m_controls.begin(), m_controls.end(), &replacement) != m_controls.end()) return false;

    replacement.setParent(this);
    replacement.setObjectName(old->objectName());
    replacement.setGeometry(old->geometry());
    replacement.setFocusPolicy(old->focusPolicy());
    replacement.setToolTip(old->toolTip());
    auto* oldButton = qobject_cast<QAbstractButton*>(old);
    auto* newButton = qobject_cast<QAbstractButton*>(&replacement);
    if (oldButton && newButton) newButton->setText(oldButton->text());
    replacement.setEnabled(old->isEnabled());
    replacement.setHidden(old->isHidden());

    *slot = &replacement;
    m_items[id] = &replacement;
    if (m_replacements.insert(&replacement).second) {
        // An owner may destroy its widget before the window.
        connect(&replacement, &QObject::destroyed, this, [this](QObject* gone) {
            auto* widget = static_cast<QWidget*>(gone);
            m_replacements.erase(widget);
            std::erase(m_controls, widget);
            std::erase_if(m_items, [widget](const auto& entry) { return entry.second == widget; });
        });
    }
    ConnectControl(*item, &replacement);
    delete old;
    PlaceInTabOrder(replacement);
    return true;
}

void CDialogBase::DetachReplacements() {
    for (QWidget* widget : m_replacements) {
        disconnect(widget, nullptr, this, nullptr);
        widget->hide();
        widget->setParent(nullptr);
        std::erase(m_controls, widget);
        std::erase_if(m_items, [widget](const auto& entry) { return entry.second == widget; });
    }
    m_replacements.clear();
}

// A widget that joins the window comes last in the tab order; it moves to
// where the template puts it.
void CDialogBase::PlaceInTabOrder(QWidget& widget) {
    QWidget* previous = nullptr;
    for (QWidget* control : m_controls) {
        if (control == &widget) break;
        if (control->focusPolicy() != Qt::NoFocus) previous = control;
    }
    if (previous) {
        setTabOrder(previous, &widget);
    } else {
        RestoreTabOrder();
    }
}

void CDialogBase::RestoreTabOrder() {
    QWidget* previous = nullptr;
    for (QWidget* control : m_controls) {
        if (control->focusPolicy() == Qt::NoFocus) continue;
        if (previous) setTabOrder(previous, control);
        previous = control;
    }
}
