// How the operator's clicks meet the busy flag in the real window: clicks that
// come while an exchange blocks the window thread are handled after it, before
// timer 1 can clear the flag.

#include <thread>

#include <QApplication>
#include <QTest>

#include "protocol/FrameCodes.h"
#include "support/MainWindowFixture.h"
#include "res/IdsConfig.h"

namespace {

using namespace std::chrono_literals;
using sim::DeviceKind;

class BusyOrder : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        OpenOnFoundDevice({.kind = DeviceKind::Th, .address = 1, .baud = 2400});
        // Long enough that the clicks below surely come while the exchange waits.
        Device().SetReplyLatency(150ms);
    }

    // Clicks `id` and, once the device has heard the request, posts `more`
    // clicks on it from another thread while the window thread still waits.
    void ClickWithMoreDuringTheExchange(int id, int more) {
        const std::function<void()> post = ClickPoster(id);
        const std::size_t heard = Device().Received().size();
        std::jthread operatorHand([this, post, more, heard] {
            if (!Device().WaitForFrames(heard + 1, 2000ms)) return;
            for (int i = 0; i < more; ++i) post();
        });
        Click(id);
        operatorHand.join();
        QApplication::processEvents();
    }
};

TEST_F(BusyOrder, ClicksDuringABlockingReadAreDroppedUntilTheNextTick) {
    ClickWithMoreDuringTheExchange(kIdReadTemperature, 2);
    EXPECT_EQ(Requests().size(), 1u);
    EXPECT_EQ(Text(kIdTemperatureField), "25.0");

    // Timer 1 itself clears the flag; the next click reads again.
    ASSERT_TRUE(WaitForBusyClear());
    Device().SetRegister(kRegTemperature, 0xFF38);
    Click(kIdReadTemperature);
    EXPECT_EQ(Requests().size(), 2u);
    EXPECT_EQ(Text(kIdTemperatureField), "-20.0");
}

TEST_F(BusyOrder, ClicksDuringABlockingWriteEachRunAfterTheBoxBeforeThem) {
    SetText(kIdTemperatureUpperField, "31");
    ClickWithMoreDuringTheExchange(kIdWriteTemperatureUpper, 2);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Boxes().size() >= 3; }, 3000));

    EXPECT_EQ(Requests().size(), 3u);
    ASSERT_EQ(Boxes().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Boxes()[i].call.text, "Setting successfully");
        // The write behind box i was the (i+1)th request: none went out before
        // the box of the write ahead of it.
        EXPECT_EQ(Boxes()[i].requestsBefore, i + 1);
    }
    EXPECT_EQ(Device().FcParam(kFcTemperatureUpper), 31);
}

// The search button is disabled while the search runs: clicks on it then
// are lost, as clicks on any disabled control, even though the button is
// enabled again by the time the window thread gets to them.
TEST_F(BusyOrder, ClicksOnTheDisabledSearchButtonDuringASearchAreLost) {
    sim::CSimulator& other = StartDevice({.kind = DeviceKind::Th, .address = 2, .baud = 4800}, 2);
    Dlg().ComboSetCurSel(kIdPortList, 1);
    const std::function<void()> post = ClickPoster(kIdSearchDevice);
    std::jthread operatorHand([&other, post] {
        if (other.WaitForFrames(1, 2000ms)) post();  // during the 2400 attempt
    });
    Click(kIdSearchDevice);
    operatorHand.join();
    Pump(50ms);

    EXPECT_EQ(other.ReceivedBytes().size(), 2u);  // 2400, then found at 4800
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].call.text, "Device Address:2  Band Rate:4800");
}

}  // namespace
