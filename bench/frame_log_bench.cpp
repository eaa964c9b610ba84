// What the frame log window costs an exchange: temperature reads through the
// real main window, port and simulator, timed as the handler blocks, with the
// frame log window never opened and with it open, following every row. The
// rounds alternate, each with a main window of its own, so that a slow spell
// of the machine falls on both.
//
//   frame_log_bench [reads per round]     (default 250; four rounds of each)
//
// The log records in both cases; what differs is the window that keeps up
// with it. Target: at most 1 ms more at the median.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QApplication>

#include "BenchApp.h"
#include <QTest>

#include "ui/main/ConfigDlg.h"
#include "protocol/FrameLog.h"
#include "serial/SerialPort.h"
#include "sim/Simulator.h"
#include "ui/log/FrameLogModel.h"
#include "ui/log/FrameLogWnd.h"
#include "widgets/qt/AppFonts.h"
#include "widgets/qt/MessageBoxQt.h"

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

constexpr int kIdSearch = 1001;
constexpr int kIdReadTemperature = 1005;
constexpr int kRounds = 4;

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

// One main window on the device: a search, then `reads` reads, each timed.
// Returns false when a read failed or the log window fell behind.
bool RunRound(bool withLogWindow, int reads, std::vector<double>& samples) {
    CConfigDlg dlg;
    dlg.Create();
    dlg.show();
    dlg.ClickDlgItem(kIdSearch);
    if (withLogWindow) dlg.OnFrameLog();
    for (int i = 0; i < reads; ++i) {
        dlg.Busy().Clear();  // what the tick of timer 1 does between reads
        const auto start = Clock::now();
        dlg.ClickDlgItem(kIdReadTemperature);
        samples.push_back(Millis(Clock::now() - start).count());
        if (dlg.GetDlgItemText(1014) != "25.0") {
            std::fprintf(stderr, "read failed: '%s'\n", dlg.GetDlgItemText(1014).c_str());
            return false;
        }
        QApplication::processEvents();
    }
    if (withLogWindow) {
        // Kept up: once the last catch-up has run, every entry is a row.
        QTest::qWait(2 * CFrameLogModel::kCatchUpMs);
        const int rows = dlg.FrameLogWindow()->Model()->rowCount();
        if (rows != static_cast<int>(dlg.FrameLog().Size())) {
            std::fprintf(stderr, "the log window shows %d rows of %zu\n", rows, dlg.FrameLog().Size());
            return false;
        }
    }
    g_serialPort.Close();
    g_portOpen = false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    bench::CBenchApp app(argc, argv);
    const int reads = argc > 1 ? std::max(1, std::atoi(argv[1])) : 250;

    sim::CSimulator device({.kind = sim::DeviceKind::Th, .address = 1, .baud = 2400});
    qputenv("SENTRABUS_COM1", QByteArray::fromStdString(device.SlavePath()));
    SetMessageBoxHook([](const MessageBoxCall&) { return 1; });

    std::vector<double> without;
    std::vector<double> with;
    for (int round = 0; round < kRounds; ++round) {
        if (!RunRound(false, reads, without) || !RunRound(true, reads, with)) return 1;
    }
    SetMessageBoxHook({});

    const double a = Median(without);
    const double b = Median(with);
    std::printf("%-40s median %7.2f ms   (%zu exchanges)\n", "read, no frame log window", a, without.size());
    std::printf("%-40s median %7.2f ms   (%zu exchanges)\n", "read, frame log window following", b, with.size());
    std::printf("%-40s %+7.2f ms   (target: at most +1.00)\n", "cost of the window at the median", b - a);
    return 0;
}
