// monitor_bench: what a day of monitoring costs and how steadily it polls.
//
//   build/default/bench/monitor_bench [--polls N]
//   wine build/windows-core/bench/monitor_bench.exe
//
//  1. 24 hours at 1 Hz of eight readings (691 200 samples) held by the
//     monitor: the resident memory they add.
//  2. A full repaint of the charts over that day (four quantity charts and
//     the state bands, 980 x 640) on the platform's painter: median and
//     worst of 20.
//  3. Linux only: `sentrabus-cli monitor` at 1 Hz against a device that
//     answers after 15 ms, N polls (default 30): the gaps between polls (from
//     the time stamps of its JSON lines) and the program's CPU over the run.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "MonitorBench.h"
#include "serial/SerialPort.h"

namespace {

// A day of samples: slow waves, a failed exchange now and then.
void FillADay(CMonitor& monitor) {
    constexpr std::uint32_t kSeconds = 24 * 3600;
    for (std::uint32_t t = 0; t < kSeconds; ++t) {
        for (const ReadingInfo& info : AllReadings()) {
            Sample s;
            s.timeMs = t * 1000 + static_cast<std::uint32_t>(info.reading) * 20;
            s.latencyMs = 47;
            s.outcome = t % 997 == 0 ? SampleOutcome::NoReply : SampleOutcome::Ok;
            const double wave = std::sin(t / 3600.0 + static_cast<double>(info.reading));
            s.word = static_cast<std::uint16_t>(250 + 100 * wave);
            if (info.reading == Reading::WaterLeak) s.word = t % 7200 < 300 ? 2 : 1;
            if (info.reading == Reading::PowerFailure) s.word = t % 10000 < 100 ? 1 : 0;
            monitor.Record(info.reading, s);
        }
    }
}

// Draws nothing: what the layout and the decimation cost alone.
class CNullPainter final : public CCanvasPainter {
public:
    void FillRect(const PixelRect&, ColorRef) override {}
    void Polyline(std::span<const CanvasPoint>, ColorRef, int) override {}
    void Text(const PixelRect&, std::string_view, ColorRef, CanvasAlign, bool) override {}
};

double LayoutMedianMs(const CMonitor& monitor, std::span<const ChartSpec> charts) {
    CNullPainter painter;
    std::vector<double> times;
    for (int i = 0; i < 20; ++i) {
        const auto start = std::chrono::steady_clock::now();
        DrawMonitorCharts(painter, 980, 640, monitor, charts);
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    return bench::Quantile(times, 0.5);
}

}  // namespace

int main(int argc, char** argv) {
    int polls = 30;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--polls") == 0) polls = std::max(2, std::atoi(argv[i + 1]));
    }
    CSerialPort port;
    std::atomic<bool> open{false};
    CDeviceSession session(port, open);
    CMonitor monitor(session);

    const long before = bench::ResidentKb();
    FillADay(monitor);
    const long after = bench::ResidentKb();
    std::size_t samples = 0;
    for (const ReadingInfo& info : AllReadings()) samples += monitor.Series(info.reading).size();
    std::printf("a day at 1 Hz of 8 readings: %zu samples, %.1f MB more resident (goal: 60 MB)\n", samples,
                (after - before) / 1024.0);

    // The window's charts when every reading is polled.
    std::vector<ChartSpec> charts;
    for (const Reading r : {Reading::Temperature, Reading::Humidity, Reading::Light, Reading::Co2})
        charts.push_back({"chart", {r}, false, {35.0, 15.0}});
    charts.push_back({"states", {Reading::WaterLeak, Reading::PowerFailure}, true, {}});
    std::vector<double> repaint = bench::RepaintTimes(monitor, charts, 980, 640, 21);
    repaint.erase(repaint.begin());  // the first warms the caches
    std::printf("full repaint of the charts over the day (%s, 980 x 640): median %.1f ms, worst %.1f ms "
                "(goal: 8 ms)\n",
                bench::PainterName(), bench::Quantile(repaint, 0.5), bench::Quantile(repaint, 1.0));
    std::printf("  of which the layout and the decimation of the day: median %.1f ms\n",
                LayoutMedianMs(monitor, charts));

    bench::PollTiming(polls);
    return 0;
}
