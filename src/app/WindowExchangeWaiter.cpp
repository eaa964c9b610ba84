#include "WindowExchangeWaiter.h"

#include "widgets/InputHold.h"

void CWindowExchangeWaiter::BeginExchange() { CInputHold::Begin(); }

void CWindowExchangeWaiter::Wait(std::chrono::milliseconds interval) { CInputHold::Pump(interval); }

void CWindowExchangeWaiter::EndExchange() { CInputHold::End(); }
