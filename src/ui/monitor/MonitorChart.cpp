#include "MonitorChart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

// Two points per column keep a spike visible at any width.
constexpr int kPixelsPerColumn = 2;
// Room around the plot for the title, the value labels and the time labels.
constexpr int kTitleHeight = 18;
constexpr int kValueLabelWidth = 58;
constexpr int kTimeLabelHeight = 18;
constexpr int kRightMargin = 14;
// Pixels per label, at least, so that labels never run into each other.
constexpr int kValueTickSpacing = 28;
constexpr int kTimeTickSpacing = 80;
// A dash of a limit line: on, then off, two pixels thick.
constexpr int kDashOn = 6;
constexpr int kDashOff = 4;
constexpr int kLimitThickness = 2;

constexpr ColorRef kBackground = RgbColor(240, 240, 240);
constexpr ColorRef kPlotBackground = RgbColor(255, 255, 255);
constexpr ColorRef kGrid = RgbColor(228, 228, 228);
constexpr ColorRef kFrame = RgbColor(150, 150, 150);
constexpr ColorRef kText = RgbColor(40, 40, 40);

// The warning code of each state reading.
double WarningCode(Reading reading) { return reading == Reading::WaterLeak ? 2 : 1; }

const char* LaneName(Reading reading) { return reading == Reading::WaterLeak ? "water leak" : "power failure"; }

// The samples' time span over the charted readings, at least a second.
std::pair<std::uint32_t, std::uint32_t> TimeSpan(const CMonitor& monitor, std::span<const ChartSpec> charts) {
    std::optional<std::uint32_t> from, to;
    for (const ChartSpec& chart : charts) {
        for (const Reading reading : chart.readings) {
            const std::vector<Sample>& series = monitor.Series(reading);
            if (series.empty()) continue;
            from = std::min(from.value_or(series.front().timeMs), series.front().timeMs);
            to = std::max(to.value_or(series.back().timeMs), series.back().timeMs);
        }
    }
    const std::uint32_t first = from.value_or(0);
    return {first, std::max(to.value_or(0), first + 1000)};
}

// The x range of column c of `columns` across the plot.
int ColumnLeft(const PixelRect& plot, std::size_t c, std::size_t columns) {
    return plot.left + static_cast<int>(static_cast<std::size_t>(plot.Width()) * c / columns);
}

void HorizontalLine(CCanvasPainter& painter, int left, int right, int y, ColorRef color) {
    painter.FillRect({left, y, right, y + 1}, color);
}

void DashedLine(CCanvasPainter& painter, const PixelRect& plot, int y, ColorRef color) {
    const int top = std::clamp(y - kLimitThickness / 2, plot.top, plot.bottom - kLimitThickness);
    for (int x = plot.left; x < plot.right; x += kDashOn + kDashOff)
        painter.FillRect({x, top, std::min(x + kDashOn, plot.right), top + kLimitThickness}, color);
}

void DrawFrame(CCanvasPainter& painter, const PixelRect& plot) {
    HorizontalLine(painter, plot.left - 1, plot.right + 1, plot.top - 1, kFrame);
    HorizontalLine(painter, plot.left - 1, plot.right + 1, plot.bottom, kFrame);
    painter.FillRect({plot.left - 1, plot.top, plot.left, plot.bottom}, kFrame);
    painter.FillRect({plot.right, plot.top, plot.right + 1, plot.bottom}, kFrame);
}

void DrawTimeAxis(CCanvasPainter& painter, const ChartFrame& frame, const CMonitor& monitor) {
    const auto origin = monitor.StartWallTime();
    const std::int64_t originMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(origin.time_since_epoch()).count();
    const int most = std::max(1, frame.plot.Width() / kTimeTickSpacing);
    for (const TimeTick& tick :
         WallClockTicks(frame.fromMs, frame.toMs, originMs, LocalUtcOffsetSeconds(origin), most)) {
        const int x = frame.XOf(tick.ms);
        painter.FillRect({x, frame.plot.top, x + 1, frame.plot.bottom}, kGrid);
        const int half = kTimeTickSpacing / 2;
        // A label at the very start would run into the lowest value's label.
        if (x - half < frame.plot.left - kValueLabelWidth / 2) continue;
        painter.Text({x - half, frame.plot.bottom + 2, x + half, frame.plot.bottom + kTimeLabelHeight}, tick.label,
                     kText, CanvasAlign::Centre, false);
    }
}

