// Reading and changing the device's address and baud rate through the real
// window, in FD mode and in register mode.

#include <array>

#include "protocol/FrameCodes.h"
#include "protocol/RequestFrames.h"
#include "serial/SerialPort.h"
#include "support/MainWindowFixture.h"
#include "support/BuiltFrame.h"
#include "res/IdsConfig.h"

namespace {

using sim::DeviceKind;

constexpr const char* kAppName = "Sentrabus";

class AddressBaud : public MainWindowFixture {
protected:
    void ExpectBox(const char* text, bool failure) {
        const MessageBoxCall box = OnlyBox();
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, failure ? "Warning" : kAppName);
        EXPECT_EQ(box.icon, failure ? MsgIcon::Question : MsgIcon::None);
        ClearBoxes();
    }
    void StartFdDevice() {
        OpenOnFoundDevice({.kind = DeviceKind::Th, .address = 5, .baud = 2400});
    }
};

TEST_F(AddressBaud, InputsThatNameNoAddressOrRateAreRefusedBeforeAnythingIsSent) {
    StartFdDevice();
    const std::string refused[] = {"0", "256", "512", "abc", "", " ", "-256", "x5", std::string(300, 'z')};
    for (const std::string& text : refused) {
        SetText(kIdAddressField, text);
        Click(kIdWriteAddress);
        ExpectBox("Device Address Could not Be 0", false);
    }
    for (const char* text : {"19200", "1200", "abc", "", "0", "-4800", "24000", "99999999999999999999"}) {
        SetText(kIdBaudField, text);
        Click(kIdWriteBaud);
        ExpectBox("Band Rate error", false);
    }
    EXPECT_TRUE(Requests().empty());
}

TEST_F(AddressBaud, FdAddressWriteTakesTheLowEightBitsAndTheDevicesAnswer) {
    StartFdDevice();
    struct Case {
        const char* text;
        std::uint8_t address;
    } cases[] = {{"257", 1}, {"-1", 255}, {" 7", 7}, {"12abc", 12}, {"3.9", 3}};
    for (const Case& c : cases) {
        ClearRequests();
        SetText(kIdAddressField, c.text);
        Click(kIdWriteAddress);
        ExpectBox("Successfully Set the Address", false);
        EXPECT_EQ(Requests(), std::vector<sim::Frame>{Built([&](TxBuffer tx) {
                      return BuildFdSetAddress(tx, c.address);
                  })})
            << c.text;
        EXPECT_EQ(Device().Address(), c.address);
        EXPECT_EQ(Dlg().Session().Device().address, c.address);
        EXPECT_EQ(Text(kIdAddressField), c.text);  // what the operator typed stays
    }
    // Later reads go to the new address.
    ClearRequests();
    ClearBusy();
    Click(kIdReadTemperature);
    EXPECT_EQ(Requests().at(0).at(0), 3);
    EXPECT_EQ(Text(kIdTemperatureField), "25.0");
}

TEST_F(AddressBaud, FdAddressWriteFailuresEachShowOneBox) {
    StartFdDevice();
    SetText(kIdAddressField, "9");
    struct Case {
        sim::Fault fault;
        const char* text;
    } cases[] = {
        {sim::Fault::Short(), "Address setting failed"},
        {sim::Fault::BadCrc(), "The address setting failed"},
        {sim::Fault::WrongAddress(), "The address setting failed"},  // the mark is broken
        {sim::Fault::Silent(), "Address setting failed"},
    };
    for (const Case& c : cases) {
        Device().InjectFault(c.fault);
        Click(kIdWriteAddress);
        ExpectBox(c.text, true);
    }
    // A write click is carried out while a read's busy flag is set.
    Dlg().Busy().TryEnter();
    ClearRequests();
    Click(kIdWriteAddress);
    ExpectBox("Successfully Set the Address", false);
    EXPECT_EQ(Requests().size(), 1u);
    EXPECT_EQ(Dlg().Session().Device().address, 9);  // the silent write was still acted on by the device
}

TEST_F(AddressBaud, ReadFillsBothFieldsOrLeavesThemBlank) {
    StartFdDevice();
    for (int button : {kIdReadAddress, kIdReadBaud}) {
        SetText(kIdAddressField, "x");
        SetText(kIdBaudField, "x");
        ClearBusy();
        ClearRequests();
        Click(button);
        EXPECT_EQ(Requests(), std::vector<sim::Frame>{HexFrame("FD FD FD 00 00 E9 88")});
        EXPECT_EQ(Text(kIdAddressField), "5");
        EXPECT_EQ(Text(kIdBaudField), "2400");

        Device().InjectFault(sim::Fault::BadCrc());
        ClearBusy();
        Click(button);
        EXPECT_EQ(Text(kIdAddressField), " ");
        EXPECT_EQ(Text(kIdBaudField), " ");
    }
    // Busy (a read ran and timer 1 has not ticked since): nothing is sent.
    ClearRequests();
    SetText(kIdAddressField, "kept");
    Dlg().Busy().TryEnter();
    Click(kIdReadAddress);
    EXPECT_EQ(Text(kIdAddressField), "kept");
    EXPECT_TRUE(Requests().empty());
    EXPECT_TRUE(Boxes().empty());
}

