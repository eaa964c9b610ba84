// The main window's start-up, the enabling of the parameter buttons, timer 1
// and the About box, driven through the real window offscreen.

#include <array>
#include <set>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "app/AboutDlg.h"
#include "app/CaretRestQt.h"
#include "res/DialogTemplate.h"
#include "serial/SerialPort.h"
#include "support/MainWindowFixture.h"

namespace {

class AppShell : public MainWindowFixture {};

TEST_F(AppShell, StartsWithoutAPortReportingItOnceWithEveryParameterButtonDisabled) {
    CConfigDlg& dlg = OpenMainWindow();

    const MessageBoxCall box = OnlyBox();
    EXPECT_EQ(box.text, "Serial port open failed");
    EXPECT_EQ(box.caption, "Serial prompt");
    EXPECT_EQ(box.icon, MsgIcon::Stop);
    EXPECT_FALSE(g_portOpen);
    EXPECT_EQ(g_mainDlg, &dlg);

    for (int id : kParameterButtons) EXPECT_FALSE(dlg.IsDlgItemEnabled(id)) << id;
    // The operator can still pick a port and search.
    EXPECT_TRUE(dlg.IsDlgItemEnabled(kIdPortList));
    EXPECT_TRUE(dlg.IsDlgItemEnabled(kIdSearchDevice));
    EXPECT_EQ(dlg.ComboGetCurSel(kIdPortList), 0);
    EXPECT_EQ(dlg.windowTitle(), "485 Series transmitter configuration software V2.2");
}

TEST_F(AppShell, HiddenCurrentAndVoltageControlsStayHiddenWhenEnabled) {
    CConfigDlg& dlg = OpenMainWindow();
    dlg.EnableControls(true);
    for (int id : {kIdReadCurrent, kIdReadVoltage, kIdCurrentField, kIdVoltageField}) {
        ASSERT_NE(dlg.GetDlgItem(id), nullptr) << id;
        EXPECT_FALSE(dlg.GetDlgItem(id)->isVisibleTo(&dlg)) << id;
    }
    EXPECT_TRUE(dlg.IsDlgItemEnabled(kIdReadCurrent));  // enabled with the others, still invisible
    EXPECT_FALSE(dlg.IsDlgItemEnabled(kIdCurrentField));
}

TEST_F(AppShell, EnableControlsSwitchesExactlyTheParameterButtons) {
    CConfigDlg& dlg = OpenMainWindow();

    const DlgTemplate* tpl = FindDialogTemplate(CConfigDlg::kTemplateId);
    ASSERT_NE(tpl, nullptr);
    auto enabledIds = [&] {
        std::set<int> ids;
        for (const DlgItem& item : tpl->items)
            if (item.id > 0 && dlg.IsDlgItemEnabled(item.id)) ids.insert(item.id);
        return ids;
    };
    const std::set<int> before = enabledIds();
    dlg.EnableControls(true);
    const std::set<int> after = enabledIds();

    std::set<int> switched;
    for (int id : after)
        if (!before.count(id)) switched.insert(id);
    EXPECT_EQ(switched, std::set<int>(kParameterButtons.begin(), kParameterButtons.end()));

    dlg.EnableControls(false);
    EXPECT_EQ(enabledIds(), before);
}

TEST_F(AppShell, OpensComOneAt4800AndTimerOneClearsTheBusyFlag) {
    StartDevice({.kind = sim::DeviceKind::Th, .address = 1, .baud = 2400});
    CConfigDlg& dlg = OpenMainWindow();

    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(g_portOpen);
    EXPECT_TRUE(g_serialPort.IsOpen());
    EXPECT_EQ(g_serialPort.Baud(), 4800u);
    EXPECT_EQ(g_serialPort.PortNumber(), 1);

    EXPECT_TRUE(dlg.TryEnterBusy());
    EXPECT_FALSE(dlg.TryEnterBusy());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg.Busy().IsSet(); }, 3000));
    EXPECT_TRUE(dlg.TryEnterBusy());
}

TEST_F(AppShell, AboutBoxOpensFromTheWindowMenu) {
    CConfigDlg& dlg = OpenMainWindow();

    QStringList menuTexts;  // "-" for a separator
    QString aboutTitle;
    // The menu and the box each run their own loop: act on them from timers.
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        for (QAction* action : menu->actions()) menuTexts << (action->isSeparator() ? "-" : action->text());
        for (QAction* action : menu->actions()) {
            if (action->isSeparator()) continue;
            QTimer::singleShot(50, [&] {
                auto* about = dynamic_cast<CAboutDlg*>(QApplication::activeModalWidget());
                if (!about) return;
                aboutTitle = about->windowTitle();
                about->ClickDlgItem(1);  // "Confirm"
            });
            menu->setActiveAction(action);
            QTest::keyClick(menu, Qt::Key_Return);
            return;
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), dlg.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&dlg, &event);
    QTest::qWait(300);

    EXPECT_EQ(menuTexts, QStringList({"-", QString::fromUtf8("关于 Halvane(&A)..."), "Frame log...", "Monitor...",
                                      "Scan bus...", "Save profile...", "Apply profile..."}));
    EXPECT_EQ(aboutTitle, "About 485 series transmitter configuration software");
}

}  // namespace

// The caret stops blinking once the technician has done nothing for a while,
// blinks again at the next key, and blinks as the platform had it once the
// application ends.
TEST(CaretRest, StillAfterTheRestBlinkingAgainOnInput) {
    const int platform = QApplication::cursorFlashTime();
    ASSERT_GT(platform, 0);
    QWidget window;
    {
        CCaretRest rest(std::chrono::milliseconds(30));
        for (int i = 0; i < 1000 && QApplication::cursorFlashTime() != 0; ++i) QTest::qWait(10);
        EXPECT_EQ(QApplication::cursorFlashTime(), 0);
        QTest::keyClick(&window, Qt::Key_A);
        EXPECT_EQ(QApplication::cursorFlashTime(), platform);
        for (int i = 0; i < 1000 && QApplication::cursorFlashTime() != 0; ++i) QTest::qWait(10);
        EXPECT_EQ(QApplication::cursorFlashTime(), 0);
    }
    EXPECT_EQ(QApplication::cursorFlashTime(), platform);
}
