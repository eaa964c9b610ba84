// Device search through the real window against simulated devices.

#include <array>

#include "protocol/FrameCodes.h"
#include "serial/SerialPort.h"
#include "support/MainWindowFixture.h"

namespace {

using sim::DeviceKind;

const sim::Frame kFdQuery = HexFrame("FD FD FD 00 00 E9 88");
const sim::Frame kLineSettingsRead = HexFrame("FF 03 02 00 00 05 91 AF");

class Search : public MainWindowFixture {
protected:
    bool ParameterButtonsEnabled(bool enabled) {
        for (int id : kParameterButtons)
            if (Dlg().IsDlgItemEnabled(id) != enabled) return false;
        return true;
    }
    bool SearchControlsEnabled() {
        return Dlg().IsDlgItemEnabled(kIdSearchDevice) && Dlg().IsDlgItemEnabled(kIdPortList);
    }
    // Whether the search button and the port list were disabled while a box
    // of the search was up.
    void WatchSearchControlsAtEachBox() {
        m_onBox = [this](const MessageBoxCall&) { m_searchEnabledAtBox.push_back(SearchControlsEnabled()); };
    }
    std::vector<bool> m_searchEnabledAtBox;
};

TEST_F(Search, FindsAnFdDeviceAtTheSecondSpeedAndStaysThere) {
    StartDevice({.kind = DeviceKind::Th, .address = 5, .baud = 4800});
    OpenMainWindow();
    WatchSearchControlsAtEachBox();
    Click(kIdSearchDevice);

    const MessageBoxCall box = OnlyBox();
    EXPECT_EQ(box.text, "Device Address:5  Band Rate:4800");
    EXPECT_EQ(box.caption, "Search Result");
    EXPECT_EQ(box.icon, MsgIcon::None);
    EXPECT_EQ(m_searchEnabledAtBox, std::vector<bool>{false});  // re-enabled after the box

    const std::vector<sim::ReceivedFrame> heard = Device().Received();
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].bytes, kFdQuery);
    EXPECT_EQ(heard[0].lineBaud, 2400u);
    EXPECT_EQ(heard[1].bytes, kFdQuery);
    EXPECT_EQ(heard[1].lineBaud, 4800u);

    EXPECT_EQ(Text(kIdAddressField), "5");
    EXPECT_EQ(Text(kIdBaudField), "4800");
    EXPECT_EQ(Dlg().Session().Device().address, 5);
    EXPECT_EQ(Dlg().Session().Device().baudRate, 4800u);
    EXPECT_EQ(Dlg().Session().Device().RegisterMode(), false);
    EXPECT_TRUE(g_portOpen);
    EXPECT_EQ(g_serialPort.Baud(), 4800u);
    EXPECT_TRUE(SearchControlsEnabled());
    EXPECT_TRUE(ParameterButtonsEnabled(true));
}

TEST_F(Search, AnFdDeviceAt2400IsFoundWithoutTryingTheOtherSpeeds) {
    StartDevice({.kind = DeviceKind::Th, .address = 200, .baud = 2400});
    OpenMainWindow();
    Click(kIdSearchDevice);

    EXPECT_EQ(OnlyBox().text, "Device Address:200  Band Rate:2400");
    EXPECT_EQ(Requests(), std::vector<sim::Frame>{kFdQuery});
    EXPECT_EQ(g_serialPort.Baud(), 2400u);
    EXPECT_EQ(Text(kIdAddressField), "200");
}

// A reply that fails the FD check counts as no answer: the search goes on and
// ends with nothing found, leaving the disabled buttons disabled.
TEST_F(Search, AnAnswerThatFailsTheFdCheckIsNoDevice) {
    sim::CSimulator& device = StartDevice({.kind = DeviceKind::Th, .address = 9, .baud = 2400});
    device.InjectFault(sim::Fault::BadCrc());
    OpenMainWindow();
    Click(kIdSearchDevice);

    EXPECT_EQ(Requests(), (std::vector<sim::Frame>{kFdQuery, kFdQuery, kFdQuery, kLineSettingsRead}));
    const MessageBoxCall box = OnlyBox();
    EXPECT_EQ(box.text, "Search end  Unrecognized baud rate");
    EXPECT_EQ(box.caption, "Search Result");
    EXPECT_EQ(Dlg().Session().Device().address, 0);
    EXPECT_EQ(Dlg().Session().Device().baudRate, 0u);
    EXPECT_EQ(Text(kIdAddressField), "");
    EXPECT_TRUE(ParameterButtonsEnabled(false));
    EXPECT_TRUE(SearchControlsEnabled());
    EXPECT_EQ(g_serialPort.Baud(), 9600u);
}

struct SoilCase {
    std::uint16_t parity, stop1, stop2;
    const char* text;
    const char* caption;
    MsgIcon icon;
};

class SoilSearch : public Search, public ::testing::WithParamInterface<SoilCase> {};

