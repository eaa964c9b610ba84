#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "WidgetTestSupport.h"
#include "widgets/DialogBase.h"

namespace {

using namespace testdlg;

struct CShownDialog {
    CDialogBase dialog{kTemplate};
    int goClicks = 0;
    CShownDialog() {
        dialog.OnCommand(kGo, [this] { ++goClicks; });
        dialog.Create();
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    // The widget that takes the keys of control `id`.
    QWidget* KeyTarget(int id) {
        QWidget* widget = dialog.GetDlgItem(id);
        if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit()) return combo->lineEdit();
        return widget;
    }
    void Press(int focusId, Qt::Key key) {
        dialog.GetDlgItem(focusId)->setFocus();
        QTest::keyClick(KeyTarget(focusId), key);
    }
};

TEST(DialogKeyboard, EnterAndEscapeCloseAsOkAndCancel) {
    struct Case {
        int focus;
        Qt::Key key;
        int result;
    };
    const Case cases[] = {
        {kEdit, Qt::Key_Return, IDOK},   {kEdit, Qt::Key_Enter, IDOK},
        {kDropDown, Qt::Key_Return, IDOK}, {kEdit, Qt::Key_Escape, IDCANCEL},
        {kDropDown, Qt::Key_Escape, IDCANCEL}, {kGo, Qt::Key_Escape, IDCANCEL},
    };
    for (const Case& c : cases) {
        CShownDialog shown;
        shown.Press(c.focus, c.key);
        EXPECT_FALSE(shown.dialog.isVisible()) << c.focus << " " << c.key;
        EXPECT_EQ(shown.dialog.result(), c.result) << c.focus << " " << c.key;
        EXPECT_EQ(shown.goClicks, 0);
    }
}

TEST(DialogKeyboard, EnterOnAFocusedButtonClicksIt) {
    CShownDialog shown;
    shown.Press(kGo, Qt::Key_Return);
    EXPECT_EQ(shown.goClicks, 1);
    EXPECT_TRUE(shown.dialog.isVisible());
}

TEST(DialogKeyboard, CloseBoxAndOkGoThroughTheMessageMap) {
    CShownDialog shown;
    int okCommands = 0, cancelCommands = 0;
    shown.dialog.OnCommand(IDOK, [&] { ++okCommands; });
    shown.dialog.OnCommand(IDCANCEL, [&] { ++cancelCommands; });
    shown.Press(kEdit, Qt::Key_Return);
    shown.dialog.close();
    EXPECT_EQ(okCommands, 1);
    EXPECT_EQ(cancelCommands, 1);
    EXPECT_TRUE(shown.dialog.isVisible()) << "the handlers chose not to close";
}

TEST(DialogKeyboard, EnterGoesToTheDefaultButtonWhenThereIsOne) {
    CDialogBase about(IDD_ABOUTBOX);
    about.Create();
    about.show();
    QTest::keyClick(&about, Qt::Key_Return);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), IDOK);

    about.Create();
    about.show();
    about.EnableDlgItem(IDOK, false);
    QTest::keyClick(&about, Qt::Key_Return);
    EXPECT_TRUE(about.isVisible()) << "a disabled default button takes no Enter";
}

TEST(DialogKeyboard, TabOrderIsTemplateOrderAndSkipsHiddenControls) {
    CShownDialog shown;
    shown.dialog.GetDlgItem(kEdit)->setFocus();
    QStringList visited;
    for (int i = 0; i < 5; ++i) {
        QWidget* focus = shown.dialog.focusWidget();
        if (focus && !focus->objectName().startsWith(u"ctl")) focus = focus->parentWidget();  // a combo's edit
        visited << (focus ? focus->objectName() : QStringLiteral("-"));
        QTest::keyClick(shown.dialog.focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited, (QStringList{"ctl11", "ctl12", "ctl13", "ctl14", "ctl15"}));
    EXPECT_EQ(shown.dialog.focusWidget()->objectName(), QStringLiteral("ctl11")) << "wraps, skipping ctl16";
}

}  // namespace
