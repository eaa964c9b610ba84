// The wireless window, measured through the real main window, the real port
// on a pseudo-terminal and a simulated receiver:
//
//   - from the enter reply on the line to the window shown, and to its grid
//     coloured (the long wait's 600 ms poll and the 100 ms first-colouring
//     timer are the design's share of it),
//   - one RefreshGrid of the 200 buttons, alone and with the repaint it causes,
//   - the peak memory of the process with the window open.
//
//   wireless_bench [openings] [refreshes]     (default 5 and 200)

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QApplication>

#include "BenchApp.h"
#include <QTimer>

#include "ui/main/ConfigDlg.h"
#include "serial/SerialPort.h"
#include "sim/Simulator.h"
#include "ui/wireless/WirelessDlg.h"
#include "widgets/qt/AppFonts.h"
#include "widgets/qt/MessageBoxQt.h"

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

constexpr int kIdSearch = 1001;
constexpr int kIdWireless = 1038;

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

void Print(const char* what, const std::vector<double>& samples, const char* target) {
    std::printf("%-52s median %8.2f ms   min %8.2f   max %8.2f   (%zu)  %s\n", what, Median(samples),
                *std::min_element(samples.begin(), samples.end()), *std::max_element(samples.begin(), samples.end()),
                samples.size(), target);
}

long PeakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    bench::CBenchApp app(argc, argv);
    const int openings = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int refreshes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;

    // When the receiver put its enter reply on the line.
    std::atomic<long long> enterReplyAt{0};
    sim::SimConfig config{.kind = sim::DeviceKind::Wireless, .address = 1, .baud = 2400};
    config.trace = [&](const std::string& line) {
        if (line.rfind("tx FB FB FB 01", 0) == 0) enterReplyAt = Clock::now().time_since_epoch().count();
    };
    sim::CSimulator device(config);
    device.Update([](sim::DeviceState& state) {
        for (std::size_t i = 0; i < 200; i += 3) state.wireless.SetConfigured(i, true);
    });
    qputenv("SENTRABUS_COM1", QByteArray::fromStdString(device.SlavePath()));
    SetMessageBoxHook([](const MessageBoxCall&) { return 1; });

    long rssBefore = 0;
    long rssOpen = 0;
    {
        CConfigDlg dlg;
        dlg.Create();
        dlg.show();
        dlg.ClickDlgItem(kIdSearch);
        rssBefore = PeakRssKiB();
        CWirelessDlg& wireless = dlg.WirelessWindow();

        std::vector<double> shown, coloured, refresh, refreshPainted;
        for (int round = 0; round < openings; ++round) {
            enterReplyAt = 0;
            // The buttons outlive the window: start each opening uncoloured.
            for (CImageButton& button : wireless.m_gridButtons) button.ResetColors(false);
            bool measuredRefresh = false;
            Clock::time_point shownAt{};
            QTimer poll;
            poll.setTimerType(Qt::PreciseTimer);
            QObject::connect(&poll, &QTimer::timeout, [&] {
                if (!wireless.isVisible()) return;
                if (shownAt == Clock::time_point{}) shownAt = Clock::now();
                ColorRef face = 0;
                wireless.m_gridButtons[0].GetStateColor(IB_COLOR_NORMAL_BACK, face);
                if (face != RgbColor(132, 202, 53)) return;
                const Clock::time_point colouredAt = Clock::now();
                const Clock::time_point replyAt{Clock::duration(enterReplyAt.load())};
                shown.push_back(Millis(shownAt - replyAt).count());
                coloured.push_back(Millis(colouredAt - replyAt).count());
                if (!measuredRefresh) {
                    measuredRefresh = true;
                    for (int i = 0; i < refreshes / openings + 1; ++i) {
                        auto start = Clock::now();
                        wireless.RefreshGrid();
                        refresh.push_back(Millis(Clock::now() - start).count());
                        start = Clock::now();
                        wireless.RefreshGrid();
                        (void)wireless.grab();  // paints every control of the window once
                        refreshPainted.push_back(Millis(Clock::now() - start).count());
                    }
                    rssOpen = std::max(rssOpen, PeakRssKiB());
                }
                poll.stop();
                wireless.done(0);
            });
            poll.start(1);
            dlg.ClickDlgItem(kIdWireless);
        }
        Print("enter reply on the line -> window shown", shown, "(design: one 600 ms poll)");
        Print("enter reply on the line -> grid coloured", coloured, "(design: + 100 ms timer)");
        Print("RefreshGrid, 200 buttons", refresh, "(target: under 5 ms)");
        Print("RefreshGrid and a paint of the whole window", refreshPainted, "");
    }
    std::printf("%-52s %8ld KiB before opening, %ld KiB with the window open\n", "peak RSS", rssBefore, rssOpen);
    SetMessageBoxHook({});
    g_serialPort.Close();
    return 0;
}
