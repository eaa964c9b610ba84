// lcd mode and lcd relay: the LCD relay controller's register frames.

#include "CliContext.h"
#include "ResultValues.h"

namespace {

std::string RelayName(int relay) { return "relay-" + std::to_string(relay); }

// A relay's word: non-zero is closed.
CliResult RelayResult(int relay, std::uint16_t word) {
    return CliResult::Success(RelayName(relay), word != 0, word != 0 ? "on (closed)" : "off (open)");
}

void SetMode(CliContext& c) {
    const OpOutcome set = c.session.SetLcdMode(c.request.lcdMode);
    if (!set.Ok()) {
        c.Fail("lcd-mode", "setting the mode failed", set);
        return;
    }
    // The controller echoes the write and keeps its mode to itself: the echo is the confirmation.
    c.report.Add(WholeResult("lcd-mode", c.request.lcdMode));
}

// The controller switches a relay by hand only in work mode 4; the query
// after the switch tells whether it did.
void Relay(CliContext& c) {
    const int relay = c.request.relay;
    if (c.request.relayClosed) {
        const OpOutcome switched = c.session.SwitchRelay(relay, *c.request.relayClosed);
        if (!switched.Ok()) {
            c.Fail(RelayName(relay), "switching failed", switched);
            return;
        }
        if (c.Stopping()) return;
    }
    const OpResult<std::uint16_t> state = c.session.QueryRelay(relay);
    if (!state.Ok()) {
        c.Fail(RelayName(relay), c.request.relayClosed ? "switched, but querying it failed" : "", state.outcome);
        return;
    }
    const CliResult result = RelayResult(relay, state.value);
    if (c.request.relayClosed && (state.value != 0) != *c.request.relayClosed) {
        c.report.Add(CliResult::Failure(RelayName(relay), "switched, but the relay reads back " + result.text +
                                                              " (is the controller in work mode 4?)"));
        return;
    }
    c.report.Add(result);
}

}  // namespace

void RunLcdCommand(CliContext& c) {
    if (c.request.command == CliCommand::LcdMode) {
        SetMode(c);
    } else {
        Relay(c);
    }
}
