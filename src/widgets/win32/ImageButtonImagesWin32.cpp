// The image button's icons and bitmaps on Windows: setting them (with the
// masks and the grey or darker copies made once, here, pixel by pixel through
// GetPixel and SetPixel), placing them beside or above the caption, and
// drawing the one the state chooses: icons with DrawStateW, bitmaps through
// their masks.

#include <algorithm>
#include <utility>

#include "CommonControlsWin32.h"
#include "GdiWin32.h"
#include "widgets/win32/ImageButtonImagesWin32.h"
#include "widgets/win32/ImageButtonWin32.h"

namespace {

bool IsSpecial(int out) { return out == IB_MAKE_GREY || out == IB_MAKE_DARKER; }

COLORREF Changed(COLORREF pixel, bool grey) {
    return grey ? GreyColor(static_cast<ColorRef>(pixel)) : DarkenColor(static_cast<ColorRef>(pixel), kDarkerFactor);
}

// A copy of a w x h bitmap of the screen's format: pixels of the transparent
// colour stay, every other one is made grey or darker.
HBITMAP RecolourBitmap(HBITMAP bitmap, int w, int h, COLORREF transparent, bool grey) {
    if (!bitmap || w <= 0 || h <= 0) return nullptr;
    const ScreenDc screen;
    const MemoryDc from, to;
    if (!screen.Get() || !from.Get() || !to.Get()) return nullptr;
    HBITMAP copy = CreateCompatibleBitmap(screen.Get(), w, h);
    if (!copy) return nullptr;
    {
        const Selected source(from.Get(), bitmap), target(to.Get(), copy);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const COLORREF pixel = GetPixel(from.Get(), x, y) & 0xFFFFFF;
                SetPixel(to.Get(), x, y, pixel == transparent ? pixel : Changed(pixel, grey));
            }
        }
    }
    return copy;
}

// A new icon with the source's mask and a colour bitmap of the source's
// planes and depth, 2 x the hot spot in size: black stays black, every other
// pixel is made grey or darker. The source stays as it was.
HICON RecolourIcon(HICON icon, bool grey) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return nullptr;
    // GetIconInfo hands out copies of the icon's bitmaps: ours to delete.
    const CImageButton::OwnedBitmap mask(info.hbmMask), colour(info.hbmColor);
    BITMAP header{};
    if (!info.hbmColor || !GetObjectW(info.hbmColor, sizeof(header), &header)) return nullptr;
    const int w = static_cast<int>(info.xHotspot) * 2, h = static_cast<int>(info.yHotspot) * 2;
    const MemoryDc from, to;
    if (w <= 0 || h <= 0 || !from.Get() || !to.Get()) return nullptr;
    const CImageButton::OwnedBitmap made(CreateBitmap(w, h, header.bmPlanes, header.bmBitsPixel, nullptr));
    if (!made) return nullptr;
    {
        const Selected source(from.Get(), info.hbmColor), target(to.Get(), made.get());
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const COLORREF pixel = GetPixel(from.Get(), x, y) & 0xFFFFFF;
                SetPixel(to.Get(), x, y, pixel == 0 ? pixel : Changed(pixel, grey));
            }
        }
    }
    ICONINFO madeInfo{TRUE, info.xHotspot, info.yHotspot, info.hbmMask, static_cast<HBITMAP>(made.get())};
    return CreateIconIndirect(&madeInfo);
}

// An icon's size: twice its hot spot; false when its information cannot be read.
bool IconSize(HICON icon, int& w, int& h) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return false;
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    w = static_cast<int>(info.xHotspot) * 2;
    h = static_cast<int>(info.yHotspot) * 2;
    return true;
}

bool BitmapSize(HBITMAP bitmap, int& w, int& h) {
    BITMAP header{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(header), &header)) return false;
    w = header.bmWidth;
    h = std::abs(header.bmHeight);
    return w > 0 && h > 0;
}

HICON LoadIconResource(int id, int w, int h) {
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, w, h, LR_DEFAULTCOLOR));
}

