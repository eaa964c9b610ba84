#pragma once
// What a canvas control is drawn with: filled rectangles, lines and single
// lines of text, in the canvas's pixels (origin at its top-left corner). Each
// platform has one painter (a QPainter on Linux, GDI on Windows); the window's
// handler draws through this interface alone, so that one drawing serves both
// and the pixels agree: a dashed line is drawn as short rectangles, not left
// to each platform's idea of a dash.

#include <functional>
#include <span>
#include <string_view>

#include "ColorRef.h"
#include "PixelRect.h"

struct CanvasPoint {
    int x = 0;
    int y = 0;
};


enum class CanvasAlign { Left, Centre, Right };

class CCanvasPainter {
public:
    virtual ~CCanvasPainter() = default;
    virtual void FillRect(const PixelRect& rect, ColorRef color) = 0;
    // A solid line `width` pixels wide through the points, each one included.
    virtual void Polyline(std::span<const CanvasPoint> points, ColorRef color, int width) = 0;
    // One line of text, centred vertically in `rect`, in the dialog's font
    // (bold for titles); clipped to `rect`.
    virtual void Text(const PixelRect& rect, std::string_view utf8, ColorRef color, CanvasAlign align,
                      bool bold) = 0;
};

// Draws a whole canvas of width x height pixels.
using CanvasPaint = std::function<void(CCanvasPainter& painter, int width, int height)>;
