// The FC parameters of the main window through the real window against a
// simulated transmitter: frames on the wire, read-back texts, boxes.

#include <QComboBox>

#include "protocol/FrameCodes.h"
#include "support/MainWindowFixture.h"
#include "res/IdsConfig.h"

namespace {

using sim::DeviceKind;

struct Setting {
    const char* name;
    int field, readButton, writeButton;
    std::uint8_t code;
};

constexpr Setting kHumidityUpper{"humidity upper", kIdHumidityUpperField, kIdReadHumidityUpper, kIdWriteHumidityUpper,
                                 5};
constexpr Setting kHumidityLower{"humidity lower", kIdHumidityLowerField, kIdReadHumidityLower, kIdWriteHumidityLower,
                                 6};
constexpr Setting kTemperatureUpper{"temperature upper", kIdTemperatureUpperField, kIdReadTemperatureUpper,
                                    kIdWriteTemperatureUpper, 3};
constexpr Setting kTemperatureLower{"temperature lower", kIdTemperatureLowerField, kIdReadTemperatureLower,
                                    kIdWriteTemperatureLower, 4};
constexpr Setting kHumidityHysteresis{"humidity hysteresis", kIdHumidityHysteresisField, kIdReadHumidityHysteresis,
                                      kIdWriteHumidityHysteresis, 8};
constexpr Setting kTemperatureHysteresis{"temperature hysteresis", kIdTemperatureHysteresisField,
                                         kIdReadTemperatureHysteresis, kIdWriteTemperatureHysteresis, 7};
constexpr Setting kHumidityAdjust{"humidity adjust", kIdHumidityAdjustField, kIdReadHumidityAdjust,
                                  kIdWriteHumidityAdjust, 2};
constexpr Setting kTemperatureAdjust{"temperature adjust", kIdTemperatureAdjustField, kIdReadTemperatureAdjust,
                                     kIdWriteTemperatureAdjust, 1};
constexpr Setting kOutputDelay{"output delay", kIdOutputDelayField, kIdReadOutputDelay, kIdWriteOutputDelay, 11};
constexpr Setting kTextSettings[] = {kHumidityUpper,      kHumidityLower,         kTemperatureUpper,
                                     kTemperatureLower,   kHumidityHysteresis,    kTemperatureHysteresis,
                                     kHumidityAdjust,     kTemperatureAdjust,     kOutputDelay};

class Parameters : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        OpenOnFoundDevice({.kind = DeviceKind::Th, .address = 1, .baud = 2400});
    }
    // Writes `text` and returns the one box it showed.
    MessageBoxCall Write(const Setting& setting, const std::string& text) {
        ClearBoxes();
        SetText(setting.field, text);
        Click(setting.writeButton);
        const MessageBoxCall box = OnlyBox();
        ClearBoxes();
        return box;
    }
    std::string Read(const Setting& setting) {
        ClearBusy();
        Click(setting.readButton);
        return Text(setting.field);
    }
    static void ExpectSuccess(const MessageBoxCall& box) {
        EXPECT_EQ(box.text, "Setting successfully");
        EXPECT_EQ(box.caption, "Sentrabus");
        EXPECT_EQ(box.icon, MsgIcon::None);
    }
    static void ExpectFailure(const MessageBoxCall& box, const char* what) {
        EXPECT_EQ(box.text, "Setting failed") << what;
        EXPECT_EQ(box.caption, "Warning") << what;
        EXPECT_EQ(box.icon, MsgIcon::Question) << what;
    }
};

TEST_F(Parameters, TheFramesTheDeviceManualQuotes) {
    struct Case {
        Setting setting;
        const char* text;
        const char* frame;
    } cases[] = {
        {kTemperatureLower, "-10", "FC FC FC 04 01 80 0A D2 10"},
        {kTemperatureAdjust, "-1.5", "FC FC FC 01 01 80 0F 12 DF"},
        {kOutputDelay, "300", "FC FC FC 0B 01 01 2C 30 8E"},
    };
    for (const Case& c : cases) {
        ClearRequests();
        ExpectSuccess(Write(c.setting, c.text));
        EXPECT_EQ(Requests(), std::vector<sim::Frame>{HexFrame(c.frame)}) << c.setting.name;
        EXPECT_EQ(Text(c.setting.field), c.text);  // a write leaves the field alone
    }
    ClearRequests();
    Dlg().ComboSetCurSel(kIdRemoteSignalBox, 1);
    Click(kIdWriteRemoteSignal);
    ExpectSuccess(OnlyBox());
    EXPECT_EQ(Requests(), std::vector<sim::Frame>{HexFrame("FC FC FC 0C 01 00 01 F0 77")});

    ClearRequests();
    EXPECT_EQ(Read(kHumidityUpper), "80");
    EXPECT_EQ(Requests(), std::vector<sim::Frame>{HexFrame("FC FC FC 05 00 00 00 63 EB")});
}

