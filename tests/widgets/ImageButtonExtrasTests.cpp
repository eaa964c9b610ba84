// The image button's images and extras: placement, the images it makes, the
// slot the state picks, and the menu, link, tooltip, sound, cursor and
// transparent face, each through its seam or on a real window.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include "widgets/DesktopSeams.h"
#include "widgets/DialogBase.h"
#include "widgets/ImageButton.h"
#include "widgets/qt/ImageMaking.h"

namespace {

constexpr int kButton = 31, kCheck = 32;
constexpr DlgItem kItems[] = {
    {kButton, DlgItemKind::PushButton, "", 10, 10, 40, 30},
    {kCheck, DlgItemKind::AutoCheckBox, "", 60, 10, 40, 30},
};
constexpr DlgTemplate kTemplate = {902, "Images", 120, 50, "宋体", 9, kItems};

QImage Solid(int w, int h, QColor color) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}
QRgb Rgb(QColor color) { return color.rgb() & 0xFFFFFF; }

class ImageButtonExtras : public ::testing::Test {
protected:
    void SetUp() override {
        m_dlg.OnCommand(501, [this] { m_commands.push_back(501); });
        m_dlg.OnCommand(502, [this] { m_commands.push_back(502); });
        m_dlg.Create();
        ASSERT_TRUE(m_button.SubclassDlgItem(kButton, m_dlg));
        ASSERT_TRUE(m_check.SubclassDlgItem(kCheck, m_dlg));
        m_button.resize(60, 40);
        m_dlg.show();
        QApplication::processEvents();
    }
    void TearDown() override {
        SetUrlOpenHook({});
        SetSoundHook({});
    }
    void Hover(CImageButton& button, bool over) {
        const QPoint at = over ? button.rect().center() : QPoint(-3, -3);
        QMouseEvent move(QEvent::MouseMove, at, button.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&button, &move);
    }
    QRgb Centre(CImageButton& button) { return button.grab().toImage().pixel(button.rect().center()) & 0xFFFFFF; }

    CDialogBase m_dlg{kTemplate};
    CImageButton m_button, m_check;
    std::vector<int> m_commands;
};

TEST_F(ImageButtonExtras, PlaceImageByAlignmentTextAndPress) {
    struct Case {
        std::uint8_t align;
        bool text, pressed;
        QPoint image;
        QRect caption;
    };
    const QRect item(0, 0, 60, 40);
    const Case cases[] = {
        {IB_ALIGN_IMAGE_LEFT, false, false, {22, 15}, item},
        {IB_ALIGN_IMAGE_LEFT, true, false, {3, 15}, QRect(19, 0, 41, 40)},
        {IB_ALIGN_IMAGE_ABOVE, false, false, {22, 15}, item},
        {IB_ALIGN_IMAGE_ABOVE, true, false, {22, 3}, QRect(0, 10, 60, 30)},
        {IB_ALIGN_IMAGE_RIGHT, false, false, {22, 0}, item},
        {IB_ALIGN_IMAGE_RIGHT, true, false, {41, 15}, QRect(3, 0, 38, 40)},
        {IB_ALIGN_CORNER, true, false, {0, 0}, item},
        {IB_ALIGN_CORNER, false, true, {1, 1}, item},
        {IB_ALIGN_IMAGE_LEFT, false, true, {23, 16}, item},
    };
    for (const Case& c : cases) {
        m_button.SetImageAlign(c.align, false);
        QRect caption = item;
        const QRect image = m_button.PlaceImage(c.text, item, caption, c.pressed, 16, 10);
        EXPECT_EQ(image.topLeft(), c.image) << int(c.align) << " text " << c.text << " pressed " << c.pressed;
        if (!c.pressed) EXPECT_EQ(image.bottomRight(), item.bottomRight()) << "right and bottom stay the item's";
        EXPECT_EQ(caption, c.caption) << int(c.align) << " text " << c.text;
    }
    m_button.SetImageAlign(IB_ALIGN_CORNER, false);
    m_button.SetPressShift(IB_PRESS_DOWN, false);
    QRect caption = item;
    EXPECT_EQ(m_button.PlaceImage(false, item, caption, true, 16, 10).topLeft(), QPoint(0, 2));
    m_check.SetImageAlign(IB_ALIGN_CORNER, false);
    EXPECT_EQ(m_check.PlaceImage(false, item, caption, true, 16, 10).topLeft(), QPoint(0, 0))
        << "a check box does not move when pressed";
}

