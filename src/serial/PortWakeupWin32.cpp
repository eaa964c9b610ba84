// The wake-up as an event. The port's input is not waited on here: the receive
// thread looks at the port every millisecond, as the Win32 port has always
// been read, and only every 50 ms while the line is quiet. (Wine finishes a
// wait for the comm event EV_RXCHAR on a pseudo-terminal at once as aborted,
// so the tests could not hold such a wait to anything.)

#include "WindowsApi.h"

#include <algorithm>

#include "PortWakeup.h"

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kPollInterval = std::chrono::milliseconds(1);
}  // namespace

// Auto-reset: a Wait that returns because of it consumes it.
CPortWakeup::CPortWakeup() : m_event(::CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

CPortWakeup::~CPortWakeup() {
    if (m_event != nullptr) {
        ::CloseHandle(m_event);
    }
}

void CPortWakeup::Signal() {
    if (m_event != nullptr) {
        ::SetEvent(m_event);
    }
}

PortWait CPortWakeup::Wait(int input, Deadline deadline) {
    if (input != kNoInput || m_event == nullptr) {
        const auto limit = Clock::now() + (input == kQuietPolledInput ? kQuietPollInterval : kPollInterval);
        deadline = deadline ? std::min(*deadline, limit) : limit;
    }
    DWORD timeout = INFINITE;
    if (deadline) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
        timeout = static_cast<DWORD>(std::max<long long>(left.count(), 0));
    }
    if (m_event == nullptr) {
        ::Sleep(timeout);
        return PortWait::TimedOut;
    }
    return ::WaitForSingleObject(m_event, timeout) == WAIT_OBJECT_0 ? PortWait::Woken : PortWait::TimedOut;
}