HBITMAP LoadBitmapResource(int id) {
    return static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

RECT ToRect(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }
PixelRect ToPixelRect(const RECT& r) {
    return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right), static_cast<int>(r.bottom)};
}

}  // namespace

// --- image making ------------------------------------------------------------------

HBITMAP MakeMask(HBITMAP bitmap, int w, int h, ColorRef transparent) {
    if (!bitmap || w <= 0 || h <= 0) return nullptr;
    const MemoryDc from, to;
    if (!from.Get() || !to.Get()) return nullptr;
    HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
    if (!mask) return nullptr;
    const Selected source(from.Get(), bitmap), target(to.Get(), mask);
    if (!source.Ok() || !target.Ok()) {
        DeleteObject(mask);
        return nullptr;
    }
    PatBlt(to.Get(), 0, 0, w, h, BLACKNESS);
    transparent &= 0xFFFFFF;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if ((GetPixel(from.Get(), x, y) & 0xFFFFFF) != COLORREF{transparent}) continue;
            SetPixel(to.Get(), x, y, RGB(255, 255, 255));
            // Black adds nothing when the bitmap is ORed over the mask.
            SetPixel(from.Get(), x, y, RGB(0, 0, 0));
        }
    }
    return mask;
}

HBITMAP MakeGreyBitmap(HBITMAP bitmap, int w, int h, ColorRef transparent) {
    return RecolourBitmap(bitmap, w, h, transparent & 0xFFFFFF, true);
}

HBITMAP MakeDarkBitmap(HBITMAP bitmap, int w, int h, ColorRef transparent) {
    return RecolourBitmap(bitmap, w, h, transparent & 0xFFFFFF, false);
}

HICON MakeGreyIcon(HICON icon) { return RecolourIcon(icon, true); }

HICON MakeDarkIcon(HICON icon) { return RecolourIcon(icon, false); }

// --- setting images -----------------------------------------------------------------

void CImageButton::FreeImages() {
    m_icons = {};
    m_bitmaps = {};
}

std::uint32_t CImageButton::SetIconPair(IconHandle in, IconHandle out) {
    FreeImages();
    OwnedIcon ownedIn(in), ownedOut(out);  // ours from here, whatever comes
    if (!ownedIn) {
        Repaint(true);
        return IB_OK;
    }
    return TakeIcons(std::move(ownedIn), std::move(ownedOut), 0);
}

std::uint32_t CImageButton::SetIconPair(IconHandle in, int outSpecial) {
    FreeImages();
    OwnedIcon ownedIn(in);
    if (!ownedIn) {
        Repaint(true);
        return IB_OK;
    }
    return TakeIcons(std::move(ownedIn), nullptr, IsSpecial(outSpecial) ? outSpecial : 0);
}

std::uint32_t CImageButton::SetIconPair(int inId, int inWidth, int inHeight, int outIdOrSpecial, int outWidth,
                                        int outHeight) {
    FreeImages();
    OwnedIcon in(LoadIconResource(inId, inWidth, inHeight));
    if (!in) return IB_NO_RESOURCE;
    OwnedIcon out;
    if (outIdOrSpecial > 0) {
        out.reset(LoadIconResource(outIdOrSpecial, outWidth, outHeight));
        if (!out) return IB_NO_RESOURCE;
    }
    return TakeIcons(std::move(in), std::move(out), IsSpecial(outIdOrSpecial) ? outIdOrSpecial : 0);
}

std::uint32_t CImageButton::SetIconPair(int inId, int outIdOrSpecial) {
    return SetIconPair(inId, 0, 0, outIdOrSpecial, 0, 0);
}

