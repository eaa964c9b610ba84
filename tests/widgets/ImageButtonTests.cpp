// The image button attached to template controls of a small window: colour
// states, hover tracking, clicks, check-box mode, the default button and what
// disabling and a palette change do.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include "widgets/DialogBase.h"
#include "widgets/ImageButton.h"

namespace {

constexpr int kEdit = 20, kPlain = 21, kAfter = 22, kDefault = 23, kCheck = 24;

constexpr DlgItem kItems[] = {
    {kEdit, DlgItemKind::Edit, "", 4, 4, 40, 12, DlgStyle::Default},
    {kPlain, DlgItemKind::PushButton, "", 50, 4, 30, 14},
    {kAfter, DlgItemKind::PushButton, "After", 90, 4, 30, 14},
    {kDefault, DlgItemKind::DefPushButton, "OK", 4, 24, 40, 14},
    {kCheck, DlgItemKind::AutoCheckBox, "Check", 50, 24, 40, 14},
};
constexpr DlgTemplate kTemplate = {901, "Buttons", 140, 44, "宋体", 9, kItems};

constexpr ColorRef kRest = RgbColor(10, 20, 30), kFocus = RgbColor(40, 50, 60), kHot = RgbColor(70, 80, 90);

// Pixels as 8-bit RGB, so that palette colours compare with what was painted.
QRgb PixelAt(QWidget& widget, QPoint at) { return widget.grab().toImage().pixel(at) & 0xFFFFFF; }
QRgb Centre(QWidget& widget) { return PixelAt(widget, widget.rect().center()); }
QRgb Rgb(ColorRef color) { return ToQColor(color).rgb() & 0xFFFFFF; }
QRgb Rgb(QPalette::ColorRole role) { return QApplication::palette().color(role).rgb() & 0xFFFFFF; }

void Move(QWidget& widget, QPoint at, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

void Leave(QWidget& widget) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
}

class ImageButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int id : {kPlain, kAfter, kDefault, kCheck}) m_dlg.OnCommand(id, [this, id] { ++m_commands[id]; });
        m_dlg.Create();
        ASSERT_TRUE(m_plain.SubclassDlgItem(kPlain, m_dlg));
        ASSERT_TRUE(m_default.SubclassDlgItem(kDefault, m_dlg));
        ASSERT_TRUE(m_check.SubclassDlgItem(kCheck, m_dlg));
        m_dlg.show();
        QApplication::processEvents();
    }

    CDialogBase m_dlg{kTemplate};
    CImageButton m_plain, m_default, m_check;
    std::map<int, int> m_commands;
};

TEST_F(ImageButtonTest, TakesTheControlsPlaceIdAndTabOrder) {
    EXPECT_EQ(m_dlg.GetDlgItem(kPlain), &m_plain);
    EXPECT_EQ(m_plain.geometry(), m_dlg.MapDialogRect(50, 4, 30, 14));
    EXPECT_EQ(m_dlg.GetDlgItem(kEdit)->nextInFocusChain(), &m_plain);
    EXPECT_EQ(m_plain.nextInFocusChain(), m_dlg.GetDlgItem(kAfter));
    CImageButton stray;
    EXPECT_FALSE(stray.SubclassDlgItem(999, m_dlg));

    // A rebuilt window hands the button back instead of deleting it.
    m_dlg.Create();
    EXPECT_EQ(m_plain.parentWidget(), nullptr);
    EXPECT_NE(m_dlg.GetDlgItem(kPlain), &m_plain);
    ASSERT_TRUE(m_plain.SubclassDlgItem(kPlain, m_dlg));
    m_plain.click();
    EXPECT_EQ(m_commands[kPlain], 1) << "one command per click after attaching again";
}

