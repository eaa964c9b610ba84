#include <set>

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QLabel>

#include "res/Resources.h"
#include "widgets/DialogBase.h"

namespace {

TEST(DialogTemplates, ExistForTheWindowsOfThisBuild) {
    for (int id : {IDD_ABOUTBOX, IDD_CONFIG_DIALOG, IDD_WIRELESS_PARAM, IDD_CLEAR_DEVICE, IDD_LCD_CONTROL,
                   IDD_LIGHT_PARAM}) {
        const DlgTemplate* tmpl = FindDialogTemplate(id);
        ASSERT_NE(tmpl, nullptr) << id;
        EXPECT_EQ(tmpl->id, id);
        std::set<int> ids;
        for (const DlgItem& item : tmpl->items) {
            if (item.id == -1) continue;
            EXPECT_TRUE(ids.insert(item.id).second) << "duplicate id " << item.id;
        }
    }
    EXPECT_EQ(FindDialogTemplate(131), nullptr);
    EXPECT_EQ(FindDialogTemplate(0), nullptr);
}

// What code and operator rely on, in template (= tab) order.
TEST(DialogTemplates, MainWindowRowsRunLabelFieldReadWrite) {
    const DlgTemplate& main = *FindDialogTemplate(IDD_CONFIG_DIALOG);
    std::vector<int> order;
    for (const DlgItem& item : main.items) order.push_back(item.id);
    const std::vector<int> firstRows = {-1, 1000, 1001, -1, 1012, 1007, 1003, -1, 1013, 1008, 1004};
    EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 11), firstRows);
    EXPECT_EQ(main.items.size(), 80u);  // 74 in the 21 rows and the six hidden controls
}

TEST(DialogTemplates, StaticTextsFitTheirRectanglesInTheDialogFont) {
    // A text wider than its rectangle would be cut off on screen.
    for (int id : {IDD_ABOUTBOX, IDD_CONFIG_DIALOG, IDD_WIRELESS_PARAM, IDD_CLEAR_DEVICE, IDD_LCD_CONTROL,
                   IDD_LIGHT_PARAM}) {
        CDialogBase dialog(id);
        dialog.Create();
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            if (label->text().isEmpty() || label->isHidden()) continue;
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                << id << " " << label->text().toStdString();
        }
    }
}

TEST(ResourceStrings, UnknownNumbersGiveNoText) { EXPECT_TRUE(LoadResString(102).isEmpty()); }

TEST(Icons, ApplicationIconComesInFourSizes) {
    const QIcon icon = LoadAppIcon(IDR_MAINFRAME);
    QList<int> sizes;
    for (const QSize& size : icon.availableSizes()) sizes << size.width();
    EXPECT_EQ(sizes, (QList<int>{16, 32, 48, 256}));
    // Opaque inside, transparent only at the rounded corners.
    const QImage small = PaintAppIconImage(16);
    EXPECT_EQ(qAlpha(small.pixel(8, 8)), 255);
    EXPECT_EQ(qAlpha(PaintAppIconImage(256).pixel(0, 0)), 0);
}

TEST(Icons, LegendSquaresAreSolidInTheGridColours) {
    struct Case {
        int id;
        QRgb colour;
    };
    for (const Case& c : {Case{IDI_CONFIGURED, qRgb(132, 202, 53)}, Case{IDI_NOT_CONFIGURED, qRgb(120, 123, 135)}}) {
        const QImage image = LoadAppIcon(c.id).pixmap(16, 16).toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(image.size(), QSize(16, 16));
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) ASSERT_EQ(image.pixel(x, y), c.colour) << c.id << " at " << x << "," << y;
    }
    EXPECT_TRUE(LoadAppIcon(999).isNull());
}

}  // namespace
