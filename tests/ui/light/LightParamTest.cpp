// The light intensity parameter window through the real main window against
// a simulated light transmitter on a pseudo-terminal: frames on the wire, the
// values shown and the boxes of each write.

#include "protocol/FrameCodes.h"
#include "support/MainWindowFixture.h"
#include "ui/lcd/LcdControlDlg.h"
#include "ui/light/LightParamDlg.h"
#include "res/IdsConfig.h"
#include "res/IdsLcd.h"
#include "res/IdsLight.h"

namespace {

using sim::DeviceKind;
using sim::Fault;
using std::chrono::milliseconds;

struct Parameter {
    const char* name;
    std::uint8_t code;
    int edit, read, write;
    const char* caption;
    const char* success;
    const char* failure;
};

constexpr Parameter kUpper{"upper limit", 13, kIdLightUpperField, kIdReadLightUpper, kIdWriteLightUpper,
                           "Light Intensity upper limit setting",
                           "Light Intensity limit downloaded successfully",
                           "Light Intensity limit download failed"};
constexpr Parameter kLower{"lower limit", 14, kIdLightLowerField, kIdReadLightLower, kIdWriteLightLower,
                           "Light Intensity lower limit setting",
                           "Light Intensity limit downloaded successfully",
                           "Light Intensity limit downloaded faild"};
constexpr Parameter kHysteresis{"hysteresis", 15, kIdLightHysteresisField, kIdReadLightHysteresis, kIdWriteLightHysteresis,
                                "Light Intensity hysteresis setting",
                                "Light Intensity hysteresis write successfully",
                                "Light Intensity hysteresis write failed"};
constexpr Parameter kParameters[] = {kUpper, kLower, kHysteresis};

class LightWindowTest : public MainWindowFixture {
protected:
    CLightParamDlg& Light() { return Dlg().LightWindow(); }
    void Press(int id) {
        ClearBusy();
        Click(Light(), id);
    }
    MessageBoxCall Write(const Parameter& parameter, const std::string& text) {
        ClearBoxes();
        Light().SetDlgItemText(parameter.edit, text);
        Press(parameter.write);
        const MessageBoxCall box = OnlyBox();
        ClearBoxes();
        return box;
    }
    std::string Read(const Parameter& parameter) {
        Press(parameter.read);
        return Light().GetDlgItemText(parameter.edit);
    }
};

class LightParam : public LightWindowTest {
protected:
    void SetUp() override {
        LightWindowTest::SetUp();
        OpenOnFoundDevice({.kind = DeviceKind::Light, .address = 1, .baud = 2400});
        OpenWindow(Light());
    }
};

TEST_F(LightParam, FramesOfTheSensorManual) {
    Write(kUpper, "300");
    Read(kUpper);
    EXPECT_EQ(Requests(), (std::vector<sim::Frame>{HexFrame("FC FC FC 0D 01 01 2C 30 06"),
                                                   HexFrame("FC FC FC 0D 00 00 00 61 8B")}));
    EXPECT_EQ(Light().GetDlgItemText(kUpper.edit), "300");
}

TEST_F(LightParam, WriteSendsTheLeadingIntegersLow16Bits) {
    struct Case {
        const char* typed;
        std::uint16_t sent;
    };
    const Case cases[] = {
        {"300", 300},     {"12.7", 12},   {"-5", 0xFFFB},  {"", 0},          {"65535", 65535},
        {"65536", 0},     {"70000", 4464}, {"  42 lux", 42}, {"+7", 7},        {"lux 5", 0},
        {"-65536", 0},    {"99999999999999999999", 0xFFFF},
    };
    for (const Parameter& parameter : kParameters) {
        for (const Case& c : cases) {
            ClearRequests();
            const MessageBoxCall box = Write(parameter, c.typed);
            EXPECT_EQ(box.text, parameter.success) << parameter.name << " '" << c.typed << "'";
            EXPECT_EQ(box.caption, parameter.caption);
            EXPECT_EQ(box.icon, MsgIcon::None);
            EXPECT_EQ(Requests(), std::vector<sim::Frame>{FcWrite(parameter.code, c.sent)})
                << parameter.name << " '" << c.typed << "'";
            EXPECT_EQ(Device().FcParam(parameter.code), c.sent);
            EXPECT_EQ(Light().GetDlgItemText(parameter.edit), c.typed) << "typed text stays";
        }
    }
}

TEST_F(LightParam, ReadShowsTheWordUnsigned) {
    for (const Parameter& parameter : kParameters) {
        for (const std::uint16_t word : {std::uint16_t{0}, std::uint16_t{1000}, std::uint16_t{0x8000},
                                         std::uint16_t{0xFFFF}}) {
            Device().SetFcParam(parameter.code, word);
            EXPECT_EQ(Read(parameter), std::to_string(word)) << parameter.name;
        }
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(LightParam, FailedWriteShowsItsOwnTextOnce) {
    const Fault faults[] = {Fault::Silent(),      Fault::Short(),  Fault::BadCrc(),
                            Fault::SwappedCrc(), Fault::WrongAddress(), Fault::Split(milliseconds(80)),
                            Fault::Delayed(milliseconds(700))};
    // Every kind of failure on one parameter; each parameter's own texts once.
    std::vector<std::pair<Parameter, Fault>> cases;
    for (const Fault& fault : faults) cases.emplace_back(kLower, fault);
    for (const Parameter& parameter : kParameters) cases.emplace_back(parameter, Fault::Short());
    for (const auto& [parameter, fault] : cases) {
        Device().InjectFault(fault);
        const MessageBoxCall box = Write(parameter, "123");
        EXPECT_EQ(box.text, parameter.failure) << parameter.name << " " << sim::FaultName(fault);
        EXPECT_EQ(box.caption, parameter.caption);
        EXPECT_EQ(box.icon, MsgIcon::Question);
        Pump(milliseconds(100));  // a late half or reply lands before the next drain
    }
}

TEST_F(LightParam, FailedReadLeavesOneBlankAndNoBox) {
    for (const Parameter& parameter : kParameters) {
        for (const Fault& fault : {Fault::Silent(), Fault::Short(), Fault::BadCrc(), Fault::WrongAddress()}) {
            Light().SetDlgItemText(parameter.edit, "earlier");
            Device().InjectFault(fault);
            EXPECT_EQ(Read(parameter), " ") << parameter.name << " " << sim::FaultName(fault);
        }
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(LightParam, ClicksWithinTheBusyPeriodDoNothing) {
    CDialogBase& lcd = Dlg().LcdWindow();
    OpenWindow(lcd);
    ExpectClicksWithinTheBusyPeriodDoNothing({
        {"read, then read", [&] { Click(Light(), kUpper.read); }, &Light(), kUpper.read},
        {"read, then write", [&] { Click(Light(), kLower.read); }, &Light(), kHysteresis.write},
        {"write, then write", [&] { Click(Light(), kHysteresis.write); }, &Light(), kUpper.write},
        {"main window read, then read", [&] { Click(kIdReadLight); }, &Light(), kLower.read},
        {"LCD set, then write", [&] { Click(lcd, kIdSetMode); }, &Light(), kLower.write},
    });
}

TEST_F(LightParam, EachOpeningStartsEmpty) {
    Light().hide();
    WhileOpenedBy(kIdLightParamSet, Light(), [&] {
        for (const Parameter& parameter : kParameters) {
            EXPECT_EQ(Light().GetDlgItemText(parameter.edit), "") << parameter.name;
        }
        Read(kUpper);
        EXPECT_EQ(Light().GetDlgItemText(kUpper.edit), "1000");
        Light().SetDlgItemText(kLower.edit, "55");
    });
    WhileOpenedBy(kIdLightParamSet, Light(), [&] {
        for (const Parameter& parameter : kParameters) {
            EXPECT_EQ(Light().GetDlgItemText(parameter.edit), "") << parameter.name;
        }
    });
}

// Replies that the simulated transmitter never sends.
class LightScripted : public LightWindowTest {};

TEST_F(LightScripted, WriteNeedsTheNineByteEchoWhateverFollows) {
    int changedByte = -1;  // -1: the plain echo
    sim::Frame trailing;
    OpenOnScriptedDevice(AlteredEcho(changedByte, 0x01, trailing));
    OpenWindow(Light());

    struct Case {
        int changedByte;
        sim::Frame trailing;
        bool succeeds;
    };
    std::vector<Case> cases = {{-1, {}, true}, {-1, {0x00, 0x00}, true}, {-1, {0xFC, 0x12, 0x34}, true}};
    for (int i = 0; i < 9; ++i) cases.push_back({i, {0x00, 0x00}, false});
    for (const Parameter& parameter : kParameters) {
        for (const Case& c : cases) {
            changedByte = c.changedByte;
            trailing = c.trailing;
            EXPECT_EQ(Write(parameter, "300").text, c.succeeds ? parameter.success : parameter.failure)
                << parameter.name << ": byte " << c.changedByte << " changed, " << c.trailing.size()
                << " bytes after";
        }
    }
}

// A reply as long as the echo's first bytes only is no echo, whatever the
// reply buffer still holds from an earlier exchange.
TEST_F(LightScripted, ShortenedEchoFailsAfterAGoodOne) {
    std::size_t keep = 9;
    OpenOnScriptedDevice([&](const sim::Frame& request) {
        return sim::Frame(request.begin(), request.begin() + static_cast<std::ptrdiff_t>(keep));
    });
    OpenWindow(Light());
    for (const std::size_t bytes : {9u, 8u, 9u, 5u, 9u, 4u}) {
        keep = bytes;
        EXPECT_EQ(Write(kLower, "77").text, bytes == 9 ? kLower.success : kLower.failure) << bytes << " bytes";
    }
}

}  // namespace
