// The Windows build's icon files: the ones kept in the sources are what the
// drawings give today, and an icon reader finds in them the drawings at every
// size.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QIcon>
#include <QImageReader>

#include "IcoFile.h"
#include "res/Resources.h"

namespace {

QImage Drawing(int id, int size) {
    QImage image = LoadAppIcon(id).pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
    return image.width() == size ? image : image.scaled(size, size);
}

TEST(WindowsIconFiles, KeptFilesMatchTheDrawings) {
    for (int id : {IDR_MAINFRAME, IDI_NOT_CONFIGURED, IDI_CONFIGURED}) {
        QFile kept(QStringLiteral(SENTRABUS_WINDOWS_ICON_DIR "/%1.ico").arg(id));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << kept.fileName().toStdString();
        EXPECT_TRUE(kept.readAll() == WindowsIconFile(id))
            << kept.fileName().toStdString() << " is out of date: run sentrabus-ico-files " SENTRABUS_WINDOWS_ICON_DIR;
    }
}

TEST(WindowsIconFiles, EveryEntryReadsBackAsTheDrawingAtItsSize) {
    for (int id : {IDR_MAINFRAME, IDI_NOT_CONFIGURED, IDI_CONFIGURED}) {
        QByteArray bytes = WindowsIconFile(id);
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "ico");
        const std::vector<int> sizes = WindowsIconSizes(id);
        ASSERT_EQ(reader.imageCount(), static_cast<int>(sizes.size())) << id;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            ASSERT_TRUE(reader.jumpToImage(static_cast<int>(i)));
            const QImage read = reader.read().convertToFormat(QImage::Format_ARGB32);
            EXPECT_EQ(read.size(), QSize(sizes[i], sizes[i])) << id;
            EXPECT_TRUE(read == Drawing(id, sizes[i])) << "icon " << id << " at " << sizes[i] << " px";
        }
    }
}

}  // namespace
