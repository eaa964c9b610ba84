#include "ImageMaking.h"

#include <functional>

namespace {

ColorRef RefOf(QRgb pixel) {
    return RgbColor(static_cast<std::uint8_t>(qRed(pixel)), static_cast<std::uint8_t>(qGreen(pixel)),
                    static_cast<std::uint8_t>(qBlue(pixel)));
}

QRgb WithAlpha(ColorRef color, int alpha) { return qRgba(RedOf(color), GreenOf(color), BlueOf(color), alpha); }

bool Covers(const QImage& image, int w, int h) {
    return !image.isNull() && w > 0 && h > 0 && w <= image.width() && h <= image.height();
}

// 32 bits a pixel, so that rows can be walked directly.
QImage Rgb32(const QImage& image) {
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
               ? image
               : image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

// A copy of the w x h top-left part of `bitmap`, with every pixel that is not
// the transparent colour changed by `change`.
QImage RecolourBitmap(const QImage& bitmap, int w, int h, ColorRef transparent,
                      const std::function<ColorRef(ColorRef)>& change) {
    if (!Covers(bitmap, w, h)) return {};
    const QImage source = Rgb32(bitmap);
    QImage out(w, h, QImage::Format_RGB32);
    if (out.isNull()) return {};
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const ColorRef pixel = RefOf(in[x]);
            row[x] = WithAlpha(pixel == transparent ? pixel : change(pixel), 255);
        }
    }
    return out;
}

QImage RecolourIcon(const QImage& icon, const std::function<ColorRef(ColorRef)>& change) {
    if (icon.isNull()) return {};
    QImage out = icon.convertToFormat(QImage::Format_ARGB32);
    if (out.isNull()) return {};
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const ColorRef color = RefOf(row[x]);
            if (color == 0) continue;  // black stays black
            row[x] = WithAlpha(change(color), qAlpha(row[x]));
        }
    }
    return out;
}

ColorRef Darker(ColorRef color) { return DarkenColor(color, kDarkerFactor); }

}  // namespace

QImage MakeMask(QImage& bitmap, int w, int h, ColorRef transparent) {
    if (!Covers(bitmap, w, h)) return {};
    bitmap = Rgb32(bitmap);
    QImage mask(w, h, QImage::Format_Mono);
    if (mask.isNull()) return {};
    mask.setColor(0, qRgb(0, 0, 0));
    mask.setColor(1, qRgb(255, 255, 255));
    mask.fill(0);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (RefOf(row[x]) != transparent) continue;
            mask.setPixel(x, y, 1);
            row[x] = qRgba(0, 0, 0, qAlpha(row[x]));
        }
    }
    return mask;
}

QImage MakeGreyBitmap(const QImage& bitmap, int w, int h, ColorRef transparent) {
    return RecolourBitmap(bitmap, w, h, transparent, GreyColor);
}

QImage MakeDarkBitmap(const QImage& bitmap, int w, int h, ColorRef transparent) {
    return RecolourBitmap(bitmap, w, h, transparent, Darker);
}

QImage MakeGreyIcon(const QImage& icon) { return RecolourIcon(icon, GreyColor); }

QImage MakeDarkIcon(const QImage& icon) { return RecolourIcon(icon, Darker); }
