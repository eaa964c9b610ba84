#pragma once
// The images an image button makes for itself once, when its images are set:
// the mask of a bitmap's transparent colour and grey or darker copies of an
// image. Pixel by pixel; painting then only draws what was made here.

#include <QColor>
#include <QImage>

#include "widgets/ColorShade.h"

// A w x h one-bit image whose bits are 1 where `bitmap` holds `transparent`.
// Those pixels of `bitmap` become black, so that drawing it over the mask
// adds nothing there. A null image when `bitmap` is null or too small.
QImage MakeMask(QImage& bitmap, int w, int h, ColorRef transparent);

// Copies of a bitmap: pixels of the transparent colour stay as they are,
// every other one is made grey, or darker by a quarter.
QImage MakeGreyBitmap(const QImage& bitmap, int w, int h, ColorRef transparent);
QImage MakeDarkBitmap(const QImage& bitmap, int w, int h, ColorRef transparent);

// Copies of an icon with its mask (the alpha channel): black pixels stay
// black, every other one is made grey, or darker by a quarter.
QImage MakeGreyIcon(const QImage& icon);
QImage MakeDarkIcon(const QImage& icon);
