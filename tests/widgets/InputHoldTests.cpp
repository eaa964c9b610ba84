// Clicks made while a handler waits for a device are handled after that
// handler, in order, and before any timer that fell due meanwhile.

#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>

#include "WidgetTestSupport.h"
#include "widgets/DialogBase.h"
#include "widgets/InputHold.h"

namespace {

using namespace testdlg;
using namespace std::chrono_literals;

constexpr int kBusyTimer = 1;

// A fake exchange: waits at least `least` and then until `until` holds, the
// way a real one polls the line while the windows keep painting.
void Exchange(std::chrono::milliseconds least, const std::function<bool()>& until) {
    CInputHold::Begin();
    CInputHold::Pump(least);
    for (int i = 0; i < 1000 && !until(); ++i) CInputHold::Pump(10ms);
    CInputHold::End();
}

class CHoldDialog : public CDialogBase {
public:
    CHoldDialog() : CDialogBase(kTemplate) {
        Create();
        show();
    }
    QStringList log;
    bool busy = false;

protected:
    void OnTimer(int timerId) override {
        if (timerId != kBusyTimer) return;
        if (busy) log << "tick";
        busy = false;
    }
};

// Posts `count` clicks on `button` from another thread.
void PostClicksFromThread(QWidget* button, int count) {
    std::thread poster([post = MouseClickPoster(button), count] {
        for (int i = 0; i < count; ++i) post();
    });
    poster.join();
}

TEST(InputHold, ClicksDuringAGuardedExchangeFindItBusyAndComeBeforeTheTimer) {
    CHoldDialog dialog;
    QWidget* go = dialog.GetDlgItem(kGo);
    dialog.OnCommand(kGo, [&] {
        if (dialog.busy) {
            dialog.log << "ignored";
            return;
        }
        dialog.busy = true;
        dialog.log << "run";
        if (dialog.log.size() > 1) return;
        // The first run waits until the busy timer has fallen due, then the
        // operator clicks three more times.
        Exchange(200ms, [] { return CInputHold::PendingTimerCount() >= 1; });
        Exchange(0ms, [] { return true; });  // a second exchange in the same handler
        CInputHold::Begin();
        PostClicksFromThread(go, 3);
        CInputHold::Pump(0ms);
        for (int i = 0; i < 1000 && CInputHold::HeldEventCount() < 6; ++i) CInputHold::Pump(10ms);
        CInputHold::End();
        EXPECT_EQ(dialog.log, QStringList{"run"}) << "nothing ran while the handler waited";
    });
    dialog.SetTimer(kBusyTimer, 300);

    PostClick(go);
    ASSERT_TRUE(WaitUntil([&] { return dialog.log.contains("tick"); }));
    EXPECT_EQ(dialog.log, (QStringList{"run", "ignored", "ignored", "ignored", "tick"}));

    // After the tick the next click runs again.
    PostClick(go);
    ASSERT_TRUE(WaitUntil([&] { return dialog.log.count("run") == 2; }));
    EXPECT_FALSE(CInputHold::IsHolding());
}

TEST(InputHold, UnguardedClicksRunOneAfterAnotherEachAfterItsMessageBox) {
    CHoldDialog dialog;
    QWidget* go = dialog.GetDlgItem(kGo);
    SetMessageBoxHook([&](const MessageBoxCall& call) {
        dialog.log << QString::fromStdString("box " + call.text);
        return 1;
    });
    int runs = 0;
    bool inside = false;
    dialog.OnCommand(kGo, [&] {
        EXPECT_FALSE(inside) << "a handler ran inside another";
        inside = true;
        const QString n = QString::number(++runs);
        dialog.log << "enter " + n;
        if (runs == 1) {
            // Two more clicks arrive from a timer while the first write waits.
            QTimer::singleShot(20, go, [go] {
                PostClick(go);
                PostClick(go);
            });
            Exchange(200ms, [] { return CInputHold::HeldEventCount() >= 4; });
        } else {
            Exchange(20ms, [] { return true; });
        }
        dialog.MessageBox(n.toStdString());
        dialog.log << "leave " + n;
        inside = false;
    });

    PostClick(go);
    ASSERT_TRUE(WaitUntil([&] { return runs == 3 && !inside; }));
    SetMessageBoxHook({});
    EXPECT_EQ(dialog.log, (QStringList{"enter 1", "box 1", "leave 1", "enter 2", "box 2", "leave 2", "enter 3",
                                       "box 3", "leave 3"}));
}

TEST(InputHold, OtherWindowsTakeInputWhileOurDialogsAreHeld) {
    CHoldDialog dialog;
    QPushButton other(QStringLiteral("not a dialog of ours"));
    other.show();
    int otherClicks = 0, goClicks = 0;
    QObject::connect(&other, &QPushButton::clicked, [&] { ++otherClicks; });
    dialog.OnCommand(kOther, [&] { ++goClicks; });

    CInputHold::Begin();  // outside any handler: ends at End()
    PostClick(&other);
    PostClick(dialog.GetDlgItem(kOther));
    CInputHold::Pump(50ms);
    for (int i = 0; i < 500 && otherClicks == 0; ++i) CInputHold::Pump(10ms);
    EXPECT_EQ(otherClicks, 1);
    EXPECT_EQ(goClicks, 0);
    EXPECT_EQ(CInputHold::HeldEventCount(), 2u);
    CInputHold::End();
    EXPECT_EQ(goClicks, 1);
    EXPECT_EQ(CInputHold::HeldEventCount(), 0u);
}

TEST(InputHold, HeldInputOfAClosedOrDestroyedDialogIsDropped) {
    CHoldDialog dialog;
    auto doomed = std::make_unique<CHoldDialog>();
    CHoldDialog closed;
    int doomedClicks = 0, closedClicks = 0, ownClicks = 0;
    doomed->OnCommand(kGo, [&] { ++doomedClicks; });
    closed.OnCommand(kGo, [&] { ++closedClicks; });
    dialog.OnCommand(kOther, [&] { ++ownClicks; });
    doomed->busy = true;
    doomed->SetTimer(kBusyTimer, 10);

    dialog.OnCommand(kGo, [&] {
        PostClick(doomed->GetDlgItem(kGo));
        PostClick(dialog.GetDlgItem(kOther));
        PostClick(closed.GetDlgItem(kGo));
        Exchange(0ms, [] { return CInputHold::HeldEventCount() >= 6 && CInputHold::PendingTimerCount() >= 1; });
        doomed.reset();
        closed.EndDialog(IDCANCEL);  // as a window that has gone, it takes no more input
    });
    dialog.ClickDlgItem(kGo);
    EXPECT_EQ(ownClicks, 1);
    EXPECT_EQ(doomedClicks, 0);
    EXPECT_EQ(closedClicks, 0);
    EXPECT_EQ(CInputHold::PendingTimerCount(), 0u);
}

TEST(InputHold, AModalWindowOpenedByAHeldHandlerTakesItsOwnInput) {
    CHoldDialog dialog;
    CDialogBase modal(kTemplate);
    int modalClicks = 0, laterClicks = 0;
    modal.OnCommand(kGo, [&] {
        ++modalClicks;
        Exchange(20ms, [] { return true; });  // an exchange of the modal window
        modal.EndDialog(IDOK);
    });
    dialog.OnCommand(kOther, [&] { ++laterClicks; });
    dialog.OnCommand(kGo, [&] {
        // A click on the window beneath waits until this handler returns...
        PostClick(dialog.GetDlgItem(kOther));
        Exchange(0ms, [] { return CInputHold::HeldEventCount() >= 2; });
        // ...while the window it opens works normally.
        QTimer::singleShot(0, &modal, [&] { PostClick(modal.GetDlgItem(kGo)); });
        EXPECT_EQ(modal.DoModal(), IDOK);
        EXPECT_EQ(laterClicks, 0);
    });
    PostClick(dialog.GetDlgItem(kGo));
    ASSERT_TRUE(WaitUntil([&] { return laterClicks == 1; }));
    EXPECT_EQ(modalClicks, 1);
}

}  // namespace

// Another thread ends the windows' wait at once (a reply has come); a wake-up
// sent before the wait is kept for it, and taken by it.
TEST(InputHold, AnotherThreadEndsAPumpEarly) {
    CInputHold::CPumpWake wake;
    wake.Wake();
    EXPECT_TRUE(CInputHold::Pump(10s, wake));
    std::thread waker([&] {
        std::this_thread::sleep_for(20ms);
        wake.Wake();
    });
    EXPECT_TRUE(CInputHold::Pump(10s, wake));
    waker.join();
    EXPECT_FALSE(CInputHold::Pump(1ms, wake));
}
