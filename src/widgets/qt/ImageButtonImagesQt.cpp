// The image button's icons and bitmaps: setting them (with the grey or darker
// copies and the masks made once, here), placing them beside or above the
// caption, and drawing the one the state chooses.

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include "ImageButtonQt.h"
#include "ImageMaking.h"
#include "res/Resources.h"

namespace {

QImage IconImage(const QIcon& icon) {
    if (icon.isNull()) return {};
    const QList<QSize> sizes = icon.availableSizes();
    const QSize size = sizes.isEmpty() ? QSize(32, 32) : sizes.first();
    return icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
}

// The disabled look is the style's own disabled icon mode.
QImage DisabledLook(const QImage& image) {
    QStyleOption option;
    option.palette = QApplication::palette();
    return QApplication::style()
        ->generatedIconPixmap(QIcon::Disabled, QPixmap::fromImage(image), &option)
        .toImage();
}

// A bitmap as drawn: its pixels where the mask is 0, the button's where it is 1.
QImage CombineWithMask(const QImage& bitmap, const QImage& mask) {
    QImage drawn = bitmap.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < mask.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(drawn.scanLine(y));
        for (int x = 0; x < mask.width(); ++x) {
            if (mask.pixelIndex(x, y) == 1) row[x] = qRgba(0, 0, 0, 0);
        }
    }
    return drawn;
}

bool IsSpecial(int out) { return out == IB_MAKE_GREY || out == IB_MAKE_DARKER; }

}  // namespace

void CImageButton::FreeImages() {
    m_icons = {};
    m_bitmaps = {};
}

std::uint32_t CImageButton::SetIconPair(const QIcon& in, const QIcon& out) {
    FreeImages();
    if (in.isNull()) {
        Repaint(true);
        return IB_OK;
    }
    if (!out.isNull()) {
        const QImage outImage = IconImage(out);
        if (outImage.isNull()) return IB_NO_RESOURCE;
        return TakeIcons(IconImage(in), outImage, 0);
    }
    return TakeIcons(IconImage(in), {}, 0);
}

std::uint32_t CImageButton::SetIconPair(const QIcon& in, int outSpecial) {
    FreeImages();
    if (in.isNull()) {
        Repaint(true);
        return IB_OK;
    }
    return TakeIcons(IconImage(in), {}, IsSpecial(outSpecial) ? outSpecial : 0);
}

std::uint32_t CImageButton::SetIconPair(int inId, int inWidth, int inHeight, int outIdOrSpecial, int outWidth,
                                        int outHeight) {
    FreeImages();
    const QImage in = LoadIconResource(inId, QSize(inWidth, inHeight));
    if (in.isNull()) return IB_NO_RESOURCE;
    QImage out;
    if (outIdOrSpecial > 0) {
        out = LoadIconResource(outIdOrSpecial, QSize(outWidth, outHeight));
        if (out.isNull()) return IB_NO_RESOURCE;
    }
    return TakeIcons(in, out, IsSpecial(outIdOrSpecial) ? outIdOrSpecial : 0);
}

std::uint32_t CImageButton::SetIconPair(int inId, int outIdOrSpecial) {
    return SetIconPair(inId, 0, 0, outIdOrSpecial, 0, 0);
}

std::uint32_t CImageButton::TakeIcons(QImage in, QImage out, int outSpecial) {
    if (in.isNull()) {
        FreeImages();
        return IB_NO_RESOURCE;
    }
    if (outSpecial == IB_MAKE_GREY) out = MakeGreyIcon(in);
    if (outSpecial == IB_MAKE_DARKER) out = MakeDarkIcon(in);
    if (outSpecial != 0 && out.isNull()) {
        FreeImages();
        return IB_NO_RESOURCE;
    }
    m_icons[0] = {in, DisabledLook(in), {}, 0, in.size()};
    if (!out.isNull()) m_icons[1] = {out, DisabledLook(out), {}, 0, out.size()};
    Repaint(true);
    return IB_OK;
}

std::uint32_t CImageButton::SetBitmapPair(const QImage& in, ColorRef inTransparent, const QImage& out,
                                          ColorRef outTransparent) {
    FreeImages();
    if (in.isNull()) {  // no bitmap at all (an image without pixels is none too)
        Repaint(true);
        return IB_OK;
    }
    return TakeBitmaps(in, inTransparent, out, outTransparent, 0);
}

std::uint32_t CImageButton::SetBitmapPair(const QImage& in, ColorRef inTransparent, int outSpecial) {
    FreeImages();
    if (in.isNull()) {
        Repaint(true);
        return IB_OK;
    }
    return TakeBitmaps(in, inTransparent, {}, inTransparent, IsSpecial(outSpecial) ? outSpecial : 0);
}