// The value line: a point at the lowest and the highest value of each column,
// runs broken where a poll failed; the shading of the time outside the limits
// under it.
void DrawQuantity(CCanvasPainter& painter, ChartFrame& frame, const CMonitor& monitor, const ChartSpec& chart) {
    const PixelRect& plot = frame.plot;
    const auto columns = static_cast<std::size_t>(std::max(1, plot.Width() / kPixelsPerColumn));
    const std::vector<ChartColumn> view =
        monitor.Decimated(chart.readings.front(), frame.fromMs, frame.toMs, columns);

    std::optional<double> low, high;
    const auto widen = [&](double value) {
        low = std::min(low.value_or(value), value);
        high = std::max(high.value_or(value), value);
    };
    for (const ChartColumn& column : view) {
        if (column.low) widen(*column.low);
        if (column.high) widen(*column.high);
    }
    for (const std::optional<double>& limit : {chart.limits.upper, chart.limits.lower}) {
        if (limit) widen(*limit);
    }
    // A little room above and below, so that no line runs along the frame.
    const double lo = low.value_or(0), hi = high.value_or(1);
    const double pad = std::max((hi - lo) * 0.05, 0.5);
    const AxisTicks ticks = NiceTicks(lo - pad, hi + pad, std::max(1, plot.Height() / kValueTickSpacing));
    frame.valueLow = ticks.first;
    frame.valueHigh = ticks.Last();

    const auto outside = [&](const ChartColumn& column) {
        return column.low && ((chart.limits.upper && *column.high > *chart.limits.upper) ||
                              (chart.limits.lower && *column.low < *chart.limits.lower));
    };
    // Outside the limits from such a column up to the next column with a
    // value inside them (or a failed poll), in one rectangle.
    for (std::size_t c = 0; c < view.size(); ++c) {
        if (!outside(view[c])) continue;
        std::size_t next = c + 1;
        for (;;) {
            while (next < view.size() && !view[next].low && !view[next].gap) ++next;
            if (next == view.size() || !outside(view[next])) break;
            ++next;
        }
        painter.FillRect({ColumnLeft(plot, c, columns), plot.top, ColumnLeft(plot, next, columns), plot.bottom},
                         chart_colors::kOutsideLimits);
        c = next - 1;
    }

    for (int i = 0; i < ticks.count; ++i) {
        const int y = frame.YOf(ticks.At(i));
        HorizontalLine(painter, plot.left, plot.right, y, kGrid);
        painter.Text({0, y - 9, plot.left - 6, y + 9}, TickLabel(ticks.At(i), ticks.decimals), kText,
                     CanvasAlign::Right, false);
    }
    DrawTimeAxis(painter, frame, monitor);

    std::vector<CanvasPoint> run;
    run.reserve(2 * view.size());
    const auto flush = [&] {
        if (run.size() == 1) {
            // A lone sample between gaps: a dot, as a line through one point shows nothing.
            painter.FillRect({run[0].x - 1, run[0].y - 1, run[0].x + 1, run[0].y + 1}, chart_colors::kValue);
        } else if (!run.empty()) {
            painter.Polyline(run, chart_colors::kValue, 1);
        }
        run.clear();
    };
    for (std::size_t c = 0; c < view.size(); ++c) {
        const ChartColumn& column = view[c];
        // A failed poll breaks the line; a column no poll fell in does not.
        if (column.gap) flush();
        if (!column.low) continue;
        const int x = (ColumnLeft(plot, c, columns) + ColumnLeft(plot, c + 1, columns)) / 2;
        run.push_back({x, frame.YOf(*column.low)});
        if (*column.high != *column.low) run.push_back({x, frame.YOf(*column.high)});
    }
    flush();

    if (chart.limits.upper) DashedLine(painter, plot, frame.YOf(*chart.limits.upper), chart_colors::kUpperLimit);
    if (chart.limits.lower) DashedLine(painter, plot, frame.YOf(*chart.limits.lower), chart_colors::kLowerLimit);
}

