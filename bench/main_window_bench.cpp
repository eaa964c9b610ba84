// How long the main window's operations block, measured through the real
// window, the real port on a pseudo-terminal and the simulator:
//
//   - a search that finds nothing (three FD speeds and the register read, each
//     waiting out its 500 ms),
//   - a search that finds an FD device at 9600 (two waits, then the answer),
//   - one temperature Read, against the device's own reply delay.
//
//   main_window_bench [rounds]     (default 5 searches, 40 reads)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QApplication>

#include "BenchApp.h"

#include "ui/main/ConfigDlg.h"
#include "serial/SerialPort.h"
#include "sim/Simulator.h"
#include "widgets/qt/AppFonts.h"
#include "widgets/qt/MessageBoxQt.h"

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

constexpr int kIdSearch = 1001;
constexpr int kIdReadTemperature = 1005;
constexpr std::chrono::milliseconds kReplyDelay{20};

struct Summary {
    double median, min, max;
};

Summary Summarise(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    const double median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    return {median, samples.front(), samples.back()};
}

void Print(const char* what, const Summary& s, int rounds) {
    std::printf("%-44s median %8.1f ms   min %8.1f   max %8.1f   (%d rounds)\n", what, s.median, s.min, s.max,
                rounds);
}

// The time the click's handler blocks the window thread.
double TimeClick(CConfigDlg& dlg, int id) {
    const auto start = Clock::now();
    dlg.ClickDlgItem(id);
    return Millis(Clock::now() - start).count();
}

std::vector<double> RunSearches(const sim::SimConfig& config, int rounds, const char* expectedText,
                                bool silent = false) {
    sim::CSimulator device(config);
    if (silent) device.InjectFault(sim::Fault::Silent(), sim::CSimulator::kEveryRequest);
    qputenv("SENTRABUS_COM1", QByteArray::fromStdString(device.SlavePath()));
    CConfigDlg dlg;
    dlg.Create();
    std::vector<double> samples;
    std::string text;
    SetMessageBoxHook([&](const MessageBoxCall& call) {
        text = call.text;
        return 1;
    });
    for (int i = 0; i < rounds; ++i) {
        samples.push_back(TimeClick(dlg, kIdSearch));
        if (text != expectedText) {
            std::fprintf(stderr, "unexpected outcome: %s\n", text.c_str());
            std::exit(1);
        }
        QApplication::processEvents();
    }
    SetMessageBoxHook({});
    return samples;
}

std::vector<double> RunReads(int rounds) {
    sim::CSimulator device({.kind = sim::DeviceKind::Th, .address = 1, .baud = 2400, .replyLatency = kReplyDelay});
    qputenv("SENTRABUS_COM1", QByteArray::fromStdString(device.SlavePath()));
    CConfigDlg dlg;
    dlg.Create();
    SetMessageBoxHook([](const MessageBoxCall&) { return 1; });
    dlg.ClickDlgItem(kIdSearch);
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        dlg.Busy().Clear();  // what the tick of timer 1 does between reads
        dlg.SetDlgItemText(1014, "");
        samples.push_back(TimeClick(dlg, kIdReadTemperature));
        if (dlg.GetDlgItemText(1014) != "25.0") {
            std::fprintf(stderr, "read failed: '%s'\n", dlg.GetDlgItemText(1014).c_str());
            std::exit(1);
        }
        QApplication::processEvents();
    }
    SetMessageBoxHook({});
    return samples;
}

}  // namespace

int main(int argc, char** argv) {
    bench::CBenchApp app(argc, argv);
    const int searches = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int reads = searches * 8;

    // A device that hears every request and answers none.
    const sim::SimConfig nothing{.kind = sim::DeviceKind::Th, .address = 1, .baud = 9600};
    Print("search, nothing found (design: ~2000 ms)",
          Summarise(RunSearches(nothing, searches, "Search end  Unrecognized baud rate", true)), searches);
    g_serialPort.Close();
    g_portOpen = false;

    const sim::SimConfig at9600{.kind = sim::DeviceKind::Th, .address = 5, .baud = 9600};
    Print("search, FD device at 9600 (design: ~1000 ms)",
          Summarise(RunSearches(at9600, searches, "Device Address:5  Band Rate:9600")), searches);
    g_serialPort.Close();
    g_portOpen = false;

    const Summary read = Summarise(RunReads(reads));
    Print("temperature read, device replies after 20 ms", read, reads);
    std::printf("%-44s median %8.1f ms   (target: at most 45)\n", "  read overhead beyond the reply delay",
                read.median - static_cast<double>(kReplyDelay.count()));
    return 0;
}
