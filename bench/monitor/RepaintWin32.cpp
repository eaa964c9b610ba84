// The repaint on Windows: the canvas's drawing on GDI into a bitmap like the
// screen, then copied to the screen, as the canvas control's WM_PAINT does.

#include <chrono>

#include "MonitorBench.h"
#include "widgets/win32/CanvasWin32.h"

namespace bench {

const char* PainterName() { return "GDI"; }

std::vector<double> RepaintTimes(const CMonitor& monitor, std::span<const ChartSpec> charts, int width, int height,
                                 int runs) {
    std::vector<double> times;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    // The monitor window's font: 宋体 at 10 points on a 96 dpi screen.
    HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体");
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        {
            CCanvasPainterWin32 canvas(memory, font);
            DrawMonitorCharts(canvas, width, height, monitor, charts);
        }
        BitBlt(screen, 0, 0, width, height, memory, 0, 0, SRCCOPY);
        GdiFlush();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteObject(font);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return times;
}

}  // namespace bench