// A lane per state reading, shaded where it warns and grey where its poll failed.
void DrawStates(CCanvasPainter& painter, ChartFrame& frame, const CMonitor& monitor, const ChartSpec& chart) {
    const PixelRect& plot = frame.plot;
    const auto columns = static_cast<std::size_t>(std::max(1, plot.Width() / kPixelsPerColumn));
    const auto lanes = static_cast<int>(chart.readings.size());
    frame.valueLow = 0;
    frame.valueHigh = lanes;
    DrawTimeAxis(painter, frame, monitor);
    for (int lane = 0; lane < lanes; ++lane) {
        const Reading reading = chart.readings[static_cast<std::size_t>(lane)];
        const int top = plot.top + plot.Height() * lane / lanes;
        const int bottom = plot.top + plot.Height() * (lane + 1) / lanes;
        const double code = WarningCode(reading);
        const std::vector<ChartColumn> view = monitor.Decimated(reading, frame.fromMs, frame.toMs, columns);
        // Each column warns, failed or neither; one without samples holds
        // the state of the last one before it until the next sample. Runs of
        // one kind become one rectangle each.
        std::vector<int> kinds(view.size(), 0);
        int held = 0;
        for (std::size_t c = 0; c < view.size(); ++c) {
            if (view[c].gap) {
                held = 2;
            } else if (view[c].low) {
                held = *view[c].low <= code && code <= *view[c].high ? 1 : 0;
            }
            kinds[c] = held;
        }
        for (std::size_t c = 0; c < view.size();) {
            std::size_t end = c + 1;
            while (end < view.size() && kinds[end] == kinds[c]) ++end;
            if (kinds[c] != 0) {
                painter.FillRect({ColumnLeft(plot, c, columns), top + 2, ColumnLeft(plot, end, columns), bottom - 2},
                                 kinds[c] == 1 ? chart_colors::kWarning : chart_colors::kFailedPoll);
            }
            c = end;
        }
        if (lane > 0) HorizontalLine(painter, plot.left, plot.right, top, kGrid);
        // Inside the lane, at its top left: the names are wider than the value labels' margin.
        painter.Text({plot.left + 4, top + 2, plot.right - 4, top + 18}, LaneName(reading), kText, CanvasAlign::Left,
                     false);
    }
}

}  // namespace

AxisTicks NiceTicks(double low, double high, int most) {
    if (!std::isfinite(low) || !std::isfinite(high)) low = 0, high = 1;
    if (high < low) std::swap(low, high);
    if (high - low < 1e-9) low -= 1, high += 1;
    most = std::max(most, 1);
    const double raw = (high - low) / most;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    AxisTicks ticks;
    for (const double multiple : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        ticks.step = multiple * magnitude;
        ticks.first = std::floor(low / ticks.step + 1e-9) * ticks.step;
        const double last = std::ceil(high / ticks.step - 1e-9) * ticks.step;
        ticks.count = static_cast<int>(std::lround((last - ticks.first) / ticks.step)) + 1;
        if (ticks.count - 1 <= most) break;
    }
    // As many decimals as the step has: 2.5 needs one, 0.25 two, 25 none.
    ticks.decimals = 0;
    for (double scaled = ticks.step; ticks.decimals < 9; scaled *= 10, ++ticks.decimals) {
        if (std::fabs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled)) break;
    }
    return ticks;
}

std::string TickLabel(double value, int decimals) {
    std::array<char, 48> text{};
    std::snprintf(text.data(), text.size(), "%.*f", decimals, value);
    std::string label = text.data();
    // A value that rounds to zero is written without a sign.
    if (label.starts_with('-') && label.find_first_not_of("-0.") == std::string::npos) label.erase(0, 1);
    return label;
}

