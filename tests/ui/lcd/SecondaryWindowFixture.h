#pragma once
// The main window fixture with what the secondary windows' tests need: the
// window built from the main window's member as a modal opening would build
// it, clicks on its controls (direct, or queued behind a running exchange),
// the operator's choice in a combo box, and a scripted device on COM1.
// Header-only, so that the light window's tests can use it too.

#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QTimer>

#include "ScriptedDevice.h"
#include "support/MainWindowFixture.h"
#include "widgets/DialogBase.h"

class SecondaryWindowFixture : public MainWindowFixture {
protected:
    // Builds the window's controls afresh and runs its initialisation, as each
    // modal opening does first, and shows it offscreen.
    static void Open(CDialogBase& window) {
        window.Create();
        window.show();
        QApplication::processEvents();
    }

    static void ClickOn(CDialogBase& window, int id) {
        window.ClickDlgItem(id);
        QApplication::processEvents();
    }

    // A click that arrives while the window thread is busy: it waits in the
    // event queue until the running handler has returned.
    static void PostClickOn(CDialogBase& window, int id) {
        QWidget* item = window.GetDlgItem(id);
        ASSERT_NE(item, nullptr);
        const QPointF local = QRectF(item->rect()).center();
        const QPointF global = item->mapToGlobal(local);
        const QPointingDevice* mouse = QPointingDevice::primaryPointingDevice();
        QApplication::postEvent(item, new QMouseEvent(QEvent::MouseButtonPress, local, global, Qt::LeftButton,
                                                      Qt::LeftButton, Qt::NoModifier, mouse));
        QApplication::postEvent(item, new QMouseEvent(QEvent::MouseButtonRelease, local, global,
                                                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier, mouse));
    }

    // The operator picks entry `index` of a combo box.
    static void Choose(CDialogBase& window, int id, int index) {
        auto* combo = qobject_cast<QComboBox*>(window.GetDlgItem(id));
        ASSERT_NE(combo, nullptr);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        QApplication::processEvents();
    }

    // Clicks `button` of the main window, which opens `window` modally, runs
    // `inside` once the window is up and then closes it again.
    void WhileOpenedBy(int button, CDialogBase& window, const std::function<void()>& inside) {
        bool ran = false;
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [&] {
            if (!window.isVisible()) return;
            poll->stop();
            inside();
            ran = true;
            window.done(0);
        });
        poll->start(10);
        Click(button);
        delete poll;
        EXPECT_TRUE(ran) << "the window did not open";
    }

    // A scripted device on COM1 and the main window opened on it (the start-up
    // opens COM1), with the device address taken as `address`; no search.
    CScriptedDevice& OpenOnScriptedDevice(CScriptedDevice::Script script, std::uint8_t address = 1) {
        m_scripted = std::make_unique<CScriptedDevice>(std::move(script));
        qputenv("SENTRABUS_COM1", QByteArray::fromStdString(m_scripted->SlavePath()));
        OpenMainWindow();
        Dlg().m_devAddress = address;
        return *m_scripted;
    }

    void TearDown() override {
        MainWindowFixture::TearDown();  // closes the port before the device goes
        m_scripted.reset();
    }

private:
    std::unique_ptr<CScriptedDevice> m_scripted;
};
