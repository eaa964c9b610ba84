#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "res/IdsConfig.h"
#include "res/IdsLcd.h"
#include "widgets/qt/AppFonts.h"
#include "widgets/DialogBase.h"

namespace {

TEST(MulDiv, RoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(13, 6, 4), 20);    // 19.5
    EXPECT_EQ(MulDiv(-13, 6, 4), -20);
    EXPECT_EQ(MulDiv(437, 16, 8), 874);
    EXPECT_EQ(MulDiv(5, 3, 4), 4);      // 3.75
    EXPECT_EQ(MulDiv(1, 1, 0), 0);
}

TEST(DialogLayout, TemplateFontIsSubstitutedEverywhere) {
    for (int id : {IDD_CONFIG_DIALOG, IDD_LCD_CONTROL}) {  // 宋体 and System
        CDialogBase dialog(id);
        dialog.Create();
        EXPECT_EQ(QFontInfo(dialog.font()).family(), QString::fromUtf8(kDialogFontFamily)) << id;
        const int buttonId = id == IDD_LCD_CONTROL ? kIdSetMode : kIdSearchDevice;
        EXPECT_EQ(QFontInfo(dialog.GetDlgItem(buttonId)->font()).family(), QString::fromUtf8(kDialogFontFamily));
    }
}

TEST(DialogLayout, MainWindowControlsSitAtTheirTemplateRectangles) {
    CDialogBase dialog(IDD_CONFIG_DIALOG);
    dialog.Create();

    // Base units measured from the window's own font, as the dialog manager
    // does; the height is the em, the cell height of the template's font.
    const QFontMetrics metrics(dialog.font());
    const int baseX = (metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 26 + 1) / 2;
    const int baseY = dialog.font().pixelSize();
    ASSERT_GT(baseY, 0);
    ASSERT_EQ(dialog.Units().baseX, baseX);
    ASSERT_EQ(dialog.Units().baseY, baseY);
    const auto px = [&](int x, int y, int cx, int cy) {
        return QRect(MulDiv(x, baseX, 4), MulDiv(y, baseY, 8), MulDiv(cx, baseX, 4), MulDiv(cy, baseY, 8));
    };

    EXPECT_EQ(dialog.size(), QSize(MulDiv(300, baseX, 4), MulDiv(437, baseY, 8)));
    struct Case {
        int id;
        QRect du;
    };
    const Case cases[] = {
        {kIdSearchDevice, {178, 6, 62, 21}},
        {kIdAddressField, {118, 33, 41, 13}},
        {kIdWriteAddress, {231, 33, 45, 13}},
        {kIdReadLight, {176, 150, 45, 13}},
        {kIdReadOutputDelay, {175, 191, 45, 13}},
        {kIdTemperatureAdjustField, {118, 366, 41, 13}},
        {kIdLcdControlMode, {177, 387, 113, 14}},
        {kIdWirelessParaSet, {177, 407, 114, 14}},
        {kIdReadCurrent, {267, 7, 15, 13}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dialog.GetDlgItem(c.id)->geometry(), px(c.du.x(), c.du.y(), c.du.width(), c.du.height())) << c.id;

    // A label, found by its text.
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text() == QStringLiteral("Remote Signal Normal Set:")) {
            // Centred on its template rectangle, tall enough for the font's line.
            const QRect du = px(10, 213, 101, 8);
            EXPECT_EQ(label->geometry().left(), du.left());
            EXPECT_EQ(label->geometry().width(), du.width());
            EXPECT_NEAR(label->geometry().center().y(), du.center().y(), 1);
            EXPECT_GE(label->geometry().height(), qMax(du.height(), metrics.height()));
            EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        }
    }
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("485 Series transmitter configuration software V2.2"));
    EXPECT_FALSE(dialog.windowIcon().isNull());
}

