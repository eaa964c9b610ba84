#pragma once
// Passes the time between polls of an exchange the way the windows need it:
// they keep painting, and the operator's clicks are held back until the
// handler that started the exchange has returned, ahead of any window timer.
// A reply queued by the receive thread ends the wait at once.

#include "protocol/Link.h"
#include "widgets/InputHold.h"

class CWindowExchangeWaiter final : public IExchangeWaiter {
public:
    void BeginExchange() override;
    void Wait(std::chrono::milliseconds interval) override;
    bool WaitForReply(std::chrono::milliseconds interval) override;
    void Wake() override;
    void EndExchange() override;

private:
    CInputHold::CPumpWake m_wake;
};
