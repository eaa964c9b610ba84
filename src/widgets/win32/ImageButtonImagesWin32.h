#pragma once
// The images an image button makes for itself once, when its images are set,
// in GDI: the mask of a bitmap's transparent colour and grey or darker copies
// of a bitmap or an icon. Each returns a new handle the caller owns, or null
// when a context or a bitmap cannot be made.

#include "widgets/ColorRef.h"

struct HBITMAP__;
struct HICON__;

// A w x h monochrome bitmap whose bits are 1 where `bitmap` holds
// `transparent`. Those pixels of `bitmap` become black, so that ORing it over
// the mask adds nothing there.
HBITMAP__* MakeMask(HBITMAP__* bitmap, int w, int h, ColorRef transparent);

// Screen-compatible copies of a bitmap: pixels of the transparent colour stay
// as they are, every other one is made grey, or darker by a quarter.
HBITMAP__* MakeGreyBitmap(HBITMAP__* bitmap, int w, int h, ColorRef transparent);
HBITMAP__* MakeDarkBitmap(HBITMAP__* bitmap, int w, int h, ColorRef transparent);

// Copies of an icon with its mask: black pixels stay black, every other one
// is made grey, or darker by a quarter. The icon itself is left as it was.
HICON__* MakeGreyIcon(HICON__* icon);
HICON__* MakeDarkIcon(HICON__* icon);