std::uint32_t CImageButton::TakeIcons(OwnedIcon in, OwnedIcon out, int outSpecial) {
    IconSlot slotIn, slotOut;
    if (!IconSize(in.get(), slotIn.width, slotIn.height)) return IB_NO_RESOURCE;
    if (outSpecial == IB_MAKE_GREY) out.reset(MakeGreyIcon(in.get()));
    if (outSpecial == IB_MAKE_DARKER) out.reset(MakeDarkIcon(in.get()));
    if (outSpecial != 0 && !out) return IB_NO_RESOURCE;
    if (out && !IconSize(out.get(), slotOut.width, slotOut.height)) return IB_NO_RESOURCE;
    slotIn.icon = std::move(in);
    slotOut.icon = std::move(out);
    m_icons = {std::move(slotIn), std::move(slotOut)};
    Repaint(true);
    return IB_OK;
}

std::uint32_t CImageButton::SetBitmapPair(BitmapHandle in, ColorRef inTransparent, BitmapHandle out,
                                          ColorRef outTransparent) {
    FreeImages();
    OwnedBitmap ownedIn(in), ownedOut(out);
    if (!ownedIn) {
        Repaint(true);
        return IB_OK;
    }
    return TakeBitmaps(std::move(ownedIn), inTransparent, std::move(ownedOut), outTransparent, 0);
}

std::uint32_t CImageButton::SetBitmapPair(BitmapHandle in, ColorRef inTransparent, int outSpecial) {
    FreeImages();
    OwnedBitmap ownedIn(in);
    if (!ownedIn) {
        Repaint(true);
        return IB_OK;
    }
    return TakeBitmaps(std::move(ownedIn), inTransparent, nullptr, inTransparent, IsSpecial(outSpecial) ? outSpecial : 0);
}

std::uint32_t CImageButton::SetBitmapPair(int inId, ColorRef inTransparent, int outIdOrSpecial,
                                          ColorRef outTransparent) {
    FreeImages();
    OwnedBitmap in(LoadBitmapResource(inId));
    if (!in) return IB_NO_RESOURCE;
    OwnedBitmap out;
    if (outIdOrSpecial > 0) {
        out.reset(LoadBitmapResource(outIdOrSpecial));
        if (!out) return IB_NO_RESOURCE;
    }
    const bool special = IsSpecial(outIdOrSpecial);
    return TakeBitmaps(std::move(in), inTransparent, std::move(out), special ? inTransparent : outTransparent,
                       special ? outIdOrSpecial : 0);
}

std::uint32_t CImageButton::TakeBitmaps(OwnedBitmap in, ColorRef inTransparent, OwnedBitmap out, ColorRef outTransparent,
                                        int outSpecial) {
    BitmapSlot slotIn, slotOut;
    const auto inHandle = static_cast<HBITMAP>(in.get());
    if (!BitmapSize(inHandle, slotIn.width, slotIn.height)) return IB_NO_RESOURCE;
    // The copies are made from the in bitmap before its mask blackens it; a
    // copy that cannot be made leaves the out image empty.
    if (outSpecial == IB_MAKE_DARKER) out.reset(MakeDarkBitmap(inHandle, slotIn.width, slotIn.height, inTransparent));
    if (outSpecial == IB_MAKE_GREY) out.reset(MakeGreyBitmap(inHandle, slotIn.width, slotIn.height, inTransparent));
    slotIn.mask.reset(MakeMask(inHandle, slotIn.width, slotIn.height, inTransparent));
    if (!slotIn.mask) return IB_MASK_FAILED;
    slotIn.bitmap = std::move(in);
    slotIn.transparent = inTransparent & 0xFFFFFF;
    if (out) {
        const auto outHandle = static_cast<HBITMAP>(out.get());
        if (!BitmapSize(outHandle, slotOut.width, slotOut.height)) return IB_NO_RESOURCE;
        slotOut.mask.reset(MakeMask(outHandle, slotOut.width, slotOut.height, outTransparent));
        if (!slotOut.mask) return IB_MASK_FAILED;
        slotOut.bitmap = std::move(out);
        slotOut.transparent = outTransparent & 0xFFFFFF;
    }
    m_bitmaps = {std::move(slotIn), std::move(slotOut)};
    Repaint(true);
    return IB_OK;
}

