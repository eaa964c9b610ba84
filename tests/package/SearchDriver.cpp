// Preloaded (LD_PRELOAD) into the installed program by check-deb.sh: once the
// main window is up it presses "Search Device" as the operator would, prints
// the box the search ends with ("search result: <text>") and closes the
// program. The program itself is the one the package installed, untouched.

#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kTickMs = 100;
constexpr int kGiveUpTicks = 300;

void Report(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

void CloseTheProgram() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible()) dialog->reject();
    }
}

// The ticks also come while the search waits for replies and while its box is
// up (the windows keep processing events then), so the box is found inside
// the search.
void Drive() {
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [timer, pressed = false, ticks = 0]() mutable {
        if (++ticks > kGiveUpTicks) {
            Report("search driver: no search result");
            std::_Exit(3);
        }
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            timer->stop();
            Report("search result: " + box->text());
            box->accept();
            QTimer::singleShot(kTickMs, CloseTheProgram);
            return;
        }
        if (pressed) return;
        for (QWidget* widget : QApplication::allWidgets()) {
            auto* button = qobject_cast<QPushButton*>(widget);
            if (button && button->text() == "Search Device" && button->isVisible() && button->isEnabled()) {
                pressed = true;
                // Queued: a timer does not fire again while its own handler
                // runs, and the search runs inside the click.
                QMetaObject::invokeMethod(button, &QPushButton::click, Qt::QueuedConnection);
                return;
            }
        }
    });
    timer->start(kTickMs);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(Drive)