TEST(DialogLayout, ComboBoxesCloseToEditHeightAndDropTheirListHeight) {
    CDialogBase dialog(IDD_CONFIG_DIALOG);
    dialog.Create();
    const CDialogUnits& u = dialog.Units();
    struct Case {
        int id, x, y, cx, list;
    };
    for (const Case& c : {Case{kIdPortList, 118, 10, 40, 78}, Case{kIdRemoteSignalBox, 112, 211, 61, 50}}) {
        auto* combo = qobject_cast<QComboBox*>(dialog.GetDlgItem(c.id));
        ASSERT_NE(combo, nullptr);
        EXPECT_TRUE(combo->isEditable());
        EXPECT_EQ(combo->pos(), QPoint(u.X(c.x), u.Y(c.y)));
        EXPECT_EQ(combo->width(), u.X(c.cx));
        EXPECT_GE(combo->height(), u.Y(12));
        EXPECT_LE(combo->height(), u.Y(14));
        const int rows = (u.Y(c.list) - combo->height()) / combo->fontMetrics().height();
        EXPECT_EQ(combo->maxVisibleItems(), rows) << c.id;
    }
    EXPECT_EQ(dialog.ComboGetCount(kIdPortList), 30);
    auto* ports = qobject_cast<QComboBox*>(dialog.GetDlgItem(kIdPortList));
    EXPECT_EQ(ports->itemText(0), QStringLiteral("COM1"));
    EXPECT_EQ(ports->itemText(29), QStringLiteral("COM30"));
    auto* remote = qobject_cast<QComboBox*>(dialog.GetDlgItem(kIdRemoteSignalBox));
    EXPECT_EQ(remote->itemText(0), QStringLiteral("Normally Open"));
    EXPECT_EQ(remote->itemText(1), QStringLiteral("Normally Close"));
    EXPECT_EQ(dialog.ComboGetCurSel(kIdRemoteSignalBox), -1);
}

TEST(DialogLayout, PortListShowsItsLongestEntryWhole) {
    CDialogBase dialog(IDD_CONFIG_DIALOG);
    dialog.Create();
    dialog.ComboSetCurSel(kIdPortList, 29);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit* edit = qobject_cast<QComboBox*>(dialog.GetDlgItem(kIdPortList))->lineEdit();
    ASSERT_EQ(edit->text(), QStringLiteral("COM30"));
    // With the cursor after the last digit the first letter is still at the left edge.
    edit->end(false);
    EXPECT_EQ(edit->cursorPositionAt(QPoint(1, edit->height() / 2)), 0);
}

TEST(DialogLayout, HiddenControlsAreHiddenAndDisabled) {
    CDialogBase dialog(IDD_CONFIG_DIALOG);
    dialog.Create();
    dialog.show();
    for (int id : {kIdReadCurrent, kIdReadVoltage, kIdCurrentField, kIdVoltageField}) {
        EXPECT_FALSE(dialog.GetDlgItem(id)->isVisible()) << id;
        EXPECT_FALSE(dialog.GetDlgItem(id)->isEnabled()) << id;
    }
    EXPECT_EQ(dialog.GetDlgItemText(kIdReadCurrent), "查询");
    int hiddenLabels = 0;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text() != QStringLiteral("电流：") && label->text() != QStringLiteral("电压：")) continue;
        EXPECT_FALSE(label->isVisible());
        ++hiddenLabels;
    }
    EXPECT_EQ(hiddenLabels, 2);
    EXPECT_TRUE(dialog.GetDlgItem(kIdAddressField)->isVisible());
    EXPECT_EQ(dialog.GetDlgItem(kIdAddressField)->objectName(), QStringLiteral("ctl1012"));
}

TEST(DialogLayout, AboutBoxShowsTheIconAtSystemIconSize) {
    CDialogBase about(IDD_ABOUTBOX);
    about.Create();
    QLabel* icon = nullptr;
    for (QLabel* label : about.findChildren<QLabel*>())
        if (!label->pixmap().isNull()) icon = label;
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->pos(), QPoint(about.Units().X(11), about.Units().Y(17)));
    EXPECT_EQ(icon->size(), QSize(32, 32));  // 96 DPI
    auto* confirm = qobject_cast<QPushButton*>(about.GetDlgItem(IDOK));
    ASSERT_NE(confirm, nullptr);
    EXPECT_TRUE(confirm->isDefault());
    EXPECT_EQ(confirm->text(), QStringLiteral("Confirm"));
}

}  // namespace
