#pragma once
// Holds the operator's input back while a device exchange waits, so that the
// windows behave as on the Windows message queue:
//
//  - while the window thread waits for a reply, the windows keep painting,
//    but clicks and keys aimed at our dialogs are not handled: they are kept,
//    in order;
//  - when the handler that started the exchange returns, the kept input is
//    handled in the order it came, each event after the previous one's
//    handler has returned;
//  - only then do the dialogs' timers that fell due meanwhile run, once per
//    dialog and timer id, because the platform delivers a timer only when no
//    input is queued.
//
// An exchange calls Begin() when it starts, Pump() for each wait and End()
// when it finishes. A hold begun inside a handler (every handler of a
// CDialogBase runs in a DispatchScope) ends when the outermost handler of the
// window returns, and End() then does nothing; a hold begun outside any
// handler ends at End().
//
// A modal window opened meanwhile (CDialogBase::DoModal) gets a hold level of
// its own: its input and timers run normally, and the input kept for the
// windows beneath it waits until the handler that opened it has returned.
//
// On Windows (win32/InputHoldWin32.cpp) the message queue keeps the order by
// itself: a pump dispatches paint messages only and leaves the input queued,
// and the queue hands out a timer only when no input is waiting. The scopes
// do nothing there and DeferTimer never keeps a tick.
//
// Window thread only.

#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>

class CDialogBase;
class QEventLoop;

class CInputHold {
public:
    // Lets another thread end a pump early.
    class CPumpWake {
    public:
        // Any thread: ends the pump in progress, or the next one, at once.
        void Wake();

    private:
        friend class CInputHold;
        std::mutex m_lock;
#if defined(_WIN32)
        // The event a pump waits on beside the window's paint messages
        // (InputHoldWin32.cpp); made by the first pump or wake.
        std::unique_ptr<void, void (*)(void*)> m_event{nullptr, nullptr};
#else
        QEventLoop* m_loop = nullptr;  // of the pump in progress
#endif
        bool m_woken = false;
    };

    static void Begin();
    // Waits `duration` while the windows keep processing events. With no
    // application object it just sleeps.
    static void Pump(std::chrono::milliseconds duration);
    // The same, ended early by `wake`: true when it was (or had been since the
    // last pump with it ended).
    static bool Pump(std::chrono::milliseconds duration, CPumpWake& wake);
    static void End();

    static bool IsHolding();
    static std::size_t HeldEventCount();
    static std::size_t PendingTimerCount();

    // Wraps every handler call of a dialog.
    class DispatchScope {
    public:
        DispatchScope();
        ~DispatchScope();
        DispatchScope(const DispatchScope&) = delete;
        DispatchScope& operator=(const DispatchScope&) = delete;
    };

    // Wraps the loop of a modal window.
    class ModalScope {
    public:
        ModalScope();
        ~ModalScope();
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;
    };

    // A dialog's timer fell due: true when it has been kept for later (and
    // must not run now).
    static bool DeferTimer(CDialogBase* dialog, int timerId);
    // The timer was set again or killed: a kept tick of it is dropped.
    static void ForgetTimer(CDialogBase* dialog, int timerId);
};
