// The Windows program's own windows under Wine, as the operator sees them:
// the main window on a simulated device at COM1, the wireless window's grid
// read back from the window's pixels, and the profile table in its list view.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "ui/main/ConfigDlg.h"
#include "device/SmallFile.h"
#include "res/IdsProfile.h"
#include "res/IdsConfig.h"
#include "res/IdsMonitor.h"
#include "res/IdsScan.h"
#include "res/IdsWireless.h"
#include "serial/SerialPort.h"
#include "support/SimProgram.h"
#include "ui/profile/ProfileDlg.h"
#include "ui/monitor/MonitorWnd.h"
#include "ui/scan/ScanDlg.h"
#include "ui/wireless/WirelessDlg.h"
#include "widgets/win32/Win32TestWindows.h"

#include <commctrl.h>

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

// With SENTRABUS_SCREENSHOTS=DIR, the whole window as the screen shows it,
// brought to the front, as DIR/<name>.bmp to look at.
void SaveScreenshot(HWND window, const char* name) {
    const char* directory = std::getenv("SENTRABUS_SCREENSHOTS");
    if (directory == nullptr) return;
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages(std::chrono::milliseconds(200));
    RECT r{};
    GetWindowRect(window, &r);
    PictureDc dc(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    BitBlt(dc.Dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    const Picture picture = dc.Take();
    const auto bytes = static_cast<DWORD>(picture.bgra.size() * 4);
    BITMAPINFOHEADER info{sizeof info, picture.width, -picture.height, 1, 32};  // top-down rows
    BITMAPFILEHEADER file{0x4D42, sizeof file + sizeof info + bytes, 0, 0, sizeof file + sizeof info};  // "BM"
    std::ofstream out(std::string(directory) + "/" + name + ".bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(reinterpret_cast<const char*>(picture.bgra.data()), bytes);
}

// The program's main window as it starts, on a transmitter at COM1.
class ProgramOnCom1 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.Valid()) << "no simulator: run under tests/wine/run-under-wine";
        dlg.Create();
        ASSERT_NE(dlg.Handle(), nullptr) << "Wine cannot make windows here: it needs an X display (xvfb-run)";
    }
    void TearDown() override {
        dlg.EndDialog(IDCANCEL);
        g_serialPort.Close();
        g_portOpen = false;
    }

    CSimProgram device{1, {"--device", "th", "--address", "1", "--baud", "4800"}};
    MessageBoxRecorder recorder;
    CConfigDlg dlg;
};

}  // namespace

// COM1 opened at 4800 bit/s by the main window, the window's 300 x 437 dialog
// units in 宋体 as 450 x 656 pixels, and a search through the real port, the
// receive thread and the window's exchange wait.
TEST_F(ProgramOnCom1, MainWindowFindsTheDevice) {
    RECT client{};
    GetClientRect(dlg.Handle(), &client);
    EXPECT_NEAR(client.right, 450, 2);
    EXPECT_NEAR(client.bottom, 656, 2);
    EXPECT_TRUE(g_portOpen.load());

    // The system menu ends with the profiles' entries.
    HMENU menu = GetSystemMenu(dlg.Handle(), FALSE);
    wchar_t save[32] = {}, apply[32] = {};
    GetMenuStringW(menu, static_cast<UINT>(GetMenuItemCount(menu) - 2), save, 32, MF_BYPOSITION);
    GetMenuStringW(menu, static_cast<UINT>(GetMenuItemCount(menu) - 1), apply, 32, MF_BYPOSITION);
    EXPECT_STREQ(save, L"Save profile...");
    EXPECT_STREQ(apply, L"Apply profile...");

    dlg.ClickDlgItem(kIdSearchDevice);
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].text, "Device Address:1  Band Rate:4800");
    EXPECT_EQ(dlg.GetDlgItemText(kIdAddressField), "1");
    EXPECT_TRUE(dlg.IsDlgItemEnabled(kIdReadAddress));
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

