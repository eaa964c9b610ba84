// The window's life: construction, opening, the keyboard, timers and the
// dispatch of handlers.

#include "DialogBaseQt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QTreeWidget>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTimerEvent>
#include <QWindow>

#include "widgets/InputHold.h"
#include "res/Resources.h"

namespace {

// Stands in for a template id that the table does not have, so that a
// misnumbered window comes up empty instead of failing.
const DlgTemplate kMissingTemplate = {0, "", 100, 50, "宋体", 9, {}};

// Windows makes shorter timers this long.
constexpr int kMinimumTimerMs = 10;

// The dialog of ours whose handler opens `dialog`: the topmost modal window,
// or the active one, when it is one of our dialogs. Never a window of another
// kind (the frame log, its file dialog), which must not end up beneath it.
QWidget* OpeningDialog(const CDialogBase* dialog) {
    for (QWidget* candidate : {QApplication::activeModalWidget(), QApplication::activeWindow()}) {
        if (!candidate) continue;
        QWidget* window = candidate->window();
        if (window != dialog && qobject_cast<CDialogBase*>(window)) return window;
    }
    return nullptr;
}

const DlgTemplate& TemplateOrMissing(int templateId) {
    if (const DlgTemplate* found = FindDialogTemplate(templateId)) return *found;
    qWarning("dialog template %d does not exist", templateId);
    return kMissingTemplate;
}

}  // namespace

CDialogBase::CDialogBase(int templateId, CDialogBase* owner)
    : CDialogBase(TemplateOrMissing(templateId), owner) {
    m_templateId = templateId;
}

CDialogBase::CDialogBase(const DlgTemplate& tmpl, CDialogBase* owner)
    : QDialog(owner), m_templateId(tmpl.id), m_template(&tmpl) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (tmpl.minimizeBox) flags |= Qt::WindowMinimizeButtonHint;
    setWindowFlags(flags);
}

CDialogBase::~CDialogBase() {
    KillAllTimers();
    // Replacements belong to their owners, not to the window's children.
    DetachReplacements();
}

void CDialogBase::Create() {
    BuildControls();
    bool focusFirst = true;
    Dispatch([this, &focusFirst] { focusFirst = OnInitDialog(); });
    if (focusFirst) FocusFirstTabStop();
}

int CDialogBase::DoModal() {
    // The window gets a hold level of its own: its input is its own even when
    // the handler that opens it has held input of the window beneath.
    CInputHold::ModalScope modal;
    Create();

    // Kept above the window that opened it, as the owner of a Windows dialog.
    QWindow* owner = nullptr;
    if (!parentWidget()) {
        if (QWidget* opener = OpeningDialog(this)) {
            createWinId();
            owner = opener->windowHandle();
            if (windowHandle() && owner) windowHandle()->setTransientParent(owner);
        }
    }

    // Modal to the windows beneath it only, as a Windows dialog is to its
    // owner: a window of the program that is not beneath it (the frame log)
    // stays usable.
    setWindowModality(Qt::WindowModal);
    const int result = exec();

    if (owner && windowHandle()) windowHandle()->setTransientParent(nullptr);
    // The window's timers die with it.
    KillAllTimers();
    return result;
}

void CDialogBase::EndDialog(int result) { done(result); }

void CDialogBase::done(int result) {
    // Closing the window sends it a close event of its own, which is part of
    // this ending and not input to hold back.
    const bool wasEnding = m_ending;
    m_ending = true;
    OnDestroy();
    QDialog::done(result);
    m_ending = wasEnding;
}

void CDialogBase::FocusFirstTabStop() {
    for (QWidget* control : m_controls) {
        if (control->isVisibleTo(this) && control->isEnabled() &&
            (control->focusPolicy() & Qt::TabFocus)) {
            control->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void CDialogBase::ConnectControl(const DlgItem& item, QWidget* widget) {
    const int id = item.id;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        connect(button, &QAbstractButton::clicked, this, [this, id] { RunCommand(id); });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // activated: the operator's choice only, not a selection set in code.
        connect(combo, &QComboBox::activated, this, [this, id] {
            m_messageMap.RunSelChange(id);
        });
    } else if (auto* list = qobject_cast<QTreeWidget*>(widget)) {
        connect(list, &QTreeWidget::itemDoubleClicked, this, [this, id, list](QTreeWidgetItem* item) {
            m_messageMap.RunListDblClk(id, list->indexOfTopLevelItem(item));
        });
    }
}

void CDialogBase::PostCommand(int id) {
    QMetaObject::invokeMethod(this, [this, id] { RunCommand(id); }, Qt::QueuedConnection);
}

void CDialogBase::ClickDlgItem(int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id))) button->click();
}

// The close box and Esc.
void CDialogBase::reject() { RunCommand(IDCANCEL); }

// Enter goes to the focused push button; elsewhere to the default button, or
// to IDOK when the window has none.
void CDialogBase::PressEnter() {
    if (auto* focused = qobject_cast<QPushButton*>(focusWidget()); focused && isAncestorOf(focused)) {
        focused->click();
        return;
    }
    if (m_defaultButtonId != 0) {
        ClickDlgItem(m_defaultButtonId);  // nothing when it is disabled
        return;
    }
    RunCommand(IDOK);
}

void CDialogBase::keyPressEvent(QKeyEvent* event) {
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        switch (event->key()) {
            case Qt::Key_Escape:
                RunCommand(IDCANCEL);
                return;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                PressEnter();
                return;
            default: break;
        }
    }
    QDialog::keyPressEvent(event);
}

// Without entries the event goes on to the window's parent, as before there
// was a menu.
void CDialogBase::contextMenuEvent(QContextMenuEvent* event) {
    if (m_systemMenu.empty()) {
        QDialog::contextMenuEvent(event);
        return;
    }
    QMenu menu(this);
    menu.addSeparator();
    for (const auto& [command, text] : m_systemMenu)
        menu.addAction(QString::fromStdString(text))->setData(command);
    if (QAction* chosen = menu.exec(event->globalPos())) OnSysCommand(chosen->data().toInt());
}

void CDialogBase::AddSystemMenuItem(int command, std::string_view text) {
    m_systemMenu.emplace_back(command, std::string(text));
}

void CDialogBase::SetIcon(int iconId) { setWindowIcon(LoadAppIcon(iconId)); }

void CDialogBase::SetTimer(int timerId, int milliseconds) {
    KillTimer(timerId);
    const int qtId = startTimer(qMax(milliseconds, kMinimumTimerMs));
    if (qtId != 0) m_timers[timerId] = qtId;
}

void CDialogBase::KillTimer(int timerId) {
    const auto timer = m_timers.find(timerId);
    if (timer == m_timers.end()) return;
    killTimer(timer->second);
    m_timers.erase(timer);
    CInputHold::ForgetTimer(this, timerId);
}

void CDialogBase::KillAllTimers() {
    while (!m_timers.empty()) KillTimer(m_timers.begin()->first);
}

void CDialogBase::timerEvent(QTimerEvent* event) {
    for (const auto& [timerId, qtId] : m_timers) {
        if (qtId != event->timerId()) continue;
        const int id = timerId;
        if (!CInputHold::DeferTimer(this, id)) RunTimer(id);
        return;
    }
    QDialog::timerEvent(event);
}

void CDialogBase::RunTimer(int timerId) {
    if (m_timers.count(timerId)) Dispatch([this, timerId] { OnTimer(timerId); });
}

int CDialogBase::MessageBox(std::string_view text, std::string_view caption, MsgIcon icon) {
    return ShowMessageBox(this, text, caption, icon);
}
