// The main window's start-up, the enabling of the parameter buttons, timer 1
// and the About box, driven through the real window offscreen.

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "app/AboutDlg.h"
#include "app/ConfigDlg.h"
#include "res/DialogTemplate.h"
#include "serial/SerialPort.h"
#include "widgets/MessageBox.h"

namespace {

constexpr std::array<int, 35> kParameterButtons = {
    1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 1018, 1019, 1020, 1021,
    1022, 1023, 1024, 1025, 1026, 1027, 1038, 1039, 1040, 1041, 1042, 1043,
    1044, 1045, 1046, 1049, 1050, 1052, 1064, 1065, 1067, 1068, 1069,
};

// A pseudo-terminal whose slave stands in for COM1.
class Pty {
public:
    Pty() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0)
            m_path = ptsname(m_master);
    }
    ~Pty() {
        if (m_master >= 0) close(m_master);
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;
    const std::string& path() const { return m_path; }

private:
    int m_master = -1;
    std::string m_path;
};

class AppShell : public ::testing::Test {
protected:
    void SetUp() override {
        g_serialPort.Close();
        g_portOpen = false;
        SetMessageBoxHook([this](const MessageBoxCall& call) {
            m_boxes.push_back(call);
            return 1;
        });
    }
    void TearDown() override {
        SetMessageBoxHook({});
        g_serialPort.Close();
        g_portOpen = false;
        qunsetenv("SENTRABUS_COM1");
    }
    std::vector<MessageBoxCall> m_boxes;
};

TEST_F(AppShell, StartsWithoutAPortReportingItOnceWithEveryParameterButtonDisabled) {
    qputenv("SENTRABUS_COM1", "/nonexistent/sentrabus-com1");
    CConfigDlg dlg;
    dlg.Create();

    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, "Serial port open failed");
    EXPECT_EQ(m_boxes[0].caption, "Serial prompt");
    EXPECT_EQ(m_boxes[0].icon, MsgIcon::Stop);
    EXPECT_FALSE(g_portOpen);
    EXPECT_EQ(g_mainDlg, &dlg);

    for (int id : kParameterButtons) EXPECT_FALSE(dlg.IsDlgItemEnabled(id)) << id;
    // The operator can still pick a port and search.
    EXPECT_TRUE(dlg.IsDlgItemEnabled(1000));
    EXPECT_TRUE(dlg.IsDlgItemEnabled(1001));
    EXPECT_EQ(dlg.ComboGetCurSel(1000), 0);
    EXPECT_EQ(dlg.windowTitle(), "485 Series transmitter configuration software V2.2");
}

TEST_F(AppShell, HiddenCurrentAndVoltageControlsStayHiddenWhenEnabled) {
    qputenv("SENTRABUS_COM1", "/nonexistent/sentrabus-com1");
    CConfigDlg dlg;
    dlg.Create();
    dlg.EnableControls(true);
    for (int id : {1018, 1019, 1028, 1029}) {
        ASSERT_NE(dlg.GetDlgItem(id), nullptr) << id;
        EXPECT_FALSE(dlg.GetDlgItem(id)->isVisibleTo(&dlg)) << id;
    }
    EXPECT_TRUE(dlg.IsDlgItemEnabled(1018));  // enabled with the others, still invisible
    EXPECT_FALSE(dlg.IsDlgItemEnabled(1028));
}

TEST_F(AppShell, EnableControlsSwitchesExactlyTheParameterButtons) {
    qputenv("SENTRABUS_COM1", "/nonexistent/sentrabus-com1");
    CConfigDlg dlg;
    dlg.Create();

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
    Pty pty;
    ASSERT_FALSE(pty.path().empty());
    qputenv("SENTRABUS_COM1", QByteArray::fromStdString(pty.path()));
    CConfigDlg dlg;
    dlg.Create();

    EXPECT_TRUE(m_boxes.empty());
    EXPECT_TRUE(g_portOpen);
    EXPECT_TRUE(g_serialPort.IsOpen());
    EXPECT_EQ(g_serialPort.Baud(), 4800u);
    EXPECT_EQ(g_serialPort.PortNumber(), 1);

    EXPECT_TRUE(dlg.TryEnterBusy());
    EXPECT_FALSE(dlg.TryEnterBusy());
    EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.m_busy == 0; }, 3000));
    EXPECT_TRUE(dlg.TryEnterBusy());
}

TEST_F(AppShell, AboutBoxOpensFromTheWindowMenu) {
    qputenv("SENTRABUS_COM1", "/nonexistent/sentrabus-com1");
    CConfigDlg dlg;
    dlg.Create();
    dlg.show();

    QString menuText;
    QString aboutTitle;
    // The menu and the box each run their own loop: act on them from timers.
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        for (QAction* action : menu->actions()) {
            if (action->isSeparator()) continue;
            menuText = action->text();
            QTimer::singleShot(50, [&] {
                auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
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

    EXPECT_EQ(menuText, QString::fromUtf8("关于 Halvane(&A)..."));
    EXPECT_EQ(aboutTitle, "About 485 series transmitter configuration software");
}

}  // namespace
