// The Windows program's own windows under Wine, as the operator sees them:
// the main window on a simulated device at COM1, and the wireless window's
// grid read back from the window's pixels.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "app/ConfigDlg.h"
#include "res/IdsConfig.h"
#include "res/IdsWireless.h"
#include "serial/SerialPort.h"
#include "support/SimProgram.h"
#include "ui/wireless/WirelessDlg.h"
#include "widgets/win32/Win32TestWindows.h"

// <windows.h>'s names for its A and W functions would rename the verbs.
#undef GetDlgItemText

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
