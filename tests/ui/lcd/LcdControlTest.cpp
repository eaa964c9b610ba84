// The LCD relay controller window through the real main window against a
// simulated controller on a pseudo-terminal: frames on the wire, status texts,
// boxes, and the relay controls that follow the chosen mode.

#include <array>

#include <QTimer>

#include "support/MainWindowFixture.h"
#include "protocol/Crc16.h"
#include "protocol/FrameCodes.h"
#include "ui/lcd/LcdControlDlg.h"
#include "res/IdsConfig.h"
#include "res/IdsLcd.h"

namespace {

using sim::DeviceKind;
using sim::Fault;
using std::chrono::milliseconds;

constexpr std::array<int, 8> kRelayControls = {kIdRelay1Status, kIdRelay2Status, kIdQueryRelay1, kIdQueryRelay2,
                                               kIdRelay1Close,  kIdRelay2Close,  kIdRelay1Open,  kIdRelay2Open};

constexpr int kManualMode = 3;  // "模式4"

const std::string kClosed = "闭合";
const std::string kOpen = "断开";

class LcdWindowTest : public MainWindowFixture {
protected:
    CLcdControlDlg& Lcd() { return Dlg().LcdWindow(); }
    void Press(int id) {
        ClearBusy();
        Click(Lcd(), id);
    }
    // The controller as the register search would have found it, or as the FD query.
    void AssumeRegisterMode(bool registerMode) {
        const CurrentDevice& device = Dlg().Session().Device();
        Dlg().Session().AssumeDevice(device.address, device.baudRate, registerMode);
    }
};

class LcdControl : public LcdWindowTest {
protected:
    void SetUp() override {
        LcdWindowTest::SetUp();
        OpenOnFoundDevice({.kind = DeviceKind::Lcd, .address = 1, .baud = 2400});
        OpenWindow(Lcd());
    }
    void ExpectRelayControls(bool enabled, const char* when) {
        for (int id : kRelayControls) EXPECT_EQ(Lcd().IsDlgItemEnabled(id), enabled) << id << " " << when;
        EXPECT_TRUE(Lcd().IsDlgItemEnabled(kIdModeBox)) << when;
        EXPECT_TRUE(Lcd().IsDlgItemEnabled(kIdSetMode)) << when;
    }
};

TEST_F(LcdControl, FramesOfTheControllerManual) {
    Choose(Lcd(), kIdModeBox, 2);  // "模式3"
    Press(kIdSetMode);
    Choose(Lcd(), kIdModeBox, kManualMode);
    Press(kIdQueryRelay1);
    Press(kIdQueryRelay2);
    EXPECT_EQ(Requests(), (std::vector<sim::Frame>{HexFrame("01 06 00 2D 00 03 59 C2"),
                                                   HexFrame("01 03 00 2F 00 01 B5 C3"),
                                                   HexFrame("01 03 00 30 00 01 84 05")}));
}

TEST_F(LcdControl, SetSendsTheChosenModeAndReportsTheEcho) {
    struct Case {
        int index;  // -1: nothing chosen
        std::uint8_t sent;
    };
    for (const Case& c : {Case{-1, 0}, Case{0, 1}, Case{1, 2}, Case{2, 3}, Case{3, 4}}) {
        if (c.index >= 0) Choose(Lcd(), kIdModeBox, c.index);
        ClearRequests();
        ClearBoxes();
        Press(kIdSetMode);
        ASSERT_EQ(Requests().size(), 1u) << c.index;
        EXPECT_EQ(Requests()[0][5], c.sent) << c.index;
        EXPECT_EQ(Device().Register(kRegLcdWorkMode), c.sent) << c.index;
        const MessageBoxCall box = OnlyBox();
        EXPECT_EQ(box.text, "Work mode setting successfully") << c.index;
        EXPECT_EQ(box.caption, "Set work mode") << c.index;
        EXPECT_EQ(box.icon, MsgIcon::None) << c.index;
    }
}

TEST_F(LcdControl, SetFailsOnceForAnyReplyButTheEcho) {
    struct Case {
        const char* name;
        Fault fault;
    };
    const Case cases[] = {
        {"silent", Fault::Silent()},
        {"two bytes", Fault::Short()},
        {"other address", Fault::WrongAddress()},
        {"bad CRC", Fault::BadCrc()},
        {"swapped CRC", Fault::SwappedCrc()},
        {"exception", Fault::Exception()},
        {"first half only", Fault::Split(milliseconds(80))},
        {"too late", Fault::Delayed(milliseconds(700))},
    };
    Choose(Lcd(), kIdModeBox, 1);
    for (const Case& c : cases) {
        Device().InjectFault(c.fault);
        ClearBoxes();
        Press(kIdSetMode);
        const MessageBoxCall box = OnlyBox();
        EXPECT_EQ(box.text, "Work mode setting failed") << c.name;
        EXPECT_EQ(box.caption, "Set work mode") << c.name;
        EXPECT_EQ(box.icon, MsgIcon::Question) << c.name;
        Pump(milliseconds(100));  // a late half or reply lands before the next drain
    }
}

TEST_F(LcdControl, RelayControlsFollowTheChosenMode) {
    ExpectRelayControls(false, "at opening");
    EXPECT_EQ(Lcd().ComboGetCurSel(kIdModeBox), -1);
    EXPECT_EQ(Lcd().ComboGetCount(kIdModeBox), 4);

    Choose(Lcd(), kIdModeBox, kManualMode);
    ExpectRelayControls(true, "mode 4");
    Choose(Lcd(), kIdModeBox, 0);
    ExpectRelayControls(false, "mode 1");
    Choose(Lcd(), kIdModeBox, kManualMode);
    Choose(Lcd(), kIdModeBox, 2);
    ExpectRelayControls(false, "mode 3");
    EXPECT_TRUE(Requests().empty()) << "choosing a mode sends nothing";
}

TEST_F(LcdControl, QueryShowsClosedForAnyNonZeroState) {
    struct Case {
        std::uint16_t reg;
        int query, status;
        std::uint16_t state;
        std::string shown;
    };
    const Case cases[] = {
        {kRegLcdRelay1, kIdQueryRelay1, kIdRelay1Status, 0, kOpen},
        {kRegLcdRelay1, kIdQueryRelay1, kIdRelay1Status, 1, kClosed},
        {kRegLcdRelay1, kIdQueryRelay1, kIdRelay1Status, 2, kClosed},
        {kRegLcdRelay2, kIdQueryRelay2, kIdRelay2Status, 0x8000, kClosed},
        {kRegLcdRelay2, kIdQueryRelay2, kIdRelay2Status, 0, kOpen},
        {kRegLcdRelay2, kIdQueryRelay2, kIdRelay2Status, 0xFFFF, kClosed},
    };
    Choose(Lcd(), kIdModeBox, kManualMode);
    for (const Case& c : cases) {
        Device().SetRegister(c.reg, c.state);
        Press(c.query);
        EXPECT_EQ(Lcd().GetDlgItemText(c.status), c.shown) << c.reg << " state " << c.state;
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(LcdControl, FailedQueryLeavesOneBlankAndNoBox) {
    const Fault faults[] = {Fault::Silent(), Fault::Short(), Fault::WrongAddress(), Fault::BadCrc(),
                            Fault::Exception()};
    Choose(Lcd(), kIdModeBox, kManualMode);
    Device().SetRegister(kRegLcdRelay2, 1);
    for (const Fault& fault : faults) {
        Press(kIdQueryRelay2);
        ASSERT_EQ(Lcd().GetDlgItemText(kIdRelay2Status), kClosed);
        Device().InjectFault(fault);
        Press(kIdQueryRelay2);
        EXPECT_EQ(Lcd().GetDlgItemText(kIdRelay2Status), " ") << sim::FaultName(fault);
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(LcdControl, StatusIsBlankWhileTheQueryWaits) {
    Choose(Lcd(), kIdModeBox, kManualMode);
    Device().SetRegister(kRegLcdRelay1, 1);
    Press(kIdQueryRelay1);
    ASSERT_EQ(Lcd().GetDlgItemText(kIdRelay1Status), kClosed);

    Device().SetRegister(kRegLcdRelay1, 0);
    Device().InjectFault(Fault::Delayed(milliseconds(250)));
    std::string duringWait;
    QTimer::singleShot(100, [&] { duringWait = Lcd().GetDlgItemText(kIdRelay1Status); });
    Press(kIdQueryRelay1);
    EXPECT_EQ(duringWait, " ");
    EXPECT_EQ(Lcd().GetDlgItemText(kIdRelay1Status), kOpen);
}

TEST_F(LcdControl, SwitchingARelayShowsNothingOnSuccessAndOneBoxOnFailure) {
    struct Case {
        int button;
        std::uint16_t reg, value;
        const char* failure;
    };
    const Case cases[] = {
        {kIdRelay1Close, kRegLcdRelay1, 1, "Relay1 control failed"},
        {kIdRelay1Open, kRegLcdRelay1, 0, "Relay1 control failed"},
        {kIdRelay2Close, kRegLcdRelay2, 1, "Relay2 control failed"},
        {kIdRelay2Open, kRegLcdRelay2, 0, "Relay2 control failed"},
    };
    Choose(Lcd(), kIdModeBox, kManualMode);
    for (const Case& c : cases) {
        Device().SetRegister(c.reg, c.value == 0 ? 1 : 0);
        ClearRequests();
        Press(c.button);
        EXPECT_TRUE(Boxes().empty()) << c.button;
        EXPECT_EQ(Device().Register(c.reg), c.value) << c.button;
        ASSERT_EQ(Requests().size(), 1u) << "no query after a switch";
        std::array<std::uint8_t, 8> expected = {1, kFuncWriteRegister, static_cast<std::uint8_t>(c.reg >> 8),
                                                static_cast<std::uint8_t>(c.reg), 0,
                                                static_cast<std::uint8_t>(c.value)};
        AppendCrc16(expected, 6);
        EXPECT_EQ(Requests()[0], sim::Frame(expected.begin(), expected.end())) << c.button;
        EXPECT_EQ(Lcd().GetDlgItemText(kIdRelay1Status), "");
        EXPECT_EQ(Lcd().GetDlgItemText(kIdRelay2Status), "");

        for (const Fault& fault : {Fault::Silent(), Fault::Short(), Fault::BadCrc(), Fault::Exception()}) {
            Device().InjectFault(fault);
            ClearBoxes();
            Press(c.button);
            const MessageBoxCall box = OnlyBox();
            EXPECT_EQ(box.text, c.failure) << c.button << " " << sim::FaultName(fault);
            EXPECT_EQ(box.caption, "Relay Control");
            EXPECT_EQ(box.icon, MsgIcon::Question);
        }
        ClearBoxes();
    }
}

TEST_F(LcdControl, ClicksWithinTheBusyPeriodDoNothing) {
    Choose(Lcd(), kIdModeBox, kManualMode);
    ExpectClicksWithinTheBusyPeriodDoNothing({
        {"query, then query", [&] { Click(Lcd(), kIdQueryRelay2); }, &Lcd(), kIdQueryRelay2},
        {"set, then set", [&] { Click(Lcd(), kIdSetMode); }, &Lcd(), kIdSetMode},
        {"query, then switch", [&] { Click(Lcd(), kIdQueryRelay1); }, &Lcd(), kIdRelay1Close},
        {"switch, then query", [&] { Click(Lcd(), kIdRelay2Open); }, &Lcd(), kIdQueryRelay2},
        {"main window read, then query", [&] { Click(kIdReadLight); }, &Lcd(), kIdQueryRelay1},
    });
}

TEST_F(LcdControl, MainWindowReadWithinTheBusyPeriodDoesNothing) {
    Choose(Lcd(), kIdModeBox, kManualMode);
    ClearBusy();
    SetText(kIdLightField, "kept");
    ClickPoster(kIdReadLight)();
    Click(Lcd(), kIdQueryRelay1);
    Pump(milliseconds(20));
    EXPECT_EQ(Requests().size(), 1u);
    EXPECT_EQ(Text(kIdLightField), "kept");
}

TEST_F(LcdControl, EachOpeningStartsAfresh) {
    Lcd().hide();
    WhileOpenedBy(kIdLcdControlMode, Lcd(), [&] {
        ExpectRelayControls(false, "first opening");
        Choose(Lcd(), kIdModeBox, kManualMode);
        Press(kIdQueryRelay1);
        EXPECT_EQ(Lcd().GetDlgItemText(kIdRelay1Status), kOpen);
    });
    WhileOpenedBy(kIdLcdControlMode, Lcd(), [&] {
        ExpectRelayControls(false, "second opening");
        EXPECT_EQ(Lcd().ComboGetCurSel(kIdModeBox), -1);
        EXPECT_EQ(Lcd().GetDlgItemText(kIdRelay1Status), "");
    });
}

// A controller found by the register search answers reads from 255, while the
// query goes to its own address; a reply from either address is taken then.
TEST_F(LcdControl, RegisterModeTakesAReplyFromTheQueriedAddress) {
    AssumeRegisterMode(true);
    Choose(Lcd(), kIdModeBox, kManualMode);
    Device().SetRegister(kRegLcdRelay1, 1);
    Press(kIdQueryRelay1);
    EXPECT_EQ(Requests().back()[0], 1) << "the query goes to the device address";
    EXPECT_EQ(Lcd().GetDlgItemText(kIdRelay1Status), kClosed);
}

// Replies that the simulated controller never sends.
class LcdScripted : public LcdWindowTest {};

TEST_F(LcdScripted, ModeReplyMustEchoEveryOneOfTheFirstEightBytes) {
    int changedByte = -1;  // -1: the plain echo
    sim::Frame trailing;
    OpenOnScriptedDevice(AlteredEcho(changedByte, 0x10, trailing));
    OpenWindow(Lcd());
    Choose(Lcd(), kIdModeBox, 2);

    struct Case {
        int changedByte;
        sim::Frame trailing;
        bool succeeds;
    };
    std::vector<Case> cases = {{-1, {}, true}, {-1, {0x00, 0x55}, true}};
    for (int i = 0; i < 8; ++i) cases.push_back({i, {}, false});
    for (const Case& c : cases) {
        changedByte = c.changedByte;
        trailing = c.trailing;
        ClearBoxes();
        Press(kIdSetMode);
        EXPECT_EQ(OnlyBox().text, c.succeeds ? "Work mode setting successfully" : "Work mode setting failed")
            << "byte " << c.changedByte << " changed, " << c.trailing.size() << " bytes after";
    }
}

TEST_F(LcdScripted, QueryReplyAddressByDeviceMode) {
    std::uint8_t replyAddress = 0;
    OpenOnScriptedDevice(
        [&](const sim::Frame&) {
            std::array<std::uint8_t, 7> reply = {replyAddress, kFuncReadRegisters, 2, 0, 1};
            AppendCrc16(reply, 5);
            return sim::Frame(reply.begin(), reply.end());
        },
        7);
    OpenWindow(Lcd());
    Choose(Lcd(), kIdModeBox, kManualMode);

    struct Case {
        bool soilMode;
        std::uint8_t replyAddress;
        bool taken;
    };
    for (const Case& c : {Case{false, 7, true}, Case{false, 255, false}, Case{false, 8, false},
                          Case{true, 255, true}, Case{true, 7, true}, Case{true, 8, false}}) {
        AssumeRegisterMode(c.soilMode);
        replyAddress = c.replyAddress;
        Press(kIdQueryRelay1);
        EXPECT_EQ(Lcd().GetDlgItemText(kIdRelay1Status), c.taken ? kClosed : " ")
            << "register mode " << c.soilMode << ", reply from " << int(c.replyAddress);
    }
}

}  // namespace
