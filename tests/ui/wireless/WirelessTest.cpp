// The wireless receiver through the real main window against a simulated
// receiver on a pseudo-terminal: the configuration sequence around the
// window, the channel, sleep-time and T&H operations, and the address grid.

#include <algorithm>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "protocol/FrameCodes.h"
#include "support/BuiltFrame.h"
#include "support/MainWindowFixture.h"
#include "res/IdsWireless.h"
#include "ui/wireless/WirelessDlg.h"
#include "res/IdsConfig.h"

namespace {

using sim::DeviceKind;
using sim::Fault;
using std::chrono::milliseconds;

constexpr QRgb kGreen = qRgb(132, 202, 53);
constexpr QRgb kGrey = qRgb(120, 123, 135);

const sim::Frame kEnter = HexFrame("FB FB FB 01 01 00 00 00 00 45 ED");
const sim::Frame kExit = HexFrame("FB FB FB 02 01 00 00 00 00 45 DE");

sim::Frame Configure(std::uint8_t index) {
    return Built([&](TxBuffer tx) { return BuildFbConfigureReceiver(tx, index); });
}
sim::Frame Clear(std::uint8_t index) {
    return Built([&](TxBuffer tx) { return BuildFbClearReceiver(tx, index); });
}

class WirelessTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        g_thReadPending = false;
        OpenOnFoundDevice({.kind = DeviceKind::Wireless, .address = 1, .baud = 2400});
    }

    CWirelessDlg& Wireless() { return Dlg().WirelessWindow(); }

    // Presses the main window's wireless button; runs `inside` once the window is up, then closes it with
    // `close` (the window's own ending by default).
    void InWindow(const std::function<void()>& inside, const std::function<void()>& close = {}) {
        bool opened = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!Wireless().isVisible()) return;
            poll.stop();
            opened = true;
            inside();
            if (close) {
                close();
            } else {
                Wireless().done(0);
            }
        });
        poll.start(10);
        Click(kIdWirelessParaSet);
        EXPECT_TRUE(opened) << "the wireless window did not open";
    }

    void Press(int id) { Click(Wireless(), id); }

    // Answers the clear-device box with `answer` once it is up.
    void AnswerClearBox(const std::function<void(CClearDeviceDlg&)>& answer) {
        auto* poll = new QTimer(&Wireless());
        QObject::connect(poll, &QTimer::timeout, [this, poll, answer] {
            if (!Wireless().m_clearDlg.isVisible()) return;
            poll->deleteLater();
            poll->stop();
            answer(Wireless().m_clearDlg);
        });
        poll->start(10);
    }

    QRgb GridPixel(int address) {
        QWidget* button = Wireless().GetDlgItem(kIdFirstGridButton + address - 1);
        return Wireless().grab().toImage().pixel(button->geometry().center()) & 0xFFFFFF;
    }
    std::vector<int> GreenAddresses() {
        const QImage window = Wireless().grab().toImage();
        std::vector<int> green;
        for (int address = 1; address <= 200; ++address) {
            const QRgb pixel = window.pixel(Wireless().GetDlgItem(kIdFirstGridButton + address - 1)->geometry().center());
            if ((pixel & 0xFFFFFF) == (kGreen & 0xFFFFFF)) {
                green.push_back(address);
            } else {
                EXPECT_EQ(pixel & 0xFFFFFF, kGrey & 0xFFFFFF) << "address " << address;
            }
        }
        return green;
    }
    void WaitForFirstColouring() { Pump(milliseconds(150)); }
};

TEST_F(WirelessTest, SequenceBracketsTheWindowWithEnterAndExit) {
    Device().Update([](sim::DeviceState& state) { state.wireless.sleepTime = 300; });
    InWindow([&] {
        EXPECT_FALSE(Dlg().IsDlgItemEnabled(kIdWirelessParaSet)) << "main controls stay off meanwhile";
        EXPECT_TRUE(Device().Wireless().configMode);
        EXPECT_EQ(Wireless().ComboGetCount(kIdChannelBox), 64);
        EXPECT_EQ(Wireless().ComboGetCurSel(kIdChannelBox), -1);
        EXPECT_FALSE(Wireless().IsDlgItemEnabled(kIdChannelBox));
        EXPECT_FALSE(Wireless().IsDlgItemEnabled(kIdWriteChannel));
        EXPECT_EQ(Wireless().GetDlgItemText(kIdSleepTime), "300");
        EXPECT_EQ(Requests(), std::vector<sim::Frame>{kEnter});
    });
    EXPECT_EQ(Requests(), (std::vector<sim::Frame>{kEnter, kExit}));
    EXPECT_FALSE(Device().Wireless().configMode);
    EXPECT_TRUE(Dlg().IsDlgItemEnabled(kIdWirelessParaSet));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor goes with the waits";
}

