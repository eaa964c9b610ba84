// How the image button draws itself: face, edge, images, caption and focus
// rectangle, in that order, from the state of the paint in progress.
//
// Rectangles are taken as the platform's drawing takes them: right and bottom
// lie just outside (r = left + width, b = top + height), and a line from one
// point to another leaves out its end point.

#include <QApplication>
#include <QPainter>
#include <QPalette>

#include <QMenu>

#include "ImageButtonQt.h"

namespace {

enum class SystemColor { Highlight, Shadow, Light3d, DarkShadow3d };

// The edges' colours, read from the application's palette at each paint.
QColor Sys(SystemColor which) {
    const QPalette palette = QApplication::palette();
    switch (which) {
        case SystemColor::Highlight: return palette.color(QPalette::Light);
        case SystemColor::Shadow: return palette.color(QPalette::Dark);
        case SystemColor::Light3d: return palette.color(QPalette::Midlight);
        case SystemColor::DarkShadow3d: return palette.color(QPalette::Shadow);
    }
    return {};
}

int RightOf(const QRect& r) { return r.left() + r.width(); }
int BottomOf(const QRect& r) { return r.top() + r.height(); }

// A horizontal or vertical line from `from` toward `to`, without `to`.
void Line(QPainter& dc, const QColor& color, QPoint from, QPoint to) {
    if (from.y() == to.y()) {
        const int left = std::min(from.x(), to.x() + 1);
        const int right = std::max(from.x() + 1, to.x());
        dc.fillRect(QRect(left, from.y(), right - left, 1), color);
    } else if (from.x() == to.x()) {
        const int top = std::min(from.y(), to.y() + 1);
        const int bottom = std::max(from.y() + 1, to.y());
        dc.fillRect(QRect(from.x(), top, 1, bottom - top), color);
    }
}

// Two joined lines: the corner point is drawn, the last point is not.
void Polyline(QPainter& dc, const QColor& color, QPoint a, QPoint b, QPoint c) {
    Line(dc, color, a, b);
    Line(dc, color, b, c);
}

// A 1-pixel edge: top and left in one colour, bottom and right in the other.
void Edge(QPainter& dc, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    dc.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
    dc.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
    dc.fillRect(QRect(r.left(), BottomOf(r) - 1, r.width(), 1), bottomRight);
    dc.fillRect(QRect(RightOf(r) - 1, r.top(), 1, r.height()), bottomRight);
}

void Frame(QPainter& dc, const QRect& r, const QColor& color) { Edge(dc, r, color, color); }

// The dotted focus rectangle: every other pixel of the outline.
void FocusRect(QPainter& dc, const QRect& r, const QColor& color) {
    if (r.width() <= 0 || r.height() <= 0) return;
    const int right = RightOf(r) - 1, bottom = BottomOf(r) - 1;
    for (int x = r.left(); x <= right; x += 2) {
        dc.fillRect(QRect(x, r.top(), 1, 1), color);
        dc.fillRect(QRect(x, bottom, 1, 1), color);
    }
    for (int y = r.top(); y <= bottom; y += 2) {
        dc.fillRect(QRect(r.left(), y, 1, 1), color);
        dc.fillRect(QRect(right, y, 1, 1), color);
    }
}

constexpr int kCaptionFlags = Qt::TextWordWrap | Qt::AlignHCenter | Qt::TextShowMnemonic;

}  // namespace

void CImageButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter dc(this);
    DrawItem(dc, {isDown(), hasFocus(), !isEnabled()}, rect());
}

void CImageButton::DrawItem(QPainter& dc, const DrawItemState& state, const QRect& item) {
    BeginPaint(state.selected, state.focus, state.disabled, m_menu != nullptr);

    QRect face = item;
    if (m_transparent) {
        PaintSavedBackground(dc);
    } else {
        PaintFace(dc, face);
    }
    PaintEdge(dc, face);

    const QString caption = text();
    QRect captionRect = item;
    if (HasIcon()) PaintIcon(dc, !caption.isEmpty(), item, captionRect, m_drawPressed, m_drawDisabled);
    if (HasBitmap()) PaintBitmap(dc, !caption.isEmpty(), item, captionRect, m_drawPressed, m_drawDisabled);
    if (!caption.isEmpty()) PaintCaption(dc, caption, item, captionRect, m_drawPressed, m_drawDisabled);

    if ((!m_flat || m_drawFlatFocus) && m_drawFocused)
        FocusRect(dc, face.adjusted(3, 3, -3, -3), ToQColor(m_colors[IB_COLOR_NORMAL_TEXT]));
}

void CImageButton::PaintFace(QPainter& dc, QRect& face) {
    if (!m_flat && (m_drawFocused || m_isDefault)) {
        Frame(dc, face, Qt::black);
        face.adjust(1, 1, -1, -1);
    }
    dc.fillRect(face, ToQColor(FaceColor()));
}

void CImageButton::PaintEdge(QPainter& dc, const QRect& face) {
    if (m_drawPressed) {
        if (m_flat) {
            if (m_drawBorder) Edge(dc, face, Sys(SystemColor::Shadow), Sys(SystemColor::Highlight));
        } else {
            Frame(dc, face, Sys(SystemColor::Shadow));
        }
        return;
    }
    if (m_flat) {
        if (m_hover && m_drawBorder) Edge(dc, face, Sys(SystemColor::Highlight), Sys(SystemColor::Shadow));
        return;
    }
    // The 2-pixel 3-D edge of a raised button, as four polylines.
    const int l = face.left(), t = face.top(), r = RightOf(face), b = BottomOf(face);
    Polyline(dc, Sys(SystemColor::Highlight), {l, b - 1}, {l, t}, {r, t});
    Polyline(dc, Sys(SystemColor::Light3d), {l + 1, b - 1}, {l + 1, t + 1}, {r, t + 1});
    Polyline(dc, Sys(SystemColor::DarkShadow3d), {l, b - 1}, {r - 1, b - 1}, {r - 1, t - 1});
    Polyline(dc, Sys(SystemColor::Shadow), {l + 1, b - 2}, {r - 2, b - 2}, {r - 2, t});
}

void CImageButton::PaintCaption(QPainter& dc, const QString& text, const QRect& /*item*/, QRect& caption,
                                bool pressed, bool disabled) {
    if (pressed && !m_isCheckBox) caption.translate(m_pressShift.x, m_pressShift.y);

    // Measured as a word-wrapped, centred block, then centred in the caption
    // area both ways (offsets truncated toward zero).
    const QRect area = caption;
    dc.setFont(font());
    const QRect measured = dc.boundingRect(QRect(area.topLeft(), area.size()), kCaptionFlags, text);
    const QRect block(area.left() + (area.width() - measured.width()) / 2,
                      area.top() + (area.height() - measured.height()) / 2, measured.width(), measured.height());

    if (disabled) {
        dc.setPen(Sys(SystemColor::Highlight));
        dc.drawText(block.translated(1, 1), kCaptionFlags, text);
        dc.setPen(Sys(SystemColor::Shadow));
        dc.drawText(block, kCaptionFlags, text);
        return;
    }
    dc.setPen(ToQColor(TextColor()));
    dc.drawText(block, kCaptionFlags, text);
}