TEST_P(SoilSearch, ReportsTheRegisterDevicesLineSettings) {
    const SoilCase& c = GetParam();
    sim::CSimulator& device = StartDevice({.kind = DeviceKind::Soil, .address = 1, .baud = 9600});
    device.SetRegister(kRegLineParity, c.parity);
    device.SetRegister(kRegLineStop1, c.stop1);
    device.SetRegister(kRegLineStop2, c.stop2);
    OpenMainWindow();
    WatchSearchControlsAtEachBox();
    Click(kIdSearchDevice);

    const MessageBoxCall box = OnlyBox();
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(box.caption, c.caption);
    EXPECT_EQ(box.icon, c.icon);
    EXPECT_EQ(m_searchEnabledAtBox, std::vector<bool>{false});

    const std::vector<sim::ReceivedFrame> heard = Device().Received();
    ASSERT_EQ(heard.size(), 4u);
    EXPECT_EQ(heard[3].bytes, kLineSettingsRead);
    EXPECT_EQ(heard[3].lineBaud, 9600u);
    EXPECT_EQ(Text(kIdAddressField), "1");
    EXPECT_EQ(Text(kIdBaudField), "9600");
    EXPECT_EQ(Dlg().Session().Device().RegisterMode(), true);
    EXPECT_EQ(Dlg().Session().Device().parity, c.parity);
    EXPECT_EQ(g_serialPort.Baud(), 9600u);
    EXPECT_TRUE(ParameterButtonsEnabled(true));
    EXPECT_TRUE(SearchControlsEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Reports, SoilSearch,
    ::testing::Values(
        SoilCase{0, 0, 0, "Soil moisture sensor\r\nAddress:1  Baud rate:9600\r\nNo parity", "Test Result",
                 MsgIcon::None},
        SoilCase{5, 0, 3,
                 "Soil moisture sensor\r\nAddress:1  Baud rate:9600\r\nError parity\r\n"
                 "Stop bit exception, please reconfigure address or baud rate",
                 "Test results are abnormal", MsgIcon::Question}));

// After a register device, a search starts in FD mode: when nothing answers
// any more, the window is no longer in register mode, and the buttons a
// search enabled stay enabled.
TEST_F(Search, ASearchAfterARegisterDeviceStartsInFdModeAndAFailedOneKeepsTheButtons) {
    sim::CSimulator& device = StartDevice({.kind = DeviceKind::Soil, .address = 3, .baud = 9600});
    device.SetRegister(kRegLineBaud, 7);  // a code outside the table reads as rate 0
    OpenMainWindow();
    Click(kIdSearchDevice);
    EXPECT_EQ(OnlyBox().text, "Soil moisture sensor\r\nAddress:3  Baud rate:0\r\nNo parity");
    ASSERT_EQ(Dlg().Session().Device().RegisterMode(), true);

    ClearBoxes();
    ClearRequests();
    device.InjectFault(sim::Fault::Silent(), sim::CSimulator::kEveryRequest);
    WatchSearchControlsAtEachBox();
    Click(kIdSearchDevice);

    const MessageBoxCall box = OnlyBox();
    EXPECT_EQ(box.text, "Search end  Unrecognized baud rate");
    EXPECT_EQ(box.caption, "Search Result");
    EXPECT_EQ(box.icon, MsgIcon::None);
    EXPECT_EQ(m_searchEnabledAtBox, std::vector<bool>{true});  // enabled before this box
    EXPECT_EQ(Requests(), (std::vector<sim::Frame>{kFdQuery, kFdQuery, kFdQuery, kLineSettingsRead}));
    EXPECT_EQ(Dlg().Session().Device().RegisterMode(), false);
    EXPECT_EQ(Dlg().Session().Device().address, 3);  // a failed search changes nothing it learnt
    EXPECT_EQ(Dlg().Session().Device().baudRate, 0u);
    EXPECT_TRUE(ParameterButtonsEnabled(true));
    EXPECT_TRUE(g_portOpen);
    EXPECT_EQ(g_serialPort.Baud(), 9600u);
}

TEST_F(Search, APortThatCannotBeOpenedEndsTheSearchAtOnce) {
    OpenMainWindow();  // COM1 leads nowhere: the start-up box is the first
    ClearBoxes();
    Click(kIdSearchDevice);
    MessageBoxCall box = OnlyBox();
    EXPECT_EQ(box.text, "Serial port open failed");
    EXPECT_EQ(box.caption, "Serial prompt");
    EXPECT_EQ(box.icon, MsgIcon::Question);
    EXPECT_FALSE(g_portOpen);
    EXPECT_TRUE(SearchControlsEnabled());
    EXPECT_TRUE(ParameterButtonsEnabled(false));

    // Nothing selected: port 0, which nothing opens.
    ClearBoxes();
    Dlg().ComboSetCurSel(kIdPortList, -1);
    Click(kIdSearchDevice);
    EXPECT_EQ(OnlyBox().text, "Serial port open failed");
    EXPECT_TRUE(SearchControlsEnabled());
}

}  // namespace
