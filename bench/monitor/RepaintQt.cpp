// The repaint on Linux: the canvas's drawing on a QPainter into a QImage, as
// the canvas widget paints into its window's backing store.

#include <chrono>

#include "BenchApp.h"
#include "MonitorBench.h"
#include "widgets/qt/CanvasQt.h"

namespace bench {

const char* PainterName() { return "QPainter"; }

std::vector<double> RepaintTimes(const CMonitor& monitor, std::span<const ChartSpec> charts, int width, int height,
                                 int runs) {
    static int argc = 1;
    static char name[] = "monitor_bench";
    static char* argv[] = {name, nullptr};
    static CBenchApp app(argc, argv);
    QImage image(width, height, QImage::Format_RGB32);
    const QFont font(QStringLiteral("宋体"), 10);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        {
            QPainter painter(&image);
            CCanvasPainterQt canvas(painter, font);
            DrawMonitorCharts(canvas, width, height, monitor, charts);
        }
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    return times;
}

}  // namespace bench
