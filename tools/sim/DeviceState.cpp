#include "DeviceState.h"

#include "protocol/BaudCodes.h"

namespace sim {

namespace {

struct KindName {
    DeviceKind kind;
    std::string_view name;
};

constexpr std::array<KindName, 5> kKindNames{{
    {DeviceKind::Th, "th"},
    {DeviceKind::Soil, "soil"},
    {DeviceKind::Wireless, "wireless"},
    {DeviceKind::Lcd, "lcd"},
    {DeviceKind::Light, "light"},
}};

void AddMeasurements(DeviceState& state, const std::array<std::uint16_t, kMeasurementRegisters>& values) {
    for (std::uint16_t i = 0; i < kMeasurementRegisters; ++i) {
        state.registers[static_cast<std::uint16_t>(kRegHumidity + i)] = RegisterCell{values[i], true, false};
    }
}

}  // namespace

std::optional<DeviceKind> ParseDeviceKind(std::string_view name) {
    for (const KindName& entry : kKindNames) {
        if (entry.name == name) return entry.kind;
    }
    return std::nullopt;
}

std::string_view DeviceKindName(DeviceKind kind) {
    for (const KindName& entry : kKindNames) {
        if (entry.kind == kind) return entry.name;
    }
    return "?";
}

DeviceState MakeDeviceState(DeviceKind kind, std::uint8_t address, std::uint32_t baud) {
    DeviceState state;
    state.kind = kind;
    state.address = address;
    state.baud = baud;
    switch (kind) {
        case DeviceKind::Th:
            // humidity 60.0 %, temperature 25.0, no leak (1), mains present (0)
            AddMeasurements(state, {600, 250, 1, 0, 0, 0, 0});
            state.fcParams = {
                {kFcTemperatureAdjust, 0x0000},     {kFcHumidityAdjust, 0x0000},
                {kFcTemperatureUpper, 35},          {kFcTemperatureLower, 0x800A},  // -10
                {kFcHumidityUpper, 80},             {kFcHumidityLower, 20},
                {kFcTemperatureHysteresis, 10},     {kFcHumidityHysteresis, 20},
                {kFcOutputDelay, 5},                {kFcRemoteSignal, 0},
            };
            break;
        case DeviceKind::Soil: {
            AddMeasurements(state, {350, 215, 0, 0, 0, 0, 0});
            const std::uint8_t code = RegisterBaudCode(baud).value_or(kFdBaudCode9600);
            state.registers[kRegLineAddress] = RegisterCell{address, true, true};
            state.registers[kRegLineBaud] = RegisterCell{code, true, true};
            state.registers[kRegLineParity] = RegisterCell{kParityNone, true, true};
            state.registers[kRegLineStop1] = RegisterCell{0, true, true};
            state.registers[kRegLineStop2] = RegisterCell{0, true, true};
            break;
        }
        case DeviceKind::Lcd:
            // The work mode can be set but not read back over the line.
            state.registers[kRegLcdWorkMode] = RegisterCell{1, false, true};
            state.registers[kRegLcdRelay1] = RegisterCell{0, true, true};
            state.registers[kRegLcdRelay2] = RegisterCell{0, true, true};
            break;
        case DeviceKind::Light:
            state.registers[kRegLightIntensity] = RegisterCell{1234, true, false};
            state.fcParams = {{kFcLightUpper, 1000}, {kFcLightLower, 100}, {kFcLightHysteresis, 10}};
            break;
        case DeviceKind::Wireless:
            break;
    }
    return state;
}

std::uint8_t DeviceAddress(const DeviceState& state) {
    if (state.kind == DeviceKind::Soil) {
        const auto cell = state.registers.find(kRegLineAddress);
        return cell == state.registers.end() ? 0 : static_cast<std::uint8_t>(cell->second.value & 0xFF);
    }
    return state.address;
}

void SetDeviceAddress(DeviceState& state, std::uint8_t address) {
    state.address = address;
    if (state.kind == DeviceKind::Soil) state.registers[kRegLineAddress].value = address;
}

}  // namespace sim