TEST_F(WirelessTest, ExitIsSentHoweverTheWindowCloses) {
    struct Case {
        const char* name;
        std::function<void(CWirelessDlg&)> close;
    };
    const Case cases[] = {
        {"close box", [](CWirelessDlg& w) { w.close(); }},
        {"Esc", [](CWirelessDlg& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"Enter in the sleep-time field", [](CWirelessDlg& w) {
             w.GetDlgItem(kIdSleepTime)->setFocus();
             QTest::keyClick(w.GetDlgItem(kIdSleepTime), Qt::Key_Return);
         }},
    };
    for (const Case& c : cases) {
        ClearRequests();
        InWindow([] {}, [&] { c.close(Wireless()); });
        EXPECT_EQ(Requests(), (std::vector<sim::Frame>{kEnter, kExit})) << c.name;
        EXPECT_FALSE(Wireless().isVisible()) << c.name;
    }
}

// The enter reply is judged as one piece: 1 to 3 stray bytes do not end the
// 600 ms polls, a broken reply ends them with the warning.
TEST_F(WirelessTest, EnterFailsOnSilenceOrABadReplyButOutwaitsStrayBytes) {
    const std::string kEnterFailed =
        "Wireless devices failed to enter configuration mode,Please check the connection";
    struct Case {
        const char* name;
        Fault fault;
        bool opens;
    };
    const Case cases[] = {
        {"silence", Fault::Silent(), false},
        {"bad CRC", Fault::BadCrc(), false},
        {"stray bytes, then the reply", Fault::Glitch(milliseconds(700)), true},
    };
    for (const Case& c : cases) {
        ClearRequests();
        ClearBoxes();
        Device().InjectFault(c.fault);
        bool opened = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!Wireless().isVisible()) return;
            opened = true;
            Wireless().done(0);
        });
        poll.start(10);
        Click(kIdWirelessParaSet);
        EXPECT_EQ(opened, c.opens) << c.name;
        if (c.opens) {
            EXPECT_TRUE(Boxes().empty()) << c.name;
            EXPECT_EQ(Requests(), (std::vector<sim::Frame>{kEnter, kExit})) << c.name;
        } else {
            const MessageBoxCall box = OnlyBox();
            EXPECT_EQ(box.text, kEnterFailed) << c.name;
            EXPECT_EQ(box.caption, "Warning");
            EXPECT_EQ(box.icon, MsgIcon::Question);
            EXPECT_EQ(Requests(), std::vector<sim::Frame>{kEnter}) << c.name << ": no window, no exit";
        }
        EXPECT_TRUE(Dlg().IsDlgItemEnabled(kIdWirelessParaSet)) << c.name;
    }
}

TEST_F(WirelessTest, SilentExitWarnsToPowerCycle) {
    InWindow([&] { Device().InjectFault(Fault::Silent()); });
    const MessageBoxCall box = OnlyBox();
    EXPECT_EQ(box.text, "Exit configuration mode failed,Please power on the device again");
    EXPECT_EQ(box.caption, "Warning");
    EXPECT_EQ(box.icon, MsgIcon::Question);
    EXPECT_TRUE(Dlg().IsDlgItemEnabled(kIdWirelessParaSet));
}