TEST(ImageMaking, GreyDarkerAndMaskFromKnownPixels) {
    const ColorRef magenta = RgbColor(255, 0, 255);
    QImage bitmap(3, 1, QImage::Format_RGB32);
    bitmap.setPixel(0, 0, qRgb(255, 0, 255));
    bitmap.setPixel(1, 0, qRgb(200, 100, 50));
    bitmap.setPixel(2, 0, qRgb(10, 20, 30));

    const QImage grey = MakeGreyBitmap(bitmap, 3, 1, magenta);
    EXPECT_EQ(grey.pixel(0, 0) & 0xFFFFFF, 0xFF00FFu) << "the transparent colour stays";
    EXPECT_EQ(grey.pixel(1, 0) & 0xFFFFFF, qRgb(124, 124, 124) & 0xFFFFFF);  // 59.8 + 58.7 + 5.7
    EXPECT_EQ(grey.pixel(2, 0) & 0xFFFFFF, qRgb(18, 18, 18) & 0xFFFFFF);     // 2.99 + 11.74 + 3.42
    const QImage dark = MakeDarkBitmap(bitmap, 3, 1, magenta);
    EXPECT_EQ(dark.pixel(1, 0) & 0xFFFFFF, qRgb(150, 75, 37) & 0xFFFFFF);
    EXPECT_EQ(DarkenColor(RgbColor(200, 100, 50), 0.0), RgbColor(200, 100, 50));
    EXPECT_EQ(DarkenColor(RgbColor(200, 100, 50), 1.5), RgbColor(200, 100, 50));
    EXPECT_EQ(DarkenColor(RgbColor(200, 100, 50), 1.0), RgbColor(0, 0, 0));

    const QImage mask = MakeMask(bitmap, 3, 1, magenta);
    EXPECT_EQ(mask.pixelIndex(0, 0), 1);
    EXPECT_EQ(mask.pixelIndex(1, 0), 0);
    EXPECT_EQ(bitmap.pixel(0, 0) & 0xFFFFFF, 0u) << "the source goes black under its mask";
    EXPECT_TRUE(MakeMask(bitmap, 4, 1, magenta).isNull()) << "larger than the bitmap";

    QImage icon(2, 1, QImage::Format_ARGB32);
    icon.setPixel(0, 0, qRgba(0, 0, 0, 255));
    icon.setPixel(1, 0, qRgba(200, 100, 50, 128));
    const QImage greyIcon = MakeGreyIcon(icon);
    EXPECT_EQ(greyIcon.pixel(0, 0), qRgba(0, 0, 0, 255)) << "black stays black";
    EXPECT_EQ(greyIcon.pixel(1, 0), qRgba(124, 124, 124, 128)) << "grey, with the icon's mask";
    EXPECT_EQ(MakeDarkIcon(icon).pixel(1, 0), qRgba(150, 75, 37, 128));
}

