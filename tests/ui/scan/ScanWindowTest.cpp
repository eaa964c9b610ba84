// The scan window on the Linux program: a unit chosen with the keyboard
// ("Use unit" on the selected row), and the window to look at.

#include <gtest/gtest.h>

#include <cstdlib>

#include "res/IdsConfig.h"
#include "res/IdsScan.h"
#include "support/MainWindowFixture.h"
#include "ui/scan/ScanDlg.h"

namespace {

class ScanWindow : public MainWindowFixture {
protected:
    // The window opened on COM1 and a scan of addresses 1-7 at 4800 and 9600
    // bit/s run to its end.
    CScanDlg& Scanned() {
        CScanDlg& scan = Dlg().ScanWindow();
        scan.SetScanPort(1);
        OpenWindow(scan);
        scan.CheckDlgButton(kIdScanSpeedFirst, false);
        scan.SetDlgItemText(kIdScanLast, "7");
        Click(scan, kIdScanStart);
        for (int i = 0; i < 500 && scan.Running(); ++i) Pump(ms(20));
        EXPECT_FALSE(scan.Running());
        return scan;
    }
};

TEST_F(ScanWindow, UseUnitTakesTheSelectedRow) {
    StartDevice({.kind = sim::DeviceKind::Th, .address = 5, .baud = 9600});
    OpenMainWindow();
    CScanDlg& scan = Scanned();
    ASSERT_EQ(scan.ListGetItemCount(kIdScanUnits), 1);
    ClearBoxes();
    Click(scan, kIdScanUse);
    EXPECT_EQ(OnlyBox().text, "Select a unit in the list first.");
    scan.ListSelectRow(kIdScanUnits, 0);
    EXPECT_EQ(scan.ListGetSelectedRow(kIdScanUnits), 0);
    Click(scan, kIdScanUse);
    EXPECT_EQ(Text(kIdAddressField), "5");
    EXPECT_EQ(Text(kIdBaudField), "9600");
    EXPECT_TRUE(Dlg().IsDlgItemEnabled(kIdReadHumidity));
    ClearRequests();
    Click(kIdReadHumidity);
    EXPECT_EQ(Text(kIdHumidityField), "60.0");
}

// Not a check: with SENTRABUS_SCREENSHOTS=DIR, the window after a scan that
// found a unit, saved as DIR/scan-bus.png to look at.
TEST_F(ScanWindow, Screenshot) {
    const char* directory = std::getenv("SENTRABUS_SCREENSHOTS");
    if (directory == nullptr) GTEST_SKIP() << "set SENTRABUS_SCREENSHOTS=DIR to save it";
    StartDevice({.kind = sim::DeviceKind::Th, .address = 5, .baud = 4800});
    OpenMainWindow();
    CScanDlg& scan = Scanned();
    EXPECT_TRUE(scan.grab().save(QString::fromLocal8Bit(directory) + "/scan-bus.png"));
}

}  // namespace
