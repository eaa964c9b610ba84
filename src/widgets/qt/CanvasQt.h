#pragma once
// The canvas control of the Qt dialogs: a plain widget that a handler draws
// through a CCanvasPainter on a QPainter, and the same drawing into a picture.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include "widgets/CanvasPainter.h"

class CCanvasPainterQt final : public CCanvasPainter {
public:
    // Texts in `font`, titles in its bold form.
    CCanvasPainterQt(QPainter& painter, const QFont& font);
    void FillRect(const PixelRect& rect, ColorRef color) override;
    void Polyline(std::span<const CanvasPoint> points, ColorRef color, int width) override;
    void Text(const PixelRect& rect, std::string_view utf8, ColorRef color, CanvasAlign align, bool bold) override;

private:
    QPainter& m_painter;
    QFont m_font;
    QFont m_bold;
    QVector<QPoint> m_points;  // reused
};

class CCanvasQt final : public QWidget {
public:
    CCanvasQt(CanvasPaint paint, QWidget* parent);
    // What the widget shows, drawn afresh at its size.
    QImage Render() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Draw(QPainter& painter) const;
    CanvasPaint m_paint;
};

// The font of a static text with the LargeText style.
QFont LargeFont(const QFont& dialogFont);