std::uint32_t CImageButton::SetBitmapPair(int inId, ColorRef inTransparent, int outIdOrSpecial,
                                          ColorRef outTransparent) {
    FreeImages();
    const QImage in = LoadBitmapResource(inId);
    if (in.isNull()) return IB_NO_RESOURCE;
    QImage out;
    if (outIdOrSpecial > 0) {
        out = LoadBitmapResource(outIdOrSpecial);
        if (out.isNull()) return IB_NO_RESOURCE;
    }
    const bool special = IsSpecial(outIdOrSpecial);
    return TakeBitmaps(in, inTransparent, out, special ? inTransparent : outTransparent,
                       special ? outIdOrSpecial : 0);
}

std::uint32_t CImageButton::TakeBitmaps(QImage in, ColorRef inTransparent, QImage out, ColorRef outTransparent,
                                        int outSpecial) {
    // An image without pixels is one whose information cannot be read.
    if (in.isNull() || in.width() <= 0 || in.height() <= 0) {
        FreeImages();
        return IB_NO_RESOURCE;
    }
    const int w = in.width(), h = in.height();
    // The copies are made from the in bitmap before its mask blackens it.
    if (outSpecial == IB_MAKE_DARKER) out = MakeDarkBitmap(in, w, h, inTransparent);
    if (outSpecial == IB_MAKE_GREY) out = MakeGreyBitmap(in, w, h, inTransparent);
    const QImage inMask = MakeMask(in, w, h, inTransparent);
    if (inMask.isNull()) {
        FreeImages();
        return IB_MASK_FAILED;
    }
    const QImage inDrawn = CombineWithMask(in, inMask);
    m_bitmaps[0] = {inDrawn, DisabledLook(inDrawn), inMask, inTransparent, in.size()};

    if (!out.isNull()) {
        if (out.width() <= 0 || out.height() <= 0) {
            FreeImages();
            return IB_NO_RESOURCE;
        }
        const QImage outMask = MakeMask(out, out.width(), out.height(), outTransparent);
        if (outMask.isNull()) {
            FreeImages();
            return IB_MASK_FAILED;
        }
        const QImage outDrawn = CombineWithMask(out, outMask);
        m_bitmaps[1] = {outDrawn, DisabledLook(outDrawn), outMask, outTransparent, out.size()};
    }
    Repaint(true);
    return IB_OK;
}

bool CImageButton::FitToImage() {
    const ImageSlot* slot = HasIcon() ? &m_icons[0] : HasBitmap() ? &m_bitmaps[0] : nullptr;
    if (!slot) return false;
    FitImageOrigin();
    resize(slot->size);
    return true;
}

namespace {

PixelRect ToPixelRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
QRect ToQRect(const PixelRect& r) { return {r.left, r.top, r.Width(), r.Height()}; }

}  // namespace

QRect CImageButton::PlaceImage(bool hasText, const QRect& item, QRect& caption, bool pressed, int w, int h) const {
    PixelRect placedCaption = ToPixelRect(caption);
    const PixelRect image =
        CImageButtonModel::PlaceImage(hasText, ToPixelRect(item), placedCaption, pressed, w, h, width());
    caption = ToQRect(placedCaption);
    return ToQRect(image);
}

void CImageButton::PaintImage(QPainter& dc, const ImageSlot& slot, bool hasText, const QRect& item,
                              QRect& caption, bool pressed, bool disabled, bool showDisabled) {
    const QRect place = PlaceImage(hasText, item, caption, pressed, slot.size.width(), slot.size.height());
    const QImage& image = disabled && showDisabled ? slot.disabled : slot.image;
    // Drawn at its own size from the placed corner, within the button.
    const QRect source(0, 0, std::min(slot.size.width(), std::max(place.width(), 0)),
                       std::min(slot.size.height(), std::max(place.height(), 0)));
    if (source.isEmpty()) return;
    dc.drawImage(place.topLeft(), image, source);
}

void CImageButton::PaintIcon(QPainter& dc, bool hasText, const QRect& item, QRect& caption, bool pressed,
                             bool disabled) {
    PaintImage(dc, m_icons[ChooseSlot(m_icons[1].Set())], hasText, item, caption, pressed, disabled, true);
}

void CImageButton::PaintBitmap(QPainter& dc, bool hasText, const QRect& item, QRect& caption, bool pressed,
                               bool disabled) {
    PaintImage(dc, m_bitmaps[ChooseSlot(m_bitmaps[1].Set())], hasText, item, caption, pressed, disabled,
               m_showDisabledBitmap);
}