TEST_F(ImageButtonTest, FaceFollowsHotThenFocusedThenAtRest) {
    m_plain.SetStateColor(IB_COLOR_NORMAL_BACK, kRest);
    m_plain.SetStateColor(IB_COLOR_FOCUS_BACK, kFocus);
    m_plain.SetStateColor(IB_COLOR_HOT_BACK, kHot);
    const QPoint inside = m_plain.rect().center();
    const QPoint corner(0, 0);

    EXPECT_EQ(Centre(m_plain), Rgb(kRest));
    EXPECT_EQ(PixelAt(m_plain, corner), Rgb(kRest)) << "flat: no edge at rest";
    m_plain.setFocus();
    EXPECT_EQ(Centre(m_plain), Rgb(kFocus));
    EXPECT_EQ(PixelAt(m_plain, {3, 3}), Rgb(kFocus)) << "no focus rectangle in the flat look";
    Move(m_plain, inside);
    EXPECT_TRUE(m_plain.IsHot());
    EXPECT_EQ(Centre(m_plain), Rgb(kHot));
    EXPECT_EQ(PixelAt(m_plain, corner), Rgb(QPalette::Light)) << "raised edge";
    m_plain.setDown(true);
    EXPECT_EQ(PixelAt(m_plain, corner), Rgb(QPalette::Dark)) << "sunken edge";
    m_plain.setDown(false);
    Leave(m_plain);
    EXPECT_FALSE(m_plain.IsHot());
    EXPECT_EQ(Centre(m_plain), Rgb(kFocus));

    m_plain.SetFlatFocus(true);
    EXPECT_NE(PixelAt(m_plain, {3, 3}), Rgb(kFocus)) << "the focus rectangle once asked for";

    // A drag that began elsewhere does not light the button; a move outside it
    // ends the hover.
    Move(m_plain, inside, Qt::LeftButton);
    EXPECT_FALSE(m_plain.IsHot());
    Move(m_plain, inside);
    Move(m_plain, {-5, -5});
    EXPECT_FALSE(m_plain.IsHot());
    m_plain.SetFlatLook(false);
    Move(m_plain, inside);
    EXPECT_FALSE(m_plain.IsHot()) << "only the flat look hovers";
}

TEST_F(ImageButtonTest, SettersRefuseBadArguments) {
    struct ShiftCase {
        ColorRef from;
        int shade;
        std::uint32_t result;
        ColorRef to;
    };
    const ShiftCase shifts[] = {
        {RgbColor(212, 208, 200), 30, IB_OK, RgbColor(242, 238, 230)},
        {RgbColor(242, 238, 230), 30, IB_OK, RgbColor(255, 251, 243)},
        {RgbColor(255, 251, 243), 30, IB_OK, RgbColor(255, 251, 243)},
        {RgbColor(10, 100, 200), -50, IB_OK, RgbColor(0, 90, 190)},
        {RgbColor(10, 100, 200), -255, IB_OK, RgbColor(0, 90, 190)},
        {RgbColor(10, 100, 200), 256, IB_BAD_ARGUMENT, RgbColor(10, 100, 200)},
        {RgbColor(10, 100, 200), -256, IB_BAD_ARGUMENT, RgbColor(10, 100, 200)},
    };
    for (const ShiftCase& c : shifts) {
        m_plain.SetStateColor(IB_COLOR_HOT_BACK, c.from);
        EXPECT_EQ(m_plain.ShiftStateColor(IB_COLOR_HOT_BACK, static_cast<std::int16_t>(c.shade)), c.result);
        ColorRef now = 0;
        m_plain.GetStateColor(IB_COLOR_HOT_BACK, now);
        EXPECT_EQ(now, c.to) << std::hex << c.from << " by " << std::dec << c.shade;
    }

    ColorRef untouched = 0x123456;
    EXPECT_EQ(m_plain.SetStateColor(6, kHot), IB_BAD_INDEX);
    EXPECT_EQ(m_plain.GetStateColor(6, untouched), IB_BAD_INDEX);
    EXPECT_EQ(untouched, 0x123456u);
    EXPECT_EQ(m_plain.ShiftStateColor(6, 10), IB_BAD_INDEX);
    EXPECT_EQ(m_plain.SetImageAlign(4), IB_BAD_ALIGN);
    EXPECT_EQ(m_plain.SetImageAlign(IB_ALIGN_CORNER), IB_OK);
    EXPECT_EQ(m_plain.SetPressShift(2), IB_BAD_PRESS_STYLE);
    EXPECT_EQ(m_plain.SetPressShift(IB_PRESS_DOWN), IB_OK);
}

