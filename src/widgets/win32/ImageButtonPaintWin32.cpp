// How the image button draws itself with GDI: face, edge, image, caption and
// focus rectangle, in that order, from the state of the paint in progress
// (the images themselves: ImageButtonImagesWin32.cpp).
//
// Rectangles are GDI's: right and bottom lie just outside, and a line drawn
// to a point leaves that point out.

#include <memory>
#include <type_traits>

#include "CommonControlsWin32.h"
#include "GdiWin32.h"
#include "widgets/win32/ImageButtonWin32.h"

namespace {

struct GdiObjectDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
using OwnedBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using OwnedPen = std::unique_ptr<std::remove_pointer_t<HPEN>, GdiObjectDeleter>;

COLORREF Sys(int index) { return GetSysColor(index); }

void Fill(HDC dc, const RECT& r, COLORREF color) {
    const OwnedBrush brush(CreateSolidBrush(color));
    if (brush) FillRect(dc, &r, brush.get());
}

// A 1-pixel edge: top and left in one colour, bottom and right in the other.
void Edge(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    Fill(dc, {r.left, r.top, r.right, r.top + 1}, topLeft);
    Fill(dc, {r.left, r.top, r.left + 1, r.bottom}, topLeft);
    Fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    Fill(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

void Frame(HDC dc, const RECT& r, COLORREF color) { Edge(dc, r, color, color); }

// Two joined lines with a 1-pixel solid pen: the corner is drawn, the last
// point is not.
void Polyline(HDC dc, COLORREF color, POINT a, POINT b, POINT c) {
    const OwnedPen pen(CreatePen(PS_SOLID, 1, color));
    if (!pen) return;
    const Selected selected(dc, pen.get());
    MoveToEx(dc, a.x, a.y, nullptr);
    LineTo(dc, b.x, b.y);
    LineTo(dc, c.x, c.y);
}

constexpr UINT kMeasureCaption = DT_CALCRECT | DT_WORDBREAK | DT_CENTER;
// Drawn unclipped in the measured block: a glyph may reach a pixel beyond
// the extent the measure gives (the bitmap faces that stand in for the
// dialogs' font do), and the block's edge would cut it off.
constexpr UINT kDrawCaption = DT_WORDBREAK | DT_CENTER | DT_NOCLIP;

std::wstring WindowText(HWND window) {
    if (!window) return {};
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

void CImageButton::DrawItem(const tagDRAWITEMSTRUCT& record) {
    const UINT state = record.itemState;
    BeginPaint((state & ODS_SELECTED) != 0, (state & ODS_FOCUS) != 0, (state & ODS_DISABLED) != 0, m_menu != nullptr);

    const HDC dc = record.hDC;
    const int saved = SaveDC(dc);  // mode, colours and font go back as they were
    SetBkMode(dc, TRANSPARENT);

    RECT face = record.rcItem;
    if (m_transparent) {
        PaintSavedBackground(dc);
    } else {
        PaintFace(dc, face);
    }
    PaintEdge(dc, face);

    const std::wstring caption = WindowText(record.hwndItem);
    RECT captionRect = record.rcItem;
    if (HasIcon()) PaintIcon(dc, !caption.empty(), record.rcItem, captionRect, m_drawPressed, m_drawDisabled);
    if (HasBitmap()) {
        // Mask bits of 1 (the transparent colour) leave the face as it is.
        SetBkColor(dc, RGB(255, 255, 255));
        PaintBitmap(dc, !caption.empty(), record.rcItem, captionRect, m_drawPressed, m_drawDisabled);
    }
    if (!caption.empty()) {
        // The control's font, also when the context is not the control's own.
        if (const auto font = reinterpret_cast<HFONT>(SendMessageW(record.hwndItem, WM_GETFONT, 0, 0))) {
            SelectObject(dc, font);
        }
        PaintCaption(dc, caption, record.rcItem, captionRect, m_drawPressed, m_drawDisabled);
    }

    if ((!m_flat || m_drawFlatFocus) && m_drawFocused) {
        RECT focus = face;
        InflateRect(&focus, -3, -3);
        // The dotted pattern takes the context's text and background colours.
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &focus);
    }
    if (saved) RestoreDC(dc, saved);
}

void CImageButton::PaintFace(DcHandle dc, tagRECT& face) {
    if (!m_flat && (m_drawFocused || m_isDefault)) {
        Frame(dc, face, RGB(0, 0, 0));
        InflateRect(&face, -1, -1);
    }
    Fill(dc, face, FaceColor());
}

void CImageButton::PaintEdge(DcHandle dc, const tagRECT& face) {
    if (m_drawPressed) {
        if (m_flat) {
            if (m_drawBorder) Edge(dc, face, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT));
        } else {
            Frame(dc, face, Sys(COLOR_BTNSHADOW));
        }
        return;
    }
    if (m_flat) {
        if (m_hover && m_drawBorder) Edge(dc, face, Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW));
        return;
    }
    // The 2-pixel 3-D edge of a raised button, as four polylines.
    const LONG l = face.left, t = face.top, r = face.right, b = face.bottom;
    Polyline(dc, Sys(COLOR_BTNHIGHLIGHT), {l, b - 1}, {l, t}, {r, t});
    Polyline(dc, Sys(COLOR_3DLIGHT), {l + 1, b - 1}, {l + 1, t + 1}, {r, t + 1});
    Polyline(dc, Sys(COLOR_3DDKSHADOW), {l, b - 1}, {r - 1, b - 1}, {r - 1, t - 1});
    Polyline(dc, Sys(COLOR_BTNSHADOW), {l + 1, b - 2}, {r - 2, b - 2}, {r - 2, t});
}

void CImageButton::PaintCaption(DcHandle dc, const std::wstring& text, const tagRECT& /*item*/, tagRECT& caption,
                                bool pressed, bool disabled) {
    if (pressed && !m_isCheckBox) OffsetRect(&caption, m_pressShift.x, m_pressShift.y);

    // Measured as a word-wrapped, centred block, then centred in the caption
    // area both ways (offsets truncated toward zero).
    const RECT area = caption;
    RECT block = area;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &block, kMeasureCaption);
    OffsetRect(&block, ((area.right - area.left) - (block.right - block.left)) / 2,
               ((area.bottom - area.top) - (block.bottom - block.top)) / 2);
    caption = block;

    SetBkMode(dc, TRANSPARENT);
    if (disabled) {
        RECT raised = block;
        OffsetRect(&raised, 1, 1);
        SetTextColor(dc, Sys(COLOR_BTNHIGHLIGHT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &raised, kDrawCaption);
        SetTextColor(dc, Sys(COLOR_BTNSHADOW));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &block, kDrawCaption);
        return;
    }
    SetTextColor(dc, TextColor());
    SetBkColor(dc, FaceColor());
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &block, kDrawCaption);
}
