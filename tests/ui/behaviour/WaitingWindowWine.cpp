// The window thread while an exchange waits, under Wine. A click made through
// the X server during a read is handled after the read and before timer 1
// clears the busy flag, so it sends nothing, as on Windows: Wine moves X input
// into the thread's queue only when the thread looks at the queue for input,
// and a click posted from another thread (the shared busy test) does not take
// that road. And during the wireless receiver's 6 s wait the window answers
// what other threads and programs send it, as a window must to count as
// responding.

#include <thread>

#include "res/IdsConfig.h"
#include "support/LineServer.h"
#include "support/SimProgram.h"
#include "support/WaitUntil.h"
#include "support/WindowBehaviourFixture.h"
#include "widgets/win32/Win32Api.h"

namespace {

using Lines = std::vector<std::string>;

POINT ScreenCentre(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

class WaitingWindow : public WindowBehaviourFixture {};

// The read of the main window waits 250 ms for its reply; the same button
// clicked through the X server meanwhile is dropped.
TEST_F(WaitingWindow, ClickThroughTheWindowSystemDuringAReadSendsNothing) {
    OpenOnFoundDevice("--device th --address 5 --baud 4800 --reply-latency 250");
    SetWindowPos(Dlg().Handle(), HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    PumpEvents(ms(100));
    const POINT target = ScreenCentre(Dlg().ItemHandle(kIdReadTemperature));
    CLineServerConnection xServer;
    ASSERT_TRUE(xServer.Valid());
    const std::string click = "click " + std::to_string(target.x) + " " + std::to_string(target.y);

    // Each try starts on a clear flag, at its own place among timer 1's ticks.
    for (int attempt = 0; attempt < 3; ++attempt) {
        ASSERT_TRUE(WaitForBusyClear());
        ClearRequests();
        bool clicked = false;
        std::jthread operatorHand([&] {
            if (WaitUntil([&] { return !Requests().empty(); }, ms(3000))) clicked = xServer.Request(click);
        });
        Dlg().ClickDlgItem(kIdReadTemperature);
        operatorHand.join();
        ASSERT_TRUE(clicked) << "no X click (xdotool on the display of the test run)";
        PumpEvents(ms(700));  // the click, then two ticks of timer 1
        EXPECT_EQ(Requests(), Lines{"4800 05 03 00 00 00 02"}) << "try " << attempt + 1;
    }
}

TEST_F(WaitingWindow, AnswersOtherThreadsThroughTheWirelessWait) {
    OpenOnFoundDevice("--device wireless --address 5 --baud 4800 --fault none --fault-count 1 --fault silent");
    HWND window = Dlg().Handle();
    std::vector<bool> answered;
    std::jthread otherProgram([&] {
        if (!WaitUntil([&] { return !Requests().empty(); }, ms(3000))) return;
        for (int i = 0; i < 4; ++i) {
            DWORD_PTR result = 0;
            answered.push_back(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 1000, &result) != 0);
            std::this_thread::sleep_for(ms(500));
        }
    });
    Click(kIdWirelessParaSet);  // the receiver never answers the enter: 6 s
    otherProgram.join();
    EXPECT_EQ(answered, std::vector<bool>(4, true));
    EXPECT_EQ(Requests(), Lines{"4800 FB FB FB 01 01 00 00 00 00"});
}