// "Apply profile..." on a file in a folder Zoë\配置 of the temp folder: the
// table in a report list view with its four columns, each as wide as its
// widest text, before and after Apply.
TEST_F(ProgramOnCom1, ProfileTableInAReportList) {
    dlg.ClickDlgItem(kIdSearchDevice);
    ASSERT_EQ(recorder.boxes.size(), 1u);

    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::filesystem::path folder = std::filesystem::path(temp) / L"Zo\u00EB" / L"\u914D\u7F6E";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / L"th \u914D\u7F6E.json";
    std::ofstream(file) << R"({"format": "sentrabus-profile", "version": 1, "kind": "th",
        "parameters": {"temperature-upper": 45, "temperature-lower": -10, "humidity-upper": 80,
                       "humidity-hysteresis": 2.5, "temperature-adjust": -1.5, "remote-signal": "closed"}})";
    ASSERT_TRUE(dlg.LoadProfileFrom(Utf8Name(file))) << recorder.boxes.back().text;
    CProfileDlg& profile = dlg.ProfileWindow();
    profile.Create();
    ASSERT_NE(profile.Handle(), nullptr);
    ShowWindow(profile.Handle(), SW_SHOWNA);
    PumpMessages(std::chrono::milliseconds(100));

    HWND list = profile.ItemHandle(kIdProfileTable);
    EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    ASSERT_EQ(profile.ListGetItemCount(kIdProfileTable), 6);
    // Each heading and cell with the margin drawn beside it (the W message:
    // the macro is the ANSI one in this build).
    const auto expectNoCellCut = [&](const char* when) {
        const char* headings[] = {"Parameter", "On the device", "In the profile", "Outcome"};
        for (int column = 0; column < CProfileDlg::kColumns; ++column) {
            for (int row = -1; row < 6; ++row) {
                const std::wstring text =
                    FilePath(row < 0 ? headings[column] : profile.ListGetItemText(kIdProfileTable, row, column)).wstring();
                EXPECT_LE(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())) +
                              6 * GetSystemMetrics(SM_CXEDGE), ListView_GetColumnWidth(list, column))
                    << when << ": row " << row << ", column " << column;
            }
        }
    };
    expectNoCellCut("before");
    SaveScreenshot(profile.Handle(), "profile-before-win32");

    profile.ClickDlgItem(kIdProfileApply);
    PumpMessages(std::chrono::milliseconds(100));
    EXPECT_EQ(profile.ListGetItemText(kIdProfileTable, 1, CProfileDlg::kOutcome), "written and verified");
    EXPECT_EQ(profile.GetDlgItemText(kIdProfileSummary), "The device now holds the profile.");
    expectNoCellCut("after");
    SaveScreenshot(profile.Handle(), "profile-after-win32");

    profile.EndDialog(IDCANCEL);
    std::filesystem::remove_all(folder.parent_path());
}

// The scan window as the dialog manager builds it from the template: a real
// progress bar, full after a scan of addresses 1-3 at 4800 bit/s, and the
// unit in the list. With SENTRABUS_SCREENSHOTS=DIR, saved as DIR/scan-bus.bmp.
TEST_F(ProgramOnCom1, ScanWindowFillsItsBarAndListsTheUnit) {
    CScanDlg& scan = dlg.ScanWindow();
    scan.SetScanPort(1);
    scan.Create();
    ASSERT_NE(scan.Handle(), nullptr);
    ShowWindow(scan.Handle(), SW_SHOWNA);
    scan.CheckDlgButton(kIdScanSpeedFirst, false);
    scan.CheckDlgButton(kIdScanSpeedLast, false);
    scan.SetDlgItemText(kIdScanLast, "3");
    scan.ClickDlgItem(kIdScanStart);
    for (int i = 0; i < 400 && scan.Running(); ++i) PumpMessages(std::chrono::milliseconds(25));
    ASSERT_FALSE(scan.Running());
    wchar_t bar[32] = {};
    GetClassNameW(scan.ItemHandle(kIdScanProgress), bar, 32);
    EXPECT_STREQ(bar, L"msctls_progress32");
    EXPECT_EQ(scan.ProgressGetPos(kIdScanProgress), 3);
    EXPECT_EQ(scan.ListGetItemText(kIdScanUnits, 0, CScanDlg::kSpeed), "4800");
    SaveScreenshot(scan.Handle(), "scan-bus");
    scan.EndDialog(IDCANCEL);
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
    dlg.Busy().Clear();
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
