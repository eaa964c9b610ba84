#pragma once
// The canvas control of the Windows dialogs: a plain child window of its own
// class that paints through a GDI CCanvasPainter, double-buffered, by asking
// its dialog for the drawing (the message kCanvasPaintMessage with a
// CanvasPaintRequest); the same drawing into a PNG file through GDI+, which
// is part of Windows.

#include <string>
#include <vector>

#include "widgets/CanvasPainter.h"
#include "Win32Api.h"

// The window class the dialog templates name for a canvas control; registered
// by the first call.
const wchar_t* CanvasClassName();

// Sent by a canvas to its dialog, wParam the canvas's control id, lParam a
// CanvasPaintRequest*.
inline constexpr UINT kCanvasPaintMessage = WM_APP + 0x2A0;
struct CanvasPaintRequest {
    CCanvasPainter* painter;
    int width;
    int height;
};

class CCanvasPainterWin32 final : public CCanvasPainter {
public:
    // Texts in `font` (the dialog's), titles in its bold form.
    CCanvasPainterWin32(HDC dc, HFONT font);
    ~CCanvasPainterWin32() override;
    CCanvasPainterWin32(const CCanvasPainterWin32&) = delete;
    CCanvasPainterWin32& operator=(const CCanvasPainterWin32&) = delete;

    void FillRect(const PixelRect& rect, ColorRef color) override;
    void Polyline(std::span<const CanvasPoint> points, ColorRef color, int width) override;
    void Text(const PixelRect& rect, std::string_view utf8, ColorRef color, CanvasAlign align, bool bold) override;

private:
    HDC m_dc;
    HFONT m_font;
    HFONT m_bold = nullptr;  // ours
    HPEN m_pen = nullptr;    // ours: the last colour and width asked for
    ColorRef m_penColor = 0;
    int m_penWidth = 0;
    HGDIOBJ m_oldFont;
    HGDIOBJ m_oldPen;
    std::vector<POINT> m_points;  // reused
};

// Draws the canvas afresh into a 32-bit picture of its size and writes it as
// a PNG file; false when the canvas has no size or the file was not written.
bool SaveCanvasPng(HWND canvas, const std::wstring& path);
