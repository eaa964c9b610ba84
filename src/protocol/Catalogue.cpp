#include "Catalogue.h"

#include <array>

#include "FrameCodes.h"
#include "StrictText.h"

namespace {

// Registers 0x0000 (humidity) and 0x0001 (temperature) are read together.
// Register 0x0002 holds the water leak or, on a CO2 sensor, the CO2 level.
constexpr std::array<ReadingInfo, 8> kReadings{{
    {Reading::Temperature, "temperature", kRegHumidity, 2, true, true, ValueForm::SignedTenths},
    {Reading::Humidity, "humidity", kRegHumidity, 2, true, false, ValueForm::UnsignedTenths},
    {Reading::WaterLeak, "water-leak", kRegWaterLeak, 1, false, false, ValueForm::WaterLeak},
    {Reading::PowerFailure, "power-failure", kRegPowerFailure, 1, false, false, ValueForm::PowerFailure},
    {Reading::Current, "current", kRegCurrent, 1, false, false, ValueForm::UnsignedTenths},
    {Reading::Voltage, "voltage", kRegVoltage, 1, false, false, ValueForm::UnsignedTenths},
    {Reading::Light, "light", kRegLightIntensity, 1, false, false, ValueForm::Whole},
    {Reading::Co2, "co2", kRegCo2, 1, false, false, ValueForm::Whole},
}};

constexpr const char* kCelsius = "\u00B0C";
constexpr const char* kRelativeHumidity = "%RH";

constexpr std::array<ParameterInfo, 13> kParameters{{
    {Parameter::HumidityUpper, "humidity-upper", "humidity upper limit", kFcHumidityUpper, ValueForm::Limit,
     kRelativeHumidity, false, true},
    {Parameter::HumidityLower, "humidity-lower", "humidity lower limit", kFcHumidityLower, ValueForm::Limit,
     kRelativeHumidity, false, true},
    {Parameter::TemperatureUpper, "temperature-upper", "temperature upper limit", kFcTemperatureUpper,
     ValueForm::Limit, kCelsius, false, true},
    {Parameter::TemperatureLower, "temperature-lower", "temperature lower limit", kFcTemperatureLower,
     ValueForm::Limit, kCelsius, false, true},
    {Parameter::HumidityHysteresis, "humidity-hysteresis", "humidity hysteresis", kFcHumidityHysteresis,
     ValueForm::Hysteresis, kRelativeHumidity, false, true},
    {Parameter::TemperatureHysteresis, "temperature-hysteresis", "temperature hysteresis", kFcTemperatureHysteresis,
     ValueForm::Hysteresis, kCelsius, false, true},
    {Parameter::HumidityAdjust, "humidity-adjust", "humidity adjust", kFcHumidityAdjust, ValueForm::Adjust,
     kRelativeHumidity, false, true},
    {Parameter::TemperatureAdjust, "temperature-adjust", "temperature adjust", kFcTemperatureAdjust,
     ValueForm::Adjust, kCelsius, false, true},
    {Parameter::OutputDelay, "output-delay", "output delay", kFcOutputDelay, ValueForm::Whole, "", false, true},
    {Parameter::RemoteSignal, "remote-signal", "remote signal", kFcRemoteSignal, ValueForm::RemoteSignal, "", false,
     true},
    {Parameter::LightUpper, "light-upper", "light upper limit", kFcLightUpper, ValueForm::Whole, "", true, false},
    {Parameter::LightLower, "light-lower", "light lower limit", kFcLightLower, ValueForm::Whole, "", true, false},
    {Parameter::LightHysteresis, "light-hysteresis", "light hysteresis", kFcLightHysteresis, ValueForm::Whole, "",
     true, false},
}};

// The registers the frame log names, with the form it shows their words in.
struct RegisterInfo {
    std::uint16_t reg;
    const char* name;
    ValueForm form;
};

constexpr std::array<RegisterInfo, 15> kRegisters{{
    {kRegHumidity, "humidity", ValueForm::UnsignedTenths},
    {kRegTemperature, "temperature", ValueForm::SignedTenths},
    {kRegWaterLeak, "water leak or CO2", ValueForm::WaterLeak},
    {kRegPowerFailure, "power failure", ValueForm::PowerFailure},
    {kRegCurrent, "current", ValueForm::UnsignedTenths},
    {kRegVoltage, "voltage", ValueForm::UnsignedTenths},
    {kRegLightIntensity, "light intensity", ValueForm::Whole},
    {kRegLcdWorkMode, "LCD work mode", ValueForm::Whole},
    {kRegLcdRelay1, "relay 1", ValueForm::Relay},
    {kRegLcdRelay2, "relay 2", ValueForm::Relay},
    {kRegLineAddress, "line settings: address", ValueForm::Whole},
    {kRegLineBaud, "line settings: baud code", ValueForm::Whole},
    {kRegLineParity, "line settings: parity", ValueForm::Whole},
    {kRegLineStop1, "line settings: stop bit 1", ValueForm::Whole},
    {kRegLineStop2, "line settings: stop bit 2", ValueForm::Whole},
}};

template <class Table, class Key, class Field>
auto FindIn(const Table& table, Key key, Field field) -> const typename Table::value_type* {
    for (const auto& entry : table) {
        if (entry.*field == key) return &entry;
    }
    return nullptr;
}

}  // namespace

