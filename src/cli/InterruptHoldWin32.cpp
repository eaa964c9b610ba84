#include "InterruptHold.h"

#include <windows.h>

#include <string>

namespace {

// The console calls the handler on a thread of its own, with nothing but the
// event; an event named after the process reaches the hold without a global.
std::string EventName(DWORD process) { return "Local\\sentrabus-cli-interrupt-" + std::to_string(process); }

BOOL WINAPI OnConsoleControl(DWORD control) {
    if (control != CTRL_C_EVENT && control != CTRL_BREAK_EVENT) return FALSE;
    const HANDLE event = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, EventName(::GetCurrentProcessId()).c_str());
    if (event == nullptr) return FALSE;  // no hold: end as usual
    ::SetEvent(event);
    ::CloseHandle(event);
    return TRUE;
}

}  // namespace

struct CInterruptHold::CState {
    HANDLE event = nullptr;
};

CInterruptHold::CInterruptHold() : m_state(std::make_unique<CState>()) {
    m_state->event = ::CreateEventA(nullptr, TRUE, FALSE, EventName(::GetCurrentProcessId()).c_str());
    if (m_state->event != nullptr) ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

CInterruptHold::~CInterruptHold() {
    if (m_state->event == nullptr) return;
    ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    ::CloseHandle(m_state->event);
}

bool CInterruptHold::Requested() {
    if (m_state->event != nullptr && ::WaitForSingleObject(m_state->event, 0) == WAIT_OBJECT_0) m_requested = true;
    return m_requested;
}