TEST_F(WirelessTest, ChannelIsReadIntoTheBoxAndWrittenFromIt) {
    InWindow([&] {
        Device().Update([](sim::DeviceState& state) { state.wireless.channel = 42; });
        Press(kIdReadChannel);
        EXPECT_EQ(Wireless().ComboGetCurSel(kIdChannelBox), 42);
        EXPECT_EQ(Wireless().GetDlgItemText(kIdChannelBox), "通道42");
        EXPECT_TRUE(Wireless().IsDlgItemEnabled(kIdChannelBox));
        EXPECT_TRUE(Wireless().IsDlgItemEnabled(kIdWriteChannel));
        EXPECT_TRUE(Boxes().empty());

        Choose(Wireless(), kIdChannelBox, 7);
        ClearRequests();
        Press(kIdWriteChannel);
        EXPECT_EQ(Requests(), std::vector<sim::Frame>{Built([](TxBuffer tx) { return BuildFbChannelWrite(tx, 7); })});
        EXPECT_EQ(Device().Wireless().channel, 7);
        MessageBoxCall box = OnlyBox();
        EXPECT_EQ(box.text, "Config the channel para successfully");
        EXPECT_EQ(box.caption, "Prompt");
        EXPECT_EQ(box.icon, MsgIcon::None);

        // A channel beyond the list selects nothing, and is then written as FF.
        Device().Update([](sim::DeviceState& state) { state.wireless.channel = 64; });
        Press(kIdReadChannel);
        EXPECT_EQ(Wireless().ComboGetCurSel(kIdChannelBox), -1);
        EXPECT_TRUE(Wireless().IsDlgItemEnabled(kIdWriteChannel));
        ClearRequests();
        Press(kIdWriteChannel);
        EXPECT_EQ(Requests().at(0)[5], 0xFF);
    });
}

TEST_F(WirelessTest, SleepTimeWritesTheTypedNumbersLow16Bits) {
    InWindow([&] {
        struct Case {
            const char* typed;
            std::uint16_t sent;
        };
        const Case cases[] = {{"120", 120}, {"abc", 0}, {"-1", 0xFFFF}, {"70000", 4464}, {"  65535", 65535}};
        for (const Case& c : cases) {
            ClearRequests();
            ClearBoxes();
            Wireless().SetDlgItemText(kIdSleepTime, c.typed);
            Press(kIdWriteSleepTime);
            EXPECT_EQ(Requests(),
                      std::vector<sim::Frame>{Built([&](TxBuffer tx) { return BuildFbSleepTimeWrite(tx, c.sent); })})
                << c.typed;
            EXPECT_EQ(Wireless().m_sleepTime, c.sent) << c.typed;
            EXPECT_EQ(OnlyBox().text, "Config the sleep para successfully") << c.typed;
        }
        Device().Update([](sim::DeviceState& state) { state.wireless.sleepTime = 900; });
        Press(kIdReadSleepTime);
        EXPECT_EQ(Wireless().GetDlgItemText(kIdSleepTime), "900");
        EXPECT_EQ(Wireless().m_sleepTime, 900);
    });
}

TEST_F(WirelessTest, EachFailedParameterOperationShowsItsTextOnce) {
    struct Case {
        int button;
        const char* text;
    };
    const Case cases[] = {
        {kIdReadChannel, "Read the channel para failed,Please try again"},
        {kIdReadSleepTime, "Failed to read the sleep parameter,Please read again"},
        {kIdWriteSleepTime, "Config the sleep para failed,Please config again"},
    };
    InWindow([&] {
        Wireless().SetDlgItemText(kIdSleepTime, "77");
        for (const Fault& fault : {Fault::Short(), Fault::BadCrc(), Fault::Silent()}) {
            for (const Case& c : cases) {
                ClearBoxes();
                Device().InjectFault(fault);
                Press(c.button);
                const MessageBoxCall box = OnlyBox();
                EXPECT_EQ(box.text, c.text) << sim::FaultName(fault);
                EXPECT_EQ(box.caption, "Warning");
                EXPECT_EQ(box.icon, MsgIcon::Question);
            }
        }
        EXPECT_EQ(Wireless().GetDlgItemText(kIdSleepTime), "77") << "a failed read leaves the field";
        EXPECT_EQ(Wireless().m_sleepTime, 77) << "a failed write keeps the typed value";
        EXPECT_FALSE(Wireless().IsDlgItemEnabled(kIdWriteChannel)) << "a failed read enables nothing";
    });
}

