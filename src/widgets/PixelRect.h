#pragma once
// A rectangle in pixels as the platforms' drawing takes it: [left, right) x
// [top, bottom), so right = left + width. The image button and the canvas
// both lay out in it.

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const PixelRect&) const = default;
};
