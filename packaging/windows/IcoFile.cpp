#include "IcoFile.h"

#include <QBuffer>
#include <QIcon>
#include <QPixmap>
#include <QtEndian>

#include "res/Resources.h"

namespace {

constexpr int kPngFromSize = 256;
constexpr int kDirectoryBytes = 6;
constexpr int kEntryBytes = 16;
constexpr int kBitmapHeaderBytes = 40;

void Put16(QByteArray& out, quint16 value) {
    const quint16 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 2);
}
void Put32(QByteArray& out, quint32 value) {
    const quint32 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 4);
}

// A bitmap as icon resources hold it: the header gives twice the height (the
// colour rows, then the mask rows), rows go bottom to top, and the mask has
// a set bit for every transparent pixel, each row padded to 32 bits.
QByteArray BitmapEntry(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int size = image.width();
    const int maskRowBytes = ((size + 31) / 32) * 4;
    QByteArray out;
    Put32(out, kBitmapHeaderBytes);
    Put32(out, static_cast<quint32>(size));
    Put32(out, static_cast<quint32>(size * 2));
    Put16(out, 1);   // planes
    Put16(out, 32);  // bits per pixel
    Put32(out, 0);   // no compression
    Put32(out, static_cast<quint32>(size * size * 4 + maskRowBytes * size));
    for (int i = 0; i < 4; ++i) Put32(out, 0);  // resolution and palette: none
    for (int y = size - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < size; ++x) Put32(out, row[x]);  // 0xAARRGGBB: B, G, R, A in the file
    }
    for (int y = size - 1; y >= 0; --y) {
        QByteArray mask(maskRowBytes, '\0');
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < size; ++x) {
            if (qAlpha(row[x]) == 0) mask[x / 8] = static_cast<char>(mask[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(mask);
    }
    return out;
}

QByteArray PngEntry(const QImage& image) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG");
    return out;
}

}  // namespace

QByteArray IcoFileBytes(const std::vector<QImage>& images) {
    std::vector<QByteArray> entries;
    for (const QImage& image : images) {
        entries.push_back(image.width() >= kPngFromSize ? PngEntry(image) : BitmapEntry(image));
    }
    QByteArray out;
    Put16(out, 0);  // reserved
    Put16(out, 1);  // an icon, not a cursor
    Put16(out, static_cast<quint16>(images.size()));
    quint32 offset = kDirectoryBytes + kEntryBytes * static_cast<quint32>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = images[i].width();
        out.append(static_cast<char>(size >= 256 ? 0 : size));  // 0 stands for 256
        out.append(static_cast<char>(size >= 256 ? 0 : size));
        out.append('\0');  // no palette
        out.append('\0');
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<quint32>(entries[i].size()));
        Put32(out, offset);
        offset += static_cast<quint32>(entries[i].size());
    }
    for (const QByteArray& entry : entries) out.append(entry);
    return out;
}

std::vector<int> WindowsIconSizes(int iconId) {
    if (iconId == IDR_MAINFRAME) return {16, 32, 48, 256};
    return {16, 32, 48};
}

QByteArray WindowsIconFile(int iconId) {
    const QIcon icon = LoadAppIcon(iconId);
    if (icon.isNull()) return {};
    std::vector<QImage> images;
    for (int size : WindowsIconSizes(iconId)) {
        // A drawing smaller than asked for (the legend's 16-pixel squares) is
        // scaled by whole pixels, which keeps a solid square solid.
        QImage image = icon.pixmap(QSize(size, size)).toImage();
        if (image.width() != size) image = image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        images.push_back(image);
    }
    return IcoFileBytes(images);
}
