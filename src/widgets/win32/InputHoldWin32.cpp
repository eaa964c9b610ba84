// The exchange's wait on the Windows message queue. The window thread blocks
// as it would in a plain wait, but keeps painting: only paint messages (and
// messages other threads send, which Windows delivers to any look at the
// queue) are taken from it meanwhile. The operator's clicks stay queued behind
// the handler that waits, and Windows hands out WM_TIMER only when no input is
// queued, so they run after it returns and before the next tick of timer 1.
//
// The wait also wakes for input, although it takes none: a window system
// that reads its input only when the thread looks for it (Wine reads X
// events so) then puts each click in the queue as it happens, behind the
// handler and ahead of the timer, as Windows does. And it looks at the queue
// at least every kQueueLookMs, so that a long wait (the wireless receiver's
// 6 s) never gets the window marked "Not Responding".

#include <algorithm>
#include <chrono>
#include <mutex>
#include <utility>

#include "widgets/InputHold.h"
#include "Win32Api.h"

namespace {

// An exchange is waiting (window thread only).
bool& Holding() {
    static bool holding = false;
    return holding;
}

HANDLE WakeEvent(std::unique_ptr<void, void (*)(void*)>& event) {
    if (!event) {
        // Manual reset: the flag m_woken, under the lock, says whether it counts.
        event = {CreateEventW(nullptr, TRUE, FALSE, nullptr), [](void* handle) { CloseHandle(handle); }};
    }
    return event.get();
}

constexpr DWORD kQueueLookMs = 200;

// Waits until `deadline` or until `wake` is signalled, painting meanwhile.
// Returns true when it was signalled.
bool WaitPainting(std::chrono::steady_clock::time_point deadline, HANDLE wake) {
    const DWORD handles = wake != nullptr ? 1 : 0;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        const DWORD slice = std::min<DWORD>(static_cast<DWORD>(left.count()), kQueueLookMs);
        const DWORD result = MsgWaitForMultipleObjectsEx(handles, wake != nullptr ? &wake : nullptr, slice,
                                                         QS_INPUT | QS_PAINT | QS_SENDMESSAGE, 0);
        if (handles == 1 && result == WAIT_OBJECT_0) return true;
        if (result != WAIT_OBJECT_0 + handles && result != WAIT_TIMEOUT) return false;  // a failure
        // Input seen stays queued; marking it seen makes the next wait sleep
        // until more comes instead of returning at once for it.
        GetQueueStatus(QS_INPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) DispatchMessageW(&msg);
    }
}

}  // namespace

void CInputHold::Begin() { Holding() = true; }

void CInputHold::Pump(std::chrono::milliseconds duration) {
    WaitPainting(std::chrono::steady_clock::now() + duration, nullptr);
}

bool CInputHold::Pump(std::chrono::milliseconds duration, CPumpWake& wake) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    HANDLE event = nullptr;
    {
        std::lock_guard lock(wake.m_lock);
        if (std::exchange(wake.m_woken, false)) {
            ResetEvent(WakeEvent(wake.m_event));
            return true;
        }
        event = WakeEvent(wake.m_event);
    }
    WaitPainting(deadline, event);
    std::lock_guard lock(wake.m_lock);
    ResetEvent(event);
    return std::exchange(wake.m_woken, false);
}

void CInputHold::CPumpWake::Wake() {
    std::lock_guard lock(m_lock);
    m_woken = true;
    SetEvent(WakeEvent(m_event));
}

void CInputHold::End() { Holding() = false; }

bool CInputHold::IsHolding() { return Holding(); }

// What waits stays in the message queue, not here.
std::size_t CInputHold::HeldEventCount() { return 0; }

std::size_t CInputHold::PendingTimerCount() { return 0; }

CInputHold::DispatchScope::DispatchScope() = default;

CInputHold::DispatchScope::~DispatchScope() = default;

CInputHold::ModalScope::ModalScope() = default;

CInputHold::ModalScope::~ModalScope() = default;

bool CInputHold::DeferTimer(CDialogBase* /*dialog*/, int /*timerId*/) { return false; }

void CInputHold::ForgetTimer(CDialogBase* /*dialog*/, int /*timerId*/) {}
