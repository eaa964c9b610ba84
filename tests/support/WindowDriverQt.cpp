#include "WindowDriver.h"

#include <stdexcept>

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "PostedClick.h"

void OpenForTest(CDialogBase& window) {
    window.Create();
    window.show();
    QApplication::processEvents();
}

void PumpEvents(std::chrono::milliseconds duration) {
    if (duration.count() > 0) QTest::qWait(static_cast<int>(duration.count()));
    QApplication::processEvents();
}

void ChooseComboEntry(CDialogBase& dlg, int id, int index) {
    auto* combo = qobject_cast<QComboBox*>(dlg.GetDlgItem(id));
    if (!combo) throw std::logic_error("no such combo box");
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    QApplication::processEvents();
}

void DoubleClickListRow(CDialogBase& dlg, int id, int row) {
    auto* list = qobject_cast<QTreeWidget*>(dlg.GetDlgItem(id));
    QTreeWidgetItem* item = list ? list->topLevelItem(row) : nullptr;
    if (!item) throw std::logic_error("no such row");
    // Press, release, double-click, release: the events a window system
    // gives for two clicks in quick succession.
    QWidget* area = list->viewport();
    const QPointF local = list->visualItemRect(item).center();
    const QPointF global = area->mapToGlobal(local);
    const QPointingDevice* mouse = QPointingDevice::primaryPointingDevice();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                                    QEvent::MouseButtonRelease}) {
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent event(type, local, global, Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier,
                          mouse);
        QApplication::sendEvent(area, &event);
    }
    QApplication::processEvents();
}

std::function<void()> ClickPoster(CDialogBase& dlg, int id) {
    QWidget* item = dlg.GetDlgItem(id);
    if (!item) throw std::logic_error("no such control");
    return MouseClickPoster(item);
}

bool WhileOpenedBy(const std::function<void()>& open, CDialogBase& window, const std::function<void()>& inside) {
    bool ran = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!window.isVisible()) return;
        poll.stop();
        inside();
        ran = true;
        window.EndDialog(IDCANCEL);
    });
    poll.start(10);
    open();
    return ran;
}
