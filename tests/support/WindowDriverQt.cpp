#include "WindowDriver.h"

#include <stdexcept>

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QTimer>

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