TEST_F(WirelessTest, TemperatureAndHumidityInTenths) {
    struct Case {
        std::uint16_t t, h;
        const char* shown;
    };
    const Case cases[] = {
        {253, 605, "25.3℃  60.5 %RH"},
        {0xFF9C, 605, "-10.0℃  60.5 %RH"},
        {0x8000, 0, "-3276.8℃  0.0 %RH"},
        {0, 0xFFFF, "0.0℃  6553.5 %RH"},
    };
    InWindow([&] {
        for (const Case& c : cases) {
            Device().Update([&](sim::DeviceState& state) {
                state.wireless.temperature = c.t;
                state.wireless.humidity = c.h;
            });
            g_thReadPending = false;  // what timer 2 does 600 ms after each read
            Press(kIdReadTh);
            EXPECT_EQ(Wireless().GetDlgItemText(kIdThValue), c.shown);
        }

        // A second click within 600 ms sends nothing; after the timer it reads.
        g_thReadPending = false;
        ClearRequests();
        Press(kIdReadTh);
        Press(kIdReadTh);
        EXPECT_EQ(Requests().size(), 1u);
        ASSERT_TRUE(QTest::qWaitFor([] { return !g_thReadPending; }, 2000));
        Device().InjectFault(Fault::Silent());
        Press(kIdReadTh);
        EXPECT_EQ(Wireless().GetDlgItemText(kIdThValue), "") << "a failed read leaves the field empty";
        EXPECT_TRUE(Boxes().empty());
        g_thReadPending = true;  // a read has just started when the window closes
    });
    // Closed within 600 ms of a read: the next opening may read at once.
    EXPECT_FALSE(g_thReadPending);
    InWindow([&] {
        ClearRequests();
        Press(kIdReadTh);
        EXPECT_EQ(Requests().size(), 1u);
    });
}

TEST_F(WirelessTest, GridShowsExactlyTheAddressesTheReceiverReports) {
    Device().Update([](sim::DeviceState& state) {
        state.wireless.configBits = {};
        state.wireless.configBits[0] = 0x01;
        state.wireless.configBits[24] = 0x80;
    });
    InWindow([&] {
        WaitForFirstColouring();
        EXPECT_EQ(GreenAddresses(), (std::vector<int>{1, 200}));
    });
}

// Each legend square is drawn from its control's top-left corner at the
// system icon size: it covers the control's centre and is as large as a grid
// button.
TEST_F(WirelessTest, LegendSquaresAreAsLargeAsTheGridButtons) {
    InWindow([&] {
        const QImage window = Wireless().grab().toImage();
        const QSize button = Wireless().GetDlgItem(kIdFirstGridButton)->size();
        const struct {
            int icon;
            QRgb colour;
        } legends[] = {{IDI_CONFIGURED, kGreen}, {IDI_NOT_CONFIGURED, kGrey}};
        const auto items = Wireless().Template().items;
        for (const auto& legend : legends) {
            const auto item = std::find_if(items.begin(), items.end(), [&](const DlgItem& i) {
                return i.kind == DlgItemKind::Icon && i.resource == legend.icon;
            });
            ASSERT_NE(item, items.end()) << legend.icon;
            const QRect control = Wireless().MapDialogRect(item->x, item->y, item->cx, item->cy);
            const QPoint buttonCorner = control.topLeft() + QPoint(button.width() - 1, button.height() - 1);
            for (const QPoint& at : {control.topLeft(), control.center(), buttonCorner})
                EXPECT_EQ(window.pixel(at) & 0xFFFFFF, legend.colour & 0xFFFFFF)
                    << "icon " << legend.icon << " at " << at.x() << "," << at.y();
        }
    });
}

TEST_F(WirelessTest, ConfigureShowsWhatTheReplySays) {
    InWindow([&] {
        WaitForFirstColouring();
        ClearRequests();
        Click(Wireless(), kIdFirstGridButton + 199);
        EXPECT_EQ(Requests(), std::vector<sim::Frame>{Configure(199)});
        EXPECT_EQ(Requests().at(0)[5], 0xC7);
        MessageBoxCall box = OnlyBox();
        EXPECT_EQ(box.text, "Config para successfully");
        EXPECT_EQ(box.caption, "Prompt");
        EXPECT_EQ(box.icon, MsgIcon::None);
        EXPECT_EQ(GreenAddresses(), std::vector<int>{200});

        // A receiver that keeps its table: the clicked button stays grey, and
        // every other one follows the reply.
        Device().Update([](sim::DeviceState& state) {
            state.wireless.ignoresConfigure = true;
            state.wireless.SetConfigured(9, true);
            state.wireless.sleepTime = 5;
        });
        ClearBoxes();
        Click(Wireless(), kIdFirstGridButton + 2);
        EXPECT_EQ(OnlyBox().text, "Config para successfully");
        EXPECT_EQ(GreenAddresses(), (std::vector<int>{10, 200}));
        EXPECT_EQ(Wireless().m_sleepTime, 5);
        EXPECT_EQ(Wireless().GetDlgItemText(kIdSleepTime), "60") << "the field keeps the last read";
    });
}

