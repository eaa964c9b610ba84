#include "WindowExchangeWaiter.h"

void CWindowExchangeWaiter::BeginExchange() { CInputHold::Begin(); }

void CWindowExchangeWaiter::Wait(std::chrono::milliseconds interval) { CInputHold::Pump(interval); }

bool CWindowExchangeWaiter::WaitForReply(std::chrono::milliseconds interval) {
    return CInputHold::Pump(interval, m_wake);
}

void CWindowExchangeWaiter::Wake() { m_wake.Wake(); }

void CWindowExchangeWaiter::EndExchange() { CInputHold::End(); }