TEST_F(ImageButtonExtras, OneKindOfImageAtATimeAndNoneAfterAFailure) {
    const QColor red(255, 0, 0), blue(0, 0, 255);
    ASSERT_EQ(m_button.SetIconPair(QIcon(QPixmap::fromImage(Solid(8, 8, red)))), IB_OK);
    ASSERT_EQ(m_button.SetBitmapPair(Solid(8, 8, blue), RgbColor(1, 2, 3)), IB_OK);
    EXPECT_EQ(Centre(m_button), Rgb(blue)) << "bitmaps replace the icons";
    ASSERT_EQ(m_button.SetIconPair(QIcon(QPixmap::fromImage(Solid(8, 8, red)))), IB_OK);
    EXPECT_EQ(Centre(m_button), Rgb(red)) << "and icons the bitmaps";

    ColorRef face = 0;
    m_button.GetStateColor(IB_COLOR_NORMAL_BACK, face);
    EXPECT_EQ(m_button.SetBitmapPair(404, 0, 0, 0), IB_NO_RESOURCE);
    EXPECT_EQ(Centre(m_button), Rgb(ToQColor(face))) << "a failed call leaves no image";
    EXPECT_FALSE(m_button.FitToImage());
    EXPECT_EQ(m_button.SetIconPair(404, 0), IB_NO_RESOURCE);
    EXPECT_EQ(m_button.SetIconPair(IDR_MAINFRAME, IB_MAKE_GREY), IB_OK) << "the application icon, from the resources";

    // The bitmap resource: magenta is its transparent colour.
    ASSERT_EQ(m_button.SetBitmapPair(7, RgbColor(255, 0, 255), IB_MAKE_DARKER, 0), IB_OK);
    EXPECT_TRUE(m_button.FitToImage());
    EXPECT_EQ(m_button.size(), QSize(4, 2));
    const QImage drawn = m_button.grab().toImage();
    EXPECT_EQ(drawn.pixel(0, 0) & 0xFFFFFF, Rgb(ToQColor(face))) << "the button shows through the mask";
    EXPECT_EQ(drawn.pixel(1, 0) & 0xFFFFFF, qRgb(191, 0, 0) & 0xFFFFFF) << "the darker out image at rest";
    Hover(m_button, true);
    EXPECT_EQ(m_button.grab().toImage().pixel(1, 0) & 0xFFFFFF, 0xFF0000u) << "the in image while hot";

    // Images that are odd in size or carry alpha paint without trouble.
    QImage alpha(16, 16, QImage::Format_ARGB32);
    alpha.fill(qRgba(0, 255, 0, 100));
    for (const QImage& image : {QImage(), Solid(4096, 4096, red), alpha}) {
        EXPECT_EQ(m_button.SetBitmapPair(image, 0, IB_MAKE_GREY), IB_OK);
        (void)m_button.grab();
    }
}

TEST_F(ImageButtonExtras, CheckBoxDrawsTheInImageWhileChecked) {
    ASSERT_EQ(m_check.SetBitmapPair(Solid(8, 8, Qt::blue), 0, Solid(8, 8, Qt::red), 0), IB_OK);
    EXPECT_EQ(Centre(m_check), Rgb(Qt::red));
    m_check.SetCheck(1);
    EXPECT_EQ(Centre(m_check), Rgb(Qt::blue));
}

