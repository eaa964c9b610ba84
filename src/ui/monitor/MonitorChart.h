#pragma once
// The monitor's charts, laid out in pixels and drawn through a canvas painter,
// so that the Linux and the Windows window draw the same picture from the same
// decimated view of the samples: per chart a title, a value axis with ticks at
// round values, a time axis in the local wall-clock time, the value as a line
// of the lowest and highest value of each two-pixel column (broken where a poll
// failed, never drawn as a zero), the device's alarm limits as dashed lines and
// the time outside them shaded. A state chart has a lane per reading (water
// leak, power failure), shaded where it warns and grey where a poll failed.

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/Monitor.h"
#include "widgets/CanvasPainter.h"

struct ChartLimits {
    std::optional<double> upper;
    std::optional<double> lower;
};

// Ticks at round values: `first` + i * `step` for i in [0, count), steps of 1,
// 2, 2.5 or 5 times a power of ten; the axis runs from the first to the last.
struct AxisTicks {
    double first = 0;
    double step = 1;
    int count = 2;
    int decimals = 0;  // of the labels: as many as the step needs
    double Last() const { return first + step * (count - 1); }
    double At(int i) const { return first + step * i; }
};
// Covers [low, high] in at most `most` steps.
AxisTicks NiceTicks(double low, double high, int most);
// "12.5", "-2", never "-0".
std::string TickLabel(double value, int decimals);

// A tick of the time axis: ms since the monitor's start, and its wall-clock
// label ("14:05" or "14:05:30" when the step is under a minute).
struct TimeTick {
    std::uint32_t ms = 0;
    std::string label;
};
// Ticks between fromMs and toMs at a round step of the clock (1 s to 1 day),
// at most `most` of them; `originEpochMs` is the wall-clock time of ms 0 and
// `utcOffsetS` the local clock's offset from UTC.
std::vector<TimeTick> WallClockTicks(std::uint32_t fromMs, std::uint32_t toMs, std::int64_t originEpochMs,
                                     int utcOffsetS, int most);
// The local clock's offset from UTC at `at`, in seconds.
int LocalUtcOffsetSeconds(std::chrono::system_clock::time_point at);

struct ChartSpec {
    std::string title;
    std::vector<Reading> readings;  // the quantity, or the state chart's lanes
    bool stateBands = false;
    ChartLimits limits;
};

// Where a chart was drawn: its plot area and its scales.
struct ChartFrame {
    PixelRect plot;
    double valueLow = 0;
    double valueHigh = 1;
    std::uint32_t fromMs = 0;
    std::uint32_t toMs = 1000;
    int YOf(double value) const;
    int XOf(std::uint32_t ms) const;
};

namespace chart_colors {
inline constexpr ColorRef kUpperLimit = RgbColor(200, 30, 30);
inline constexpr ColorRef kLowerLimit = RgbColor(30, 60, 200);
inline constexpr ColorRef kValue = RgbColor(20, 120, 40);
inline constexpr ColorRef kOutsideLimits = RgbColor(250, 215, 215);
inline constexpr ColorRef kWarning = RgbColor(235, 140, 30);
inline constexpr ColorRef kFailedPoll = RgbColor(215, 215, 215);
}  // namespace chart_colors

// Draws the charts one above the other on a canvas of width x height, from the
// monitor's samples between the first and the last one, and says where each
// went (in the order of `charts`).
std::vector<ChartFrame> DrawMonitorCharts(CCanvasPainter& painter, int width, int height, const CMonitor& monitor,
                                          std::span<const ChartSpec> charts);