std::span<const ReadingInfo> AllReadings() { return kReadings; }

const ReadingInfo& InfoOf(Reading reading) { return *FindIn(kReadings, reading, &ReadingInfo::reading); }

std::optional<Reading> ReadingByName(std::string_view name) {
    const ReadingInfo* info = FindIn(kReadings, name, &ReadingInfo::name);
    return info ? std::optional(info->reading) : std::nullopt;
}

std::span<const ParameterInfo> AllParameters() { return kParameters; }

const ParameterInfo& InfoOf(Parameter parameter) {
    return *FindIn(kParameters, parameter, &ParameterInfo::parameter);
}

std::optional<Parameter> ParameterByName(std::string_view name) {
    const ParameterInfo* info = FindIn(kParameters, name, &ParameterInfo::name);
    return info ? std::optional(info->parameter) : std::nullopt;
}

std::string WindowText(Parameter parameter, std::uint16_t word) { return ValueText(InfoOf(parameter).form, word); }

std::uint16_t LenientWord(Parameter parameter, std::string_view typed) {
    return CodecOf(InfoOf(parameter).form).lenientWord(typed);
}

std::string AcceptedValues(Parameter parameter) {
    const ParameterInfo& info = InfoOf(parameter);
    const std::string unit = *info.unit ? std::string(" (") + info.unit + ")" : "";
    return CodecOf(info.form).accepted + unit;
}

Checked<std::uint16_t> StrictParameterWord(Parameter parameter, std::string_view text) {
    const ParameterInfo& info = InfoOf(parameter);
    if (const std::optional<std::uint16_t> word = CodecOf(info.form).strictWord(text)) return {word, {}};
    return Checked<std::uint16_t>::Refused(Refusal(info.name, AcceptedValues(parameter), text));
}

std::string FcParameterName(std::uint8_t code) {
    const ParameterInfo* p = FindIn(kParameters, code, &ParameterInfo::code);
    return p ? p->logName : "";
}

std::string FcValueText(std::uint8_t code, std::uint16_t word) {
    const ParameterInfo* p = FindIn(kParameters, code, &ParameterInfo::code);
    return CodecOf(p ? p->form : ValueForm::Whole).logText(word);
}

std::string RegisterName(std::uint16_t reg) {
    const RegisterInfo* r = FindIn(kRegisters, reg, &RegisterInfo::reg);
    return r ? r->name : "";
}

std::string RegisterValueText(std::uint16_t reg, std::uint16_t word) {
    const RegisterInfo* r = FindIn(kRegisters, reg, &RegisterInfo::reg);
    return CodecOf(r ? r->form : ValueForm::Whole).logText(word);
}