TEST_F(ImageButtonExtras, DropMenuSendsTheChosenCommandToItsOwner) {
    EXPECT_EQ(m_button.SetDropMenu(404, &m_dlg, true, 0, {}, 0), IB_NO_RESOURCE);
    EXPECT_EQ(m_button.SetDropMenu(12, &m_dlg, true, 0, {}, 0), IB_NO_RESOURCE) << "a damaged menu";
    ASSERT_EQ(m_button.SetDropMenu(11, &m_dlg, true, 0, {}, 0), IB_OK);

    struct Notified : QObject {
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == CMenuNotifyEvent::EventType()) value = static_cast<CMenuNotifyEvent*>(event)->m_value;
            return false;
        }
        std::intptr_t value = 0;
    } notified;
    QObject target;
    target.installEventFilter(&notified);
    m_button.SetMenuNotify(&target, 0x8001, 77);

    bool pressedWhileOpen = false;
    QTimer::singleShot(50, [&] {
        pressedWhileOpen = m_button.IsMenuShown();
        EXPECT_EQ(notified.value, 77) << "told before the menu opened";
        QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        EXPECT_NE(menu, nullptr) << "the menu is up";
        if (!menu) return;
        for (QAction* action : menu->actions())
            if (action->data().toInt() == 502) menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    m_button.click();
    QApplication::processEvents();
    EXPECT_TRUE(pressedWhileOpen);
    EXPECT_FALSE(m_button.IsMenuShown());
    EXPECT_EQ(m_commands, std::vector<int>{502});
}

TEST_F(ImageButtonExtras, LinkOpensThroughTheDesktopAndLongOnesAreRefused) {
    std::vector<std::string> opened;
    SetUrlOpenHook([&](const std::string& url) {
        opened.push_back(url);
        return true;
    });
    ASSERT_EQ(m_button.SetLinkUrl("https://example.invalid/manual"), IB_OK);
    EXPECT_EQ(m_button.SetLinkUrl(std::string(260, 'a').c_str()), IB_BAD_ARGUMENT);
    EXPECT_EQ(m_button.LinkUrl(), "https://example.invalid/manual") << "a refused URL changes nothing";
    m_button.click();
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.invalid/manual"});
}

TEST_F(ImageButtonExtras, TooltipShowsTheTextSetWithinItsWidth) {
    m_button.SetTipText(QString());
    EXPECT_TRUE(m_button.toolTip().isEmpty());
    m_button.SetTipText(9999);  // no such string: nothing
    EXPECT_TRUE(m_button.toolTip().isEmpty());
    m_button.SetTipText("Configure this address");
    EXPECT_EQ(m_button.toolTip(), "Configure this address");
    m_button.ActivateTip(false);
    EXPECT_TRUE(m_button.toolTip().isEmpty());
    const QString longText = QString("word ").repeated(200).trimmed();
    m_button.SetTipText(longText);
    const QFontMetrics metrics(QToolTip::font());
    for (const QString& line : m_button.toolTip().split('\n')) EXPECT_LE(metrics.horizontalAdvance(line), kTipMaxWidth);
    EXPECT_EQ(m_button.toolTip().simplified(), longText);
    m_button.UseBalloonTip();
    EXPECT_EQ(m_button.TipStyle(), kTipBalloonStyle);
}

TEST_F(ImageButtonExtras, SoundsPlayOnceOnHoverAndOnClick) {
    std::vector<SoundRequest> played;
    SetSoundHook([&](const SoundRequest& request) { played.push_back(request); });
    QTemporaryFile wave;
    ASSERT_TRUE(wave.open());
    const std::string file = wave.fileName().toStdString();
    ASSERT_EQ(m_button.SetSoundFor(file.c_str(), CImageButton::SoundSource::File, false, true), IB_OK);
    ASSERT_EQ(m_button.SetSoundFor("click", CImageButton::SoundSource::Resource, true, false), IB_OK);
    EXPECT_EQ(m_button.SetSoundFor("missing", CImageButton::SoundSource::Resource, true, false), IB_NO_RESOURCE);
    EXPECT_EQ(m_button.SetSoundFor("/no/such/sound.wav", CImageButton::SoundSource::File, true, false), IB_NO_RESOURCE);
    EXPECT_EQ(m_button.SetSoundFor(std::string(260, 'x').c_str(), CImageButton::SoundSource::File, true, false),
              IB_BAD_ARGUMENT);

    Hover(m_button, true);
    Hover(m_button, true);
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0].path, file);
    EXPECT_EQ(played[0].flags, kSndFileName | kSndNoDefault | kSndNoWait | kSndAsync);
    m_button.click();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[1].flags, kSndResource | kSndNoDefault | kSndNoWait);
    QFile written(QString::fromStdString(played[1].path));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "RIFF-not-really-a-wave") << "the resource, written to a file";
}

TEST_F(ImageButtonExtras, HoverCursorFromTheResources) {
    EXPECT_EQ(m_button.SetHoverCursor(404), IB_NO_RESOURCE);
    ASSERT_EQ(m_button.SetHoverCursor(9), IB_OK);
    EXPECT_TRUE(m_button.HasHoverCursor());
    EXPECT_TRUE(m_button.testAttribute(Qt::WA_SetCursor));
    EXPECT_EQ(m_button.SetHoverCursor(0), IB_OK);
    EXPECT_FALSE(m_button.HasHoverCursor());
}

TEST_F(ImageButtonExtras, TransparentFaceIsTheParentTakenOnce) {
    QPixmap parent(m_dlg.size());
    parent.fill(QColor(10, 200, 10));
    EXPECT_EQ(m_button.CaptureBackground(&parent), IB_BAD_ARGUMENT) << "not transparent yet";
    m_button.SetTransparent();
    EXPECT_EQ(m_button.CaptureBackground(nullptr), IB_BAD_ARGUMENT);
    ASSERT_EQ(m_button.CaptureBackground(&parent), IB_OK);
    EXPECT_EQ(Centre(m_button), qRgb(10, 200, 10) & 0xFFFFFF);
    parent.fill(Qt::black);
    EXPECT_EQ(Centre(m_button), qRgb(10, 200, 10) & 0xFFFFFF) << "the snapshot is kept";

    // Dropped by SetTransparent: the next paint takes the window's own face.
    m_button.SetTransparent();
    EXPECT_FALSE(m_button.HasBackgroundSnapshot());
    EXPECT_EQ(Centre(m_button), Rgb(m_dlg.palette().color(QPalette::Window)));
    EXPECT_TRUE(m_button.HasBackgroundSnapshot());
}

}  // namespace
