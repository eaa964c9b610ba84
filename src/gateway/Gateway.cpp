#include "Gateway.h"

#include <nlohmann/json.hpp>

namespace {

// How Home Assistant names what a reading measures. The current and voltage
// registers carry tenths of an unknown unit: numbers without one. The two
// statuses are words ("Normal"), no measurement.
struct HaSensor {
    const char* deviceClass;  // nullptr: none fits
    const char* unit;         // nullptr: none
    bool number;
};

HaSensor HaSensorOf(Reading reading) {
    switch (reading) {
        case Reading::Temperature: return {"temperature", "°C", true};
        case Reading::Humidity: return {"humidity", "%", true};
        case Reading::Light: return {"illuminance", "lx", true};
        case Reading::Co2: return {"carbon_dioxide", "ppm", true};
        case Reading::Current:
        case Reading::Voltage: return {nullptr, nullptr, true};
        case Reading::WaterLeak:
        case Reading::PowerFailure: break;
    }
    return {nullptr, nullptr, false};
}

// Home Assistant's ids take letters, digits, _ and -: "site/bus1" -> "site_bus1".
std::string IdPart(std::string_view text) {
    std::string id;
    for (const char c : text) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
        id += plain ? c : '_';
    }
    return id;
}

}  // namespace

CGateway::CGateway(GatewayPlan plan, Publisher publish) : m_plan(std::move(plan)), m_publish(std::move(publish)) {
    for (const std::uint8_t address : m_plan.units) m_units[address];
}

std::string CGateway::UnitTopic(std::uint8_t address, std::string_view leaf) const {
    return m_plan.prefix + "/" + std::to_string(address) + "/" + std::string(leaf);
}

std::optional<bool> CGateway::Online(std::uint8_t address) const {
    const auto unit = m_units.find(address);
    return unit == m_units.end() ? std::nullopt : unit->second.online;
}

std::vector<std::uint8_t> CGateway::Take(const std::vector<UnitSample>& samples) {
    std::vector<std::uint8_t> changed;
    for (const UnitSample& sample : samples) {
        const auto found = m_units.find(sample.address);
        if (found == m_units.end()) continue;
        UnitState& unit = found->second;
        const std::optional<bool> was = unit.online;
        if (sample.outcome.Ok()) {
            unit.failedPolls = 0;
            unit.online = true;
            for (const auto& [reading, word] : sample.words) {
                std::string text = UnitWordText(reading, word);
                const auto last = unit.values.find(reading);
                if (last != unit.values.end() && last->second == text) continue;
                // A value that could not go out with the connection lost goes
                // out with the republication after the reconnection.
                m_publish(UnitTopic(sample.address, InfoOf(reading).name), text);
                unit.values[reading] = std::move(text);
            }
        } else if (++unit.failedPolls >= kPollsUntilOffline) {
            unit.online = false;
        }
        if (unit.online != was) {
            PublishStatus(sample.address, unit);
            changed.push_back(sample.address);
        }
    }
    return changed;
}

void CGateway::PublishStatus(std::uint8_t address, const UnitState& state) {
    if (state.online) m_publish(UnitTopic(address, "status"), *state.online ? "online" : "offline");
}

void CGateway::PublishAll() {
    m_publish(StatusTopic(), "online");
    if (m_plan.haDiscovery) {
        for (const auto& [topic, config] : DiscoveryConfigs()) m_publish(topic, config);
    }
    for (const auto& [address, unit] : m_units) {
        PublishStatus(address, unit);
        for (const auto& [reading, text] : unit.values) m_publish(UnitTopic(address, InfoOf(reading).name), text);
    }
}

void CGateway::PublishStopped() {
    for (const auto& [address, unit] : m_units) {
        if (unit.online) m_publish(UnitTopic(address, "status"), "offline");
    }
    m_publish(StatusTopic(), "offline");
}

std::map<std::string, std::string> CGateway::DiscoveryConfigs() const {
    std::map<std::string, std::string> configs;
    const std::string gateway = IdPart(m_plan.prefix);
    for (const std::uint8_t address : m_plan.units) {
        const std::string unitId = "sentrabus_" + gateway + "_" + std::to_string(address);
        const nlohmann::ordered_json device{
            {"identifiers", {unitId}},
            {"name", "Unit " + std::to_string(address) + " (" + m_plan.prefix + ")"},
            {"model", "485 series transmitter at address " + std::to_string(address)}};
        for (const Reading reading : m_plan.readings) {
            const char* name = InfoOf(reading).name;
            const std::string id = unitId + "_" + name;
            const HaSensor sensor = HaSensorOf(reading);
            nlohmann::ordered_json config{{"name", name},
                                          {"unique_id", id},
                                          {"state_topic", UnitTopic(address, name)},
                                          {"availability_topic", UnitTopic(address, "status")},
                                          {"payload_available", "online"},
                                          {"payload_not_available", "offline"}};
            if (sensor.unit) config["unit_of_measurement"] = sensor.unit;
            if (sensor.deviceClass) config["device_class"] = sensor.deviceClass;
            if (sensor.number) config["state_class"] = "measurement";
            config["device"] = device;
            configs["homeassistant/sensor/" + id + "/config"] = config.dump();
        }
    }
    return configs;
}