std::vector<TimeTick> WallClockTicks(std::uint32_t fromMs, std::uint32_t toMs, std::int64_t originEpochMs,
                                     int utcOffsetS, int most) {
    static constexpr std::array<std::int64_t, 18> kStepsS = {1,   2,    5,    10,   15,   30,    60,    120,   300,
                                                             600, 900, 1800, 3600, 7200, 10800, 21600, 43200, 86400};
    std::vector<TimeTick> ticks;
    if (toMs <= fromMs) return ticks;
    const std::int64_t spanMs = toMs - fromMs;
    std::int64_t stepMs = kStepsS.back() * 1000;
    for (const std::int64_t stepS : kStepsS) {
        if (spanMs / (stepS * 1000) <= std::max(most, 1)) {
            stepMs = stepS * 1000;
            break;
        }
    }
    // Round on the local clock: ticks fall on its whole minutes, hours, ...
    const std::int64_t localOrigin = originEpochMs + static_cast<std::int64_t>(utcOffsetS) * 1000;
    const auto floorDiv = [](std::int64_t a, std::int64_t b) { return a / b - (a % b < 0 ? 1 : 0); };
    std::int64_t local = (floorDiv(localOrigin + fromMs - 1, stepMs) + 1) * stepMs;
    for (; local <= localOrigin + toMs; local += stepMs) {
        const std::int64_t secondOfDay = floorDiv(local, 1000) - floorDiv(local, 86400000) * 86400;
        std::array<char, 16> text{};
        if (stepMs < 60000) {
            std::snprintf(text.data(), text.size(), "%02d:%02d:%02d", static_cast<int>(secondOfDay / 3600),
                          static_cast<int>(secondOfDay / 60 % 60), static_cast<int>(secondOfDay % 60));
        } else {
            std::snprintf(text.data(), text.size(), "%02d:%02d", static_cast<int>(secondOfDay / 3600),
                          static_cast<int>(secondOfDay / 60 % 60));
        }
        ticks.push_back({static_cast<std::uint32_t>(local - localOrigin), text.data()});
    }
    return ticks;
}

int LocalUtcOffsetSeconds(std::chrono::system_clock::time_point at) {
    const std::time_t t = std::chrono::system_clock::to_time_t(at);
    std::tm local{};
#if defined(_WIN32)
    if (localtime_s(&local, &t) != 0) return 0;
#else
    if (localtime_r(&t, &local) == nullptr) return 0;
#endif
    const int localSecond = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    const int utcSecond = static_cast<int>(((t % 86400) + 86400) % 86400);
    int offset = localSecond - utcSecond;
    // The two clocks may be on different days: offsets run from -12 h to +14 h.
    if (offset > 14 * 3600) offset -= 86400;
    if (offset < -12 * 3600) offset += 86400;
    return offset;
}

int ChartFrame::YOf(double value) const {
    const double span = valueHigh > valueLow ? valueHigh - valueLow : 1;
    const double y = plot.top + (valueHigh - value) / span * (plot.Height() - 1);
    return static_cast<int>(std::lround(std::clamp(y, -1e6, 1e6)));
}

int ChartFrame::XOf(std::uint32_t ms) const {
    const double span = toMs > fromMs ? toMs - fromMs : 1;
    return plot.left + static_cast<int>(std::lround((static_cast<double>(ms) - fromMs) / span * (plot.Width() - 1)));
}

std::vector<ChartFrame> DrawMonitorCharts(CCanvasPainter& painter, int width, int height, const CMonitor& monitor,
                                          std::span<const ChartSpec> charts) {
    painter.FillRect({0, 0, width, height}, kBackground);
    std::vector<ChartFrame> frames;
    if (charts.empty()) return frames;
    const auto [fromMs, toMs] = TimeSpan(monitor, charts);
    // A quantity chart gets three shares of the height, a state chart two.
    int shares = 0;
    for (const ChartSpec& chart : charts) shares += chart.stateBands ? 2 : 3;
    int top = 0;
    for (const ChartSpec& chart : charts) {
        const int bottom = top + height * (chart.stateBands ? 2 : 3) / shares;
        ChartFrame frame;
        frame.fromMs = fromMs;
        frame.toMs = toMs;
        frame.plot = {kValueLabelWidth, top + kTitleHeight, std::max(kValueLabelWidth + 1, width - kRightMargin),
                      std::max(top + kTitleHeight + 1, bottom - kTimeLabelHeight)};
        painter.FillRect(frame.plot, kPlotBackground);
        painter.Text({kValueLabelWidth, top + 1, width - kRightMargin, top + kTitleHeight - 1}, chart.title, kText,
                     CanvasAlign::Left, true);
        if (!chart.readings.empty()) {
            if (chart.stateBands) {
                DrawStates(painter, frame, monitor, chart);
            } else {
                DrawQuantity(painter, frame, monitor, chart);
            }
        }
        DrawFrame(painter, frame.plot);
        frames.push_back(frame);
        top = bottom;
    }
    return frames;
}