// What each typed text goes out as, and how the device's word reads back.
TEST_F(Parameters, TypedTextsGoOutTruncatedAndReadBackInTheirForm) {
    struct Case {
        Setting setting;
        std::string text;
        std::uint16_t word;
        const char* readBack;
    } cases[] = {
        {kHumidityUpper, "35.9", 0x0023, "35"},
        {kHumidityLower, "-0.5", 0x8000, "-0"},
        {kTemperatureUpper, "40000", 0x9C40, "-7232"},
        {kTemperatureUpper, "abc", 0x0000, "0"},
        {kTemperatureLower, "", 0x0000, "0"},
        {kTemperatureLower, " -12x", 0x800C, "-12"},
        {kHumidityAdjust, "2.35", 0x0017, "2.3"},
        {kTemperatureAdjust, "-1.5", 0x800F, "-1.5"},
        {kTemperatureAdjust, "1,5", 0x000A, "1.0"},
        {kHumidityHysteresis, "-2", 0x0000, "0.0"},
        {kTemperatureHysteresis, "1.5", 0x000F, "1.5"},
        {kOutputDelay, "-1", 0xFFFF, "65535"},
        {kOutputDelay, "65836", 0x012C, "300"},
        {kOutputDelay, "2.9", 0x0002, "2"},
        {kOutputDelay, std::string(300, '7'), 0xFFFF, "65535"},
    };
    for (const Case& c : cases) {
        ClearRequests();
        ExpectSuccess(Write(c.setting, c.text));
        EXPECT_EQ(Requests(), std::vector<sim::Frame>{FcWrite(c.setting.code, c.word)})
            << c.setting.name << " " << c.text.substr(0, 20);
        EXPECT_EQ(Device().FcParam(c.setting.code), c.word);
        EXPECT_EQ(Read(c.setting), c.readBack) << c.setting.name;
    }
    // A hysteresis word with bit 15 set reads with the adjusts' sign rule.
    Device().SetFcParam(kTemperatureHysteresis.code, 0x8005);
    EXPECT_EQ(Read(kTemperatureHysteresis), "-0.5");
}

TEST_F(Parameters, EachFailureClassShowsOneFailureBox) {
    const std::pair<sim::Fault, const char*> faults[] = {
        {sim::Fault::BadCrc(), "bad CRC"},
        {sim::Fault::WrongAddress(), "broken mark"},
        {sim::Fault::Short(), "short"},
        {sim::Fault::Silent(), "no reply"},
    };
    for (const auto& [fault, what] : faults) {
        Device().InjectFault(fault);
        ExpectFailure(Write(kHumidityUpper, "50"), what);
    }
    Device().InjectFault(sim::Fault::BadCrc());
    Dlg().ComboSetCurSel(kIdRemoteSignalBox, 0);
    Click(kIdWriteRemoteSignal);
    ExpectFailure(OnlyBox(), "remote signal");
    ClearBoxes();
    Device().InjectFault(sim::Fault::Short());
    ExpectFailure(Write(kOutputDelay, "1"), "output delay");
}

TEST_F(Parameters, FailedReadsLeaveTheFieldEmptyWithoutABox) {
    for (const Setting& setting : kTextSettings) {
        SetText(setting.field, "stale");
        Device().InjectFault(sim::Fault::BadCrc());
        EXPECT_EQ(Read(setting), "") << setting.name;
        SetText(setting.field, "stale");
        Device().InjectFault(sim::Fault::WrongAddress());
        EXPECT_EQ(Read(setting), "") << setting.name;
    }
    EXPECT_TRUE(Boxes().empty());
}

// Writes are not guarded by the busy flag; reads are.
TEST_F(Parameters, WritesRunWhileBusyReadsDoNot) {
    Dlg().Busy().TryEnter();
    SetText(kTemperatureUpper.field, "30");
    Click(kTemperatureUpper.writeButton);
    ExpectSuccess(OnlyBox());
    EXPECT_EQ(Requests().size(), 1u);

    ClearRequests();
    for (const Setting& setting : kTextSettings) {
        SetText(setting.field, "kept");
        Dlg().Busy().TryEnter();
        Click(setting.readButton);
        EXPECT_EQ(Text(setting.field), "kept") << setting.name;
    }
    Dlg().ComboSetCurSel(kIdRemoteSignalBox, 1);
    Dlg().Busy().TryEnter();
    Click(kIdReadRemoteSignal);
    EXPECT_EQ(Dlg().ComboGetCurSel(kIdRemoteSignalBox), 1);
    EXPECT_TRUE(Requests().empty());
}

TEST_F(Parameters, RemoteSignalSelectsByValueAndRefusesNoSelection) {
    // Nothing selected at start: refused, nothing sent.
    Click(kIdWriteRemoteSignal);
    const MessageBoxCall box = OnlyBox();
    EXPECT_EQ(box.text, "Illegal parameter");
    EXPECT_EQ(box.caption, "Warning");
    EXPECT_EQ(box.icon, MsgIcon::Question);
    EXPECT_TRUE(Requests().empty());
    ClearBoxes();

    // The text typed into the box never counts, only the selection.
    if (auto* box = qobject_cast<QComboBox*>(Dlg().GetDlgItem(kIdRemoteSignalBox))) {
        box->setEditText("1");
        Click(kIdWriteRemoteSignal);
        EXPECT_EQ(OnlyBox().text, "Illegal parameter");
        EXPECT_TRUE(Requests().empty());
        ClearBoxes();
    }
    struct Case {
        std::uint16_t value;
        int selection;
    } cases[] = {{1, 1}, {0, 0}, {2, -1}, {0xFFFF, -1}};
    for (const Case& c : cases) {
        Device().SetFcParam(kFcRemoteSignal, c.value);
        ClearBusy();
        Click(kIdReadRemoteSignal);
        EXPECT_EQ(Dlg().ComboGetCurSel(kIdRemoteSignalBox), c.selection) << c.value;
    }
    EXPECT_EQ(Requests().back(), HexFrame("FC FC FC 0C 00 00 00 60 77"));

    // A failed read leaves no selection, so the next write is refused.
    Dlg().ComboSetCurSel(kIdRemoteSignalBox, 0);
    Device().InjectFault(sim::Fault::Short());
    ClearBusy();
    Click(kIdReadRemoteSignal);
    EXPECT_EQ(Dlg().ComboGetCurSel(kIdRemoteSignalBox), -1);
    ClearRequests();
    Click(kIdWriteRemoteSignal);
    EXPECT_EQ(OnlyBox().text, "Illegal parameter");
    EXPECT_TRUE(Requests().empty());
}

}  // namespace
