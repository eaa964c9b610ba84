// The Windows program's own windows under Wine, as the operator sees them:
// the main window on a simulated device at COM1, and the wireless window's
// grid read back from the window's pixels.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "app/ConfigDlg.h"
#include "res/IdsConfig.h"
#include "res/IdsMonitor.h"
#include "res/IdsWireless.h"
#include "serial/SerialPort.h"
#include "support/SimProgram.h"
#include "ui/monitor/MonitorWnd.h"
#include "ui/wireless/WirelessDlg.h"
#include "widgets/win32/Win32TestWindows.h"

// <windows.h>'s names for its A and W functions would rename the verbs.
#undef GetDlgItemText
#undef SetDlgItemText

namespace {

constexpr ColorRef kConfigured = RgbColor(132, 202, 53);
constexpr ColorRef kNotConfigured = RgbColor(120, 123, 135);

// The window's client area as it stands in the window's surface.
Picture Grab(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    PictureDc picture(client.right, client.bottom);
    HDC dc = GetDC(window);
    BitBlt(picture.Dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return picture.Take();
}

// The centre of a control in its window's client coordinates.
POINT Centre(HWND window, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

// The program as it starts: COM1 opened at 4800 bit/s by the main window, the
// window's 300 x 437 dialog units in 宋体 as 450 x 656 pixels, and a search
// through the real port, the receive thread and the window's exchange wait.
TEST(ProgramWindowsWin32, MainWindowFindsTheDeviceOnCom1) {
    CSimProgram device(1, {"--device", "th", "--address", "1", "--baud", "4800"});
    ASSERT_TRUE(device.Valid()) << "no simulator: run under tests/wine/run-under-wine";
    MessageBoxRecorder recorder;

    CConfigDlg dlg;
    dlg.Create();
    ASSERT_NE(dlg.Handle(), nullptr) << "Wine cannot make windows here: it needs an X display (xvfb-run)";
    RECT client{};
    GetClientRect(dlg.Handle(), &client);
    EXPECT_NEAR(client.right, 450, 2);
    EXPECT_NEAR(client.bottom, 656, 2);
    EXPECT_TRUE(g_portOpen.load());

    dlg.ClickDlgItem(kIdSearchDevice);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, "Device Address:1  Band Rate:4800");
    EXPECT_EQ(dlg.GetDlgItemText(kIdAddressField), "1");
    EXPECT_TRUE(dlg.IsDlgItemEnabled(kIdReadAddress));

    dlg.EndDialog(IDCANCEL);
    g_serialPort.Close();
    g_portOpen = false;
}

// Addresses 1 and 200 configured: their buttons green, the rest grey, and the
// button under the mouse in its lighter hover face.
TEST(ProgramWindowsWin32, WirelessGridPaintsEachAddressInItsState) {
    CSerialPort port;
    std::atomic<bool> portOpen{false};
    CDeviceSession session(port, portOpen);
    CWirelessDlg dlg(session);
    dlg.m_configBits[0] = 0x01;   // address 1
    dlg.m_configBits[24] = 0x80;  // address 200
    dlg.Create();
    ASSERT_NE(dlg.Handle(), nullptr) << "Wine cannot make windows here: it needs an X display (xvfb-run)";
    SetWindowPos(dlg.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    PumpMessages(std::chrono::milliseconds(3 * CWirelessDlg::kGridTimerMs));  // the grid's first colouring

    const auto button = [&dlg](int address) { return dlg.ItemHandle(kIdFirstGridButton + address - 1); };
    ColorRef hot = 0;
    dlg.m_gridButtons[1].GetStateColor(IB_COLOR_HOT_BACK, hot);
    EXPECT_GT(RedOf(hot), RedOf(kNotConfigured)) << "the hover face is lighter than the grey";
    struct Case {
        int address;
        bool hovered;
        ColorRef face;
    };
    for (const Case& c : {Case{1, false, kConfigured}, Case{2, false, kNotConfigured}, Case{199, false, kNotConfigured},
                          Case{200, false, kConfigured}, Case{2, true, hot}}) {
        HWND control = button(c.address);
        ASSERT_NE(control, nullptr) << c.address;
        if (c.hovered) {
            const POINT centre = Centre(nullptr, control);
            SetCursorPos(centre.x, centre.y);
            SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
            UpdateWindow(control);
        }
        const POINT centre = Centre(dlg.Handle(), control);
        EXPECT_EQ(Grab(dlg.Handle()).At(centre.x, centre.y), c.face)
            << "address " << c.address << (c.hovered ? " hovered" : "");
    }
    dlg.EndDialog(IDCANCEL);
}

// The monitor polling the device every 0.2 s: the chart's dashed upper limit
// lies on the row of its value, read back from the window's pixels. With
// SENTRABUS_SCREENSHOTS=DIR the charts are also saved as DIR/monitor-charts.png
// and the window stays up for SENTRABUS_SCREENSHOT_WAIT seconds, to look at.
TEST(ProgramWindowsWin32, MonitorDrawsTheUpperLimitOnItsRow) {
    CSimProgram device(1, {"--device", "th", "--address", "1", "--baud", "4800", "--fault", "none", "--fault-count",
                           "8", "--fault", "silent", "--fault-count", "3"});
    ASSERT_TRUE(device.Valid()) << "no simulator: run under tests/wine/run-under-wine";
    MessageBoxRecorder recorder;
    CConfigDlg dlg;
    dlg.Create();
    ASSERT_NE(dlg.Handle(), nullptr) << "Wine cannot make windows here: it needs an X display (xvfb-run)";
    dlg.ClickDlgItem(kIdSearchDevice);
    dlg.Session().m_busy = 0;
    dlg.ClickDlgItem(kIdReadTemperature);
    dlg.OnSysCommand(CConfigDlg::kMonitorCommand);
    CMonitorWnd* monitor = dlg.MonitorWindow();
    ASSERT_NE(monitor, nullptr);
    ASSERT_NE(monitor->Handle(), nullptr);
    monitor->SetDlgItemText(kIdMonitorInterval, "0.2");
    monitor->ClickDlgItem(kIdMonitorStart);
    for (int i = 0; i < 200 && monitor->Monitor().Polls() < 12; ++i) PumpMessages(std::chrono::milliseconds(25));
    monitor->ClickDlgItem(kIdMonitorStart);
    ASSERT_GE(monitor->Monitor().Polls(), 12u);
    EXPECT_GE(monitor->Monitor().Count(SampleOutcome::NoReply), 1u) << "the silent replies";

    SetWindowPos(monitor->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    HWND canvas = monitor->ItemHandle(kIdMonitorCharts);
    UpdateWindow(canvas);
    PumpMessages(std::chrono::milliseconds(100));
    const Picture picture = Grab(canvas);
    const ChartSpec* chart = monitor->Chart(Reading::Temperature);
    const ChartFrame* frame = monitor->DrawnChart(Reading::Temperature);
    ASSERT_TRUE(chart != nullptr && frame != nullptr && chart->limits.upper.has_value());
    const auto count = [&](int y) {
        int pixels = 0;
        for (int x = frame->plot.left; x < frame->plot.right; ++x)
            pixels += picture.At(x, y) == chart_colors::kUpperLimit ? 1 : 0;
        return pixels;
    };
    const int y = frame->YOf(*chart->limits.upper);
    EXPECT_GT(count(y - 1) + count(y) + count(y + 1), 2 * frame->plot.Width() / 2) << "no dashed line at y " << y;
    EXPECT_EQ(count(y - 4) + count(y + 4), 0) << "a line two pixels thick, not a band";

    if (const char* directory = std::getenv("SENTRABUS_SCREENSHOTS")) {
        EXPECT_TRUE(monitor->SavePicture(std::string(directory) + "\\monitor-charts.png"));
        // Polling for the first half of the wait, paused for the second.
        const char* wait = std::getenv("SENTRABUS_SCREENSHOT_WAIT");
        const std::chrono::milliseconds half(wait ? std::atoi(wait) * 500 : 0);
        monitor->ClickDlgItem(kIdMonitorStart);
        PumpMessages(half);
        monitor->ClickDlgItem(kIdMonitorStart);
        PumpMessages(half);
    }
    monitor->EndDialog(IDCANCEL);
    dlg.EndDialog(IDCANCEL);
    g_serialPort.Close();
    g_portOpen = false;
}
