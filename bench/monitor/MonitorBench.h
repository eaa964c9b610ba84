#pragma once
// The platform's parts of monitor_bench: the repaint of the charts on its
// painter (RepaintQt.cpp, RepaintWin32.cpp), the process's resident memory
// and the poll timing of sentrabus-cli (HostPosix.cpp, HostWin32.cpp).

#include <algorithm>
#include <span>
#include <vector>

#include "ui/monitor/MonitorChart.h"

namespace bench {

inline double Quantile(std::vector<double> values, double q) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1) + 0.5)];
}

// The time of each of `runs` full repaints of `charts` on a width x height
// canvas, in ms: the layout, the decimation of every series and the drawing,
// as the canvas's paint does it, and the copy to the screen where there is one.
std::vector<double> RepaintTimes(const CMonitor& monitor, std::span<const ChartSpec> charts, int width, int height,
                                 int runs);
// What the platform calls the repaint ("QPainter on a QImage", "GDI").
const char* PainterName();

long ResidentKb();
// Prints the poll timing of `polls` polls of sentrabus-cli, or why not.
void PollTiming(int polls);

}  // namespace bench
