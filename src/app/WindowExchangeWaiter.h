#pragma once
// Passes the time between polls of an exchange the way the windows need it:
// they keep painting, and the operator's clicks are held back until the
// handler that started the exchange has returned, ahead of any window timer.

#include "protocol/Link.h"

class CWindowExchangeWaiter final : public IExchangeWaiter {
public:
    void BeginExchange() override;
    void Wait(std::chrono::milliseconds interval) override;
    void EndExchange() override;
};