TEST_F(ImageButtonTest, DoubleClickIsTwoClicks) {
    const QPoint at = m_plain.rect().center();
    QTest::mouseClick(&m_plain, Qt::LeftButton, {}, at);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, m_plain.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&m_plain, &twice);
    QTest::mouseRelease(&m_plain, Qt::LeftButton, {}, at);
    EXPECT_EQ(m_commands[kPlain], 2);
    EXPECT_TRUE(m_plain.hasFocus()) << "a click takes the focus";
}

TEST_F(ImageButtonTest, CheckBoxModeTogglesAndStillForwardsTheClick) {
    EXPECT_TRUE(m_check.IsCheckBox());
    EXPECT_FALSE(m_plain.IsCheckBox());
    m_check.click();
    EXPECT_TRUE(m_check.GetCheckState());
    EXPECT_TRUE(m_dlg.IsDlgButtonChecked(kCheck));
    m_check.click();
    EXPECT_FALSE(m_check.GetCheckState());
    EXPECT_EQ(m_commands[kCheck], 2);

    EXPECT_EQ(m_check.SetCheck(2), 0);
    EXPECT_EQ(m_check.GetCheck(), 1);
    m_check.SetCheck(3);
    EXPECT_EQ(m_check.GetCheck(), 0);
    m_plain.SetCheckState(1);
    EXPECT_FALSE(m_plain.GetCheckState()) << "no check state outside check-box mode";
}

TEST_F(ImageButtonTest, DefaultButtonAnswersTheDialogCodeAndIsFramedWhenNotFlat) {
    EXPECT_TRUE(m_default.IsDefaultButton());
    EXPECT_EQ(m_default.GetDlgCode() & 0x30, kDlgcDefPushButton);
    EXPECT_EQ(m_plain.GetDlgCode() & 0x30, kDlgcUndefPushButton);
    m_default.SetFlatLook(false);
    EXPECT_EQ(PixelAt(m_default, {0, 0}), 0u);
    m_default.SetButtonStyle(0);
    EXPECT_FALSE(m_default.IsDefaultButton());
    EXPECT_NE(PixelAt(m_default, {0, 0}), 0u);
}

TEST_F(ImageButtonTest, DisablingMovesTheFocusOnEvenFromAnotherControl) {
    m_dlg.GetDlgItem(kEdit)->setFocus();
    ASSERT_TRUE(m_dlg.GetDlgItem(kEdit)->hasFocus());
    m_plain.setEnabled(false);
    EXPECT_TRUE(m_dlg.GetDlgItem(kAfter)->hasFocus());
}

TEST_F(ImageButtonTest, PaletteChangeResetsEveryColour) {
    const QPalette saved = QApplication::palette();
    m_plain.SetStateColor(IB_COLOR_NORMAL_BACK, kRest);
    m_plain.SetStateColor(IB_COLOR_HOT_TEXT, kHot);
    QPalette palette = saved;
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::ButtonText, QColor(4, 5, 6));
    QApplication::setPalette(palette);
    QApplication::processEvents();
    for (std::uint8_t i = 0; i < IB_COLOR_COUNT; ++i) {
        ColorRef color = 0;
        m_plain.GetStateColor(i, color);
        EXPECT_EQ(color, i % 2 == 0 ? RgbColor(1, 2, 3) : RgbColor(4, 5, 6)) << int(i);
    }
    QApplication::setPalette(saved);
}

}  // namespace
