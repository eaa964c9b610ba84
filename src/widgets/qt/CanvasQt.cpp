#include "CanvasQt.h"

#include "ColorRefQt.h"
#include "res/DialogTemplate.h"

CCanvasPainterQt::CCanvasPainterQt(QPainter& painter, const QFont& font)
    : m_painter(painter), m_font(font), m_bold(font) {
    m_bold.setBold(true);
    // Pixels as the layout placed them, as GDI draws them.
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

void CCanvasPainterQt::FillRect(const PixelRect& rect, ColorRef color) {
    if (rect.Width() <= 0 || rect.Height() <= 0) return;
    m_painter.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(color));
}

void CCanvasPainterQt::Polyline(std::span<const CanvasPoint> points, ColorRef color, int width) {
    m_points.resize(static_cast<qsizetype>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i) m_points[static_cast<qsizetype>(i)] = {points[i].x, points[i].y};
    QPen pen(ToQColor(color), width);
    pen.setCapStyle(Qt::SquareCap);
    m_painter.setPen(pen);
    m_painter.drawPolyline(m_points.constData(), static_cast<int>(m_points.size()));
}

void CCanvasPainterQt::Text(const PixelRect& rect, std::string_view utf8, ColorRef color, CanvasAlign align,
                            bool bold) {
    Qt::Alignment flags = Qt::AlignVCenter;
    flags |= align == CanvasAlign::Left ? Qt::AlignLeft : align == CanvasAlign::Right ? Qt::AlignRight : Qt::AlignHCenter;
    m_painter.setFont(bold ? m_bold : m_font);
    m_painter.setPen(ToQColor(color));
    const QRect area(rect.left, rect.top, rect.Width(), rect.Height());
    m_painter.save();
    m_painter.setClipRect(area);
    m_painter.drawText(area, static_cast<int>(flags | Qt::TextSingleLine),
                       QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    m_painter.restore();
}

CCanvasQt::CCanvasQt(CanvasPaint paint, QWidget* parent) : QWidget(parent), m_paint(std::move(paint)) {
    // Every pixel is drawn: nothing to clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CCanvasQt::Draw(QPainter& painter) const {
    CCanvasPainterQt canvas(painter, font());
    if (m_paint) m_paint(canvas, width(), height());
}

void CCanvasQt::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    Draw(painter);
}

QImage CCanvasQt::Render() const {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    Draw(painter);
    return image;
}

QFont LargeFont(const QFont& dialogFont) {
    QFont large = dialogFont;
    if (large.pointSizeF() > 0) {
        large.setPointSizeF(large.pointSizeF() * DlgStyle::kLargeTextScale);
    } else {
        large.setPixelSize(static_cast<int>(large.pixelSize() * DlgStyle::kLargeTextScale));
    }
    large.setBold(true);
    return large;
}
