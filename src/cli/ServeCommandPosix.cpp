// serve: a gateway from a bus of units to an MQTT broker, until --count polls,
// SIGTERM or Ctrl+C. The broker is connected to before anything is polled; a
// broker lost later does not stop the polling or the CSV log, and everything
// is published again once it is back. Read-only: the poller sends addressed
// function-03 reads and nothing else.

#include <atomic>
#include <optional>
#include <thread>

#include "CliContext.h"
#include "InputFiles.h"
#include "device/BusPoll.h"
#include "device/CsvFile.h"
#include "device/Monitor.h"
#include "gateway/Gateway.h"
#include "gateway/MqttClient.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Time for the broker's first answer, and for the last messages at a stop.
constexpr auto kConnectWait = 10s;
constexpr auto kDeliveryWait = 3s;
// How often the wait between polls looks for a stop request or a reconnection.
constexpr auto kWaitStep = 50ms;

MqttOptions BrokerOptions(const CliRequest::Serve& s) {
    MqttOptions options;
    options.broker = *ParseBrokerUrl(s.mqtt).value;  // checked with the command line
    options.user = s.user;
    options.password = s.password;
    options.caFile = s.caFile;
    options.clientCert = s.clientCert;
    options.clientKey = s.clientKey;
    options.willTopic = s.topic + "/status";
    options.willPayload = "offline";
    return options;
}

}  // namespace

int RunServeCommand(CliContext& c) {
    const CliRequest& r = c.request;
    std::optional<CCsvFile> csv;
    if (const std::optional<int> ended = OpenMonitorLog(c, r.readings, LogRows::Units, csv)) return *ended;

    CMqttClient client(BrokerOptions(r.serve));
    // Set on the network thread, taken between polls: the gateway's state
    // stays on this thread.
    std::atomic<bool> connectionMade = false;
    client.OnConnected([&] { connectionMade = true; });
    if (const std::optional<MqttConnectFailure> failure = client.Connect(kConnectWait)) {
        c.report.RunError(failure->message);
        return kExitBrokerFailed;
    }
    CGateway gateway({r.serve.topic, r.units, r.readings, r.serve.haDiscovery},
                     [&](const std::string& topic, std::string_view payload) { return client.Publish(topic, payload); });
    c.report.Say("serving units to " + r.serve.mqtt + " under " + r.serve.topic + "/", false);

    CBusPoller poller(c.session, r.units, r.readings, kUnitReplyTimeout);
    bool wasConnected = true;
    bool stopped = false;
    // Polls on a fixed grid from the start; one that overran skips the ticks
    // it missed instead of catching up in a burst.
    Clock::time_point due = Clock::now();
    for (int poll = 0; !stopped && (r.monitorCount == 0 || poll < r.monitorCount); ++poll) {
        for (;;) {
            if (c.interrupt.Requested()) {
                stopped = true;
                break;
            }
            if (connectionMade.exchange(false)) gateway.PublishAll();
            if (const bool connected = client.Connected(); connected != wasConnected) {
                c.report.Say(connected ? "the MQTT broker is back: everything published again"
                                       : "lost the MQTT broker: polling goes on, reconnecting",
                             false);
                wasConnected = connected;
            }
            const Clock::time_point now = Clock::now();
            if (now >= due) break;
            std::this_thread::sleep_for(std::min<Clock::duration>(kWaitStep, due - now));
        }
        if (stopped) break;
        const Clock::time_point started = Clock::now();
        const std::vector<UnitSample> samples = poller.Poll();
        for (const std::uint8_t unit : gateway.Take(samples)) {
            c.report.Say("unit " + std::to_string(unit) + (*gateway.Online(unit) ? " online" : " offline"), false);
        }
        if (csv) {
            for (const UnitSample& sample : samples) {
                if (!csv->Append(UnitLogRow(sample, IsoTime(sample.time), r.readings.size()))) {
                    c.report.Say("--csv: " + csv->Error() + "; the log stops, the gateway goes on", false);
                    csv.reset();
                    break;
                }
            }
        }
        while (due <= started) due += r.monitorInterval;
    }

    if (connectionMade.exchange(false)) gateway.PublishAll();
    gateway.PublishStopped();
    if (!client.WaitDelivered(kDeliveryWait)) {
        c.report.Say("the MQTT broker did not acknowledge the last messages", false);
    }
    client.Disconnect();

    for (const std::uint8_t unit : poller.Units()) c.report.Add(UnitCountersResult(unit, poller.CountersOf(unit), false));
    return kExitOk;
}