// The device answers the baud write at its old speed and then listens only at
// the new one; the window reopens the port selected in the list at that speed.
TEST_F(AddressBaud, FdBaudWriteReopensTheSelectedPortAtTheNewSpeed) {
    StartFdDevice();
    // Another transmitter at 9600 on COM2, which the operator selects after
    // the search: the reopen follows the list, not the port of the search.
    sim::CSimulator& other = StartDevice({.kind = DeviceKind::Th, .address = 42, .baud = 9600}, 2);
    Dlg().ComboSetCurSel(kIdPortList, 1);

    SetText(kIdBaudField, "9600");
    Click(kIdWriteBaud);
    ExpectBox("The baud rate is set successfully", false);
    EXPECT_EQ(Requests(), std::vector<sim::Frame>{HexFrame("FD FD FD 03 00 E9 78")});
    EXPECT_EQ(Device().Baud(), 9600u);
    EXPECT_TRUE(g_portOpen);
    EXPECT_EQ(g_serialPort.Baud(), 9600u);
    EXPECT_EQ(g_serialPort.PortNumber(), 2);

    ClearBusy();
    Click(kIdReadAddress);
    EXPECT_EQ(Text(kIdAddressField), "42");
    EXPECT_EQ(Text(kIdBaudField), "9600");
    EXPECT_EQ(other.ReceivedBytes().size(), 1u);
}

TEST_F(AddressBaud, AfterAnFdBaudWriteTheDeviceAnswersOnlyAtTheNewSpeed) {
    StartFdDevice();
    SetText(kIdBaudField, "9600");
    Click(kIdWriteBaud);
    ExpectBox("The baud rate is set successfully", false);
    EXPECT_EQ(g_serialPort.Baud(), 9600u);
    EXPECT_EQ(g_serialPort.PortNumber(), 1);

    ClearRequests();
    ClearBusy();
    Click(kIdReadBaud);
    ASSERT_EQ(Device().Received().size(), 1u);
    EXPECT_EQ(Device().Received()[0].lineBaud, 9600u);
    EXPECT_EQ(Text(kIdBaudField), "9600");
    EXPECT_EQ(Dlg().Session().Device().baudRate, 9600u);
}

TEST_F(AddressBaud, FdBaudWriteFailureKeepsThePort) {
    StartFdDevice();
    SetText(kIdBaudField, " 4800 bit/s");
    Device().InjectFault(sim::Fault::SwappedCrc());
    Click(kIdWriteBaud);
    ExpectBox("Setting baud rate failed", true);
    EXPECT_EQ(Requests(), std::vector<sim::Frame>{Built([](TxBuffer tx) { return BuildFdSetBaud(tx, 2); })});
    EXPECT_EQ(g_serialPort.Baud(), 2400u);
    EXPECT_EQ(Dlg().Session().Device().baudRate, 2400u);
}

// One search of a register-frame device serves every register-mode case.
TEST_F(AddressBaud, RegisterModeWritesTheLineSettingsAndKeepsThePort) {
    sim::CSimulator& device = OpenOnFoundDevice({.kind = DeviceKind::Soil, .address = 1, .baud = 9600});
    ASSERT_EQ(Dlg().Session().Device().RegisterMode(), true);
    ASSERT_EQ(Dlg().Session().Device().baudRate, 9600u);

    // Address 6 with the baud code of the rate the search reported (9600: 3).
    SetText(kIdAddressField, "6");
    Click(kIdWriteAddress);
    ExpectBox("Successfully set the address", false);
    const std::vector<sim::Frame> sent = Requests();
    ASSERT_EQ(sent.size(), 1u);
    ASSERT_EQ(sent[0].size(), 19u);
    EXPECT_EQ(sim::Frame(sent[0].begin(), sent[0].begin() + 17),
              HexFrame("FF 10 02 00 00 05 0A 00 06 00 03 00 00 00 00 00 00"));
    EXPECT_EQ(sent[0], Built([](TxBuffer tx) { return BuildLineSettingsWrite(tx, 6, kFdBaudCode9600); }));
    EXPECT_EQ(Dlg().Session().Device().address, 1);  // unchanged: the reply carries no address
    EXPECT_EQ(device.Address(), 6);

    // The address read in register mode refreshes the search bytes silently;
    // a baud code outside the table reads as rate 0.
    device.SetRegister(kRegLineParity, 2);
    device.SetRegister(kRegLineBaud, 9);
    ClearBusy();
    Click(kIdReadAddress);
    EXPECT_EQ(Text(kIdAddressField), "6");
    EXPECT_EQ(Text(kIdBaudField), "0");
    EXPECT_EQ(Dlg().Session().Device().parity, 2);
    EXPECT_EQ(Dlg().Session().Device().baudRate, 0u);
    EXPECT_TRUE(Boxes().empty());

    // A rate the tool never writes goes out as code 2 in the address write.
    ClearRequests();
    device.InjectFault(sim::Fault::BadCrc());
    SetText(kIdAddressField, "2");
    Click(kIdWriteAddress);
    ExpectBox("The address setting failed", true);
    EXPECT_EQ(Requests().at(0), Built([](TxBuffer tx) { return BuildLineSettingsWrite(tx, 2, 2); }));
    device.SetBaud(9600);  // the write moved it to 4800; back on our line

    // (The device acts on a write whatever its reply: 9600 keeps it where it is.)
    device.InjectFault(sim::Fault::Short());
    SetText(kIdBaudField, "9600");
    Click(kIdWriteBaud);
    ExpectBox("Setting baud rate failed", true);

    // Baud 2400 to the address the read reported: reported set, but our port
    // stays at 9600 and the rate we keep is the old one.
    ClearRequests();
    SetText(kIdBaudField, "2400");
    Click(kIdWriteBaud);
    ExpectBox("The baud rate is set successfully", false);
    EXPECT_EQ(Requests().at(0),
              Built([](TxBuffer tx) { return BuildLineSettingsWrite(tx, 6, kFdBaudCode2400); }));
    EXPECT_EQ(g_serialPort.Baud(), 9600u);
    EXPECT_EQ(Dlg().Session().Device().baudRate, 0u);
}

}  // namespace