bool CImageButton::FitToImage() {
    int w = 0, h = 0;
    if (HasIcon()) {
        w = m_icons[0].width, h = m_icons[0].height;
    } else if (HasBitmap()) {
        w = m_bitmaps[0].width, h = m_bitmaps[0].height;
    } else {
        return false;
    }
    FitImageOrigin();
    if (m_hwnd)
        SetWindowPos(m_hwnd, nullptr, 0, 0, w, h,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    return true;
}

// --- placing and drawing ----------------------------------------------------------------

PixelRect CImageButton::PlaceImage(bool hasText, const PixelRect& item, PixelRect& caption, bool pressed, int w,
                                int h) const {
    RECT client{};
    if (m_hwnd) GetClientRect(m_hwnd, &client);
    return CImageButtonModel::PlaceImage(hasText, item, caption, pressed, w, h, static_cast<int>(client.right));
}

PixelRect CImageButton::PlaceImage(bool hasText, const tagRECT& item, tagRECT& caption, bool pressed, int w,
                                int h) const {
    PixelRect placedCaption = ToPixelRect(caption);
    const PixelRect image = PlaceImage(hasText, ToPixelRect(item), placedCaption, pressed, w, h);
    caption = ToRect(placedCaption);
    return image;
}

void CImageButton::PaintIcon(DcHandle dc, bool hasText, const tagRECT& item, tagRECT& caption, bool pressed,
                             bool disabled) {
    const IconSlot& slot = m_icons[ChooseSlot(m_icons[1].Set())];
    const PixelRect image = PlaceImage(hasText, item, caption, pressed, slot.width, slot.height);
    // Drawn at its own size from the placed corner, as far as the place reaches.
    const int w = std::min(slot.width, image.Width()), h = std::min(slot.height, image.Height());
    if (w <= 0 || h <= 0) return;
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(slot.icon.get()), 0, image.left, image.top, w, h,
               DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
}

void CImageButton::PaintBitmap(DcHandle dc, bool hasText, const tagRECT& item, tagRECT& caption, bool pressed,
                               bool disabled) {
    const BitmapSlot& slot = m_bitmaps[ChooseSlot(m_bitmaps[1].Set())];
    const PixelRect image = PlaceImage(hasText, item, caption, pressed, slot.width, slot.height);
    const int w = slot.width, h = slot.height;
    const MemoryDc memory(dc);
    if (!memory.Get()) return;
    // The mask's bits map to the context's colours: 0 to the text colour,
    // black, and 1 to the background colour, white.
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    if (disabled && m_showDisabledBitmap) {
        // The bitmap as drawn on white, then embossed by the state drawing.
        const OwnedBitmap combined(CreateCompatibleBitmap(dc, w, h));
        if (combined) {
            {
                const MemoryDc target(dc);
                const Selected into(target.Get(), combined.get());
                SetTextColor(target.Get(), RGB(0, 0, 0));
                SetBkColor(target.Get(), RGB(255, 255, 255));
                PatBlt(target.Get(), 0, 0, w, h, WHITENESS);
                {
                    const Selected mask(memory.Get(), slot.mask.get());
                    BitBlt(target.Get(), 0, 0, w, h, memory.Get(), 0, 0, SRCAND);
                }
                const Selected bitmap(memory.Get(), slot.bitmap.get());
                BitBlt(target.Get(), 0, 0, w, h, memory.Get(), 0, 0, SRCPAINT);
            }
            DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(combined.get()), 0, image.left, image.top, w,
                       h, DST_BITMAP | DSS_DISABLED);
        }
    } else {
        {
            const Selected mask(memory.Get(), slot.mask.get());
            BitBlt(dc, image.left, image.top, w, h, memory.Get(), 0, 0, SRCAND);
        }
        const Selected bitmap(memory.Get(), slot.bitmap.get());
        BitBlt(dc, image.left, image.top, w, h, memory.Get(), 0, 0, SRCPAINT);
    }
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}