TEST_F(WirelessTest, ClearAsksFirstAndClearsOnlyTheClickedAddress) {
    Device().Update([](sim::DeviceState& state) {
        state.wireless.SetConfigured(0, true);
        state.wireless.SetConfigured(1, true);
    });
    struct Case {
        const char* name;
        std::function<void(CClearDeviceDlg&)> answer;
    };
    const Case refusals[] = {
        {"否", [](CClearDeviceDlg& box) { box.ClickDlgItem(kIdClearNo); }},
        {"Esc", [](CClearDeviceDlg& box) { QTest::keyClick(&box, Qt::Key_Escape); }},
        {"close box", [](CClearDeviceDlg& box) { box.close(); }},
    };
    InWindow([&] {
        WaitForFirstColouring();
        for (const Case& c : refusals) {
            Wireless().m_clearDlg.m_answer = true;  // a stale 是 must not count
            ClearRequests();
            AnswerClearBox(c.answer);
            Click(Wireless(), kIdFirstGridButton);
            EXPECT_TRUE(Requests().empty()) << c.name;
            EXPECT_TRUE(Boxes().empty()) << c.name;
            EXPECT_EQ(GreenAddresses(), (std::vector<int>{1, 2})) << c.name;
        }

        // The receiver's reply to the clear holds no bitmap: only the clicked
        // address changes.
        Device().Update([](sim::DeviceState& state) { state.wireless.SetConfigured(50, true); });
        AnswerClearBox([](CClearDeviceDlg& box) { box.ClickDlgItem(kIdClearYes); });
        Click(Wireless(), kIdFirstGridButton);
        EXPECT_EQ(Requests(), std::vector<sim::Frame>{Clear(0)});
        const MessageBoxCall box = OnlyBox();
        EXPECT_EQ(box.text, "Clear config para successfully");
        EXPECT_EQ(box.caption, "Prompt");
        EXPECT_EQ(GreenAddresses(), std::vector<int>{2});
    });
}

TEST_F(WirelessTest, SilentReceiverFailsConfigureAndClearWithOneBoxEach) {
    Device().Update([](sim::DeviceState& state) { state.wireless.SetConfigured(0, true); });
    InWindow([&] {
        WaitForFirstColouring();
        Device().InjectFault(Fault::Silent(), sim::CSimulator::kEveryRequest);
        Click(Wireless(), kIdFirstGridButton + 4);
        AnswerClearBox([](CClearDeviceDlg& box) { box.ClickDlgItem(kIdClearYes); });
        Click(Wireless(), kIdFirstGridButton);
        ASSERT_EQ(Boxes().size(), 2u);
        for (const RecordedBox& box : Boxes()) {
            EXPECT_EQ(box.call.text, "Clear config para failed, Please reconfigure");
            EXPECT_EQ(box.call.caption, "Warning");
            EXPECT_EQ(box.call.icon, MsgIcon::Question);
        }
        EXPECT_EQ(GreenAddresses(), std::vector<int>{1});
        Device().ClearFaults();
    });
}

// Each refresh lightens the hover face by 30 per channel until its brightest
// channel reaches 255.
TEST_F(WirelessTest, HoverFaceLightensWithEachRefreshUntilItStops) {
    InWindow([&] {
        WaitForFirstColouring();
        CImageButton& button = Wireless().m_gridButtons[10];
        QPalette dark = QApplication::palette();
        dark.setColor(QPalette::Button, QColor(100, 110, 120));
        const QPalette saved = QApplication::palette();
        QApplication::setPalette(dark);
        QApplication::processEvents();
        const QPoint inside = button.rect().center();
        QMouseEvent move(QEvent::MouseMove, inside, button.mapToGlobal(inside), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        std::vector<int> reds;
        for (int refresh = 0; refresh < 7; ++refresh) {
            Wireless().RefreshGrid();
            QApplication::sendEvent(&button, &move);
            ASSERT_TRUE(button.IsHot());
            reds.push_back(qRed(button.grab().toImage().pixel(inside)));
        }
        EXPECT_EQ(reds, (std::vector<int>{130, 160, 190, 220, 235, 235, 235}));
        QApplication::setPalette(saved);
    });
}

}  // namespace
