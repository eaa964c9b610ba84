#pragma once
// What the gateway publishes of a bus of units, all retained, QoS 1:
//
//   PREFIX/status                      online; offline as the last will and at a clean stop
//   PREFIX/<address>/status            online, or offline after three polls without a good reply
//   PREFIX/<address>/<reading>         the value as the window shows it: "25.0", "Normal"
//   homeassistant/sensor/<id>/config   with discovery: one Home Assistant sensor per unit and reading
//
// A value is published when it changes, a status when it changes; everything
// again after each (re)connection, since a broker that restarted may have
// lost what it retained.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/BusPoll.h"

struct GatewayPlan {
    std::string prefix = "sentrabus";
    std::vector<std::uint8_t> units;
    std::vector<Reading> readings;
    bool haDiscovery = false;
};

// Polls without a good reply after which a unit is offline.
inline constexpr int kPollsUntilOffline = 3;

class CGateway {
public:
    // `publish` sends one retained message. One lost with the connection is
    // sent again by PublishAll after the reconnection.
    using Publisher = std::function<bool(const std::string& topic, std::string_view payload)>;

    CGateway(GatewayPlan plan, Publisher publish);

    // One poll's samples: values and statuses that changed are published.
    // Returns the units whose status changed, for the log.
    std::vector<std::uint8_t> Take(const std::vector<UnitSample>& samples);
    // Everything: the gateway's status, the discovery configs, each unit's
    // status and its last values.
    void PublishAll();
    // A clean stop: the gateway and every unit offline, since nobody vouches
    // for the retained values any more.
    void PublishStopped();

    // nullopt before the unit's first good reply or third failed poll.
    std::optional<bool> Online(std::uint8_t address) const;

    std::string StatusTopic() const { return m_plan.prefix + "/status"; }
    std::string UnitTopic(std::uint8_t address, std::string_view leaf) const;
    // The Home Assistant discovery messages: topic -> JSON config.
    std::map<std::string, std::string> DiscoveryConfigs() const;

private:
    struct UnitState {
        std::optional<bool> online;
        int failedPolls = 0;
        std::map<Reading, std::string> values;  // the last good texts
    };

    void PublishStatus(std::uint8_t address, const UnitState& state);

    GatewayPlan m_plan;
    Publisher m_publish;
    std::map<std::uint8_t, UnitState> m_units;
};
