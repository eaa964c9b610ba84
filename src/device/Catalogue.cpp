#include "Catalogue.h"

#include <array>

#include "protocol/FrameCodes.h"
#include "protocol/ValueForms.h"

namespace {

// Registers 0x0000 (humidity) and 0x0001 (temperature) are read together.
// Register 0x0002 holds the water leak or, on a CO2 sensor, the CO2 level.
constexpr std::array<ReadingInfo, 8> kReadings{{
    {Reading::Temperature, "temperature", kRegHumidity, 2, true, true, ReadingForm::SignedTenths},
    {Reading::Humidity, "humidity", kRegHumidity, 2, true, false, ReadingForm::UnsignedTenths},
    {Reading::WaterLeak, "water-leak", kRegWaterLeak, 1, false, false, ReadingForm::WaterLeak},
    {Reading::PowerFailure, "power-failure", kRegPowerFailure, 1, false, false, ReadingForm::PowerFailure},
    {Reading::Current, "current", kRegCurrent, 1, false, false, ReadingForm::UnsignedTenths},
    {Reading::Voltage, "voltage", kRegVoltage, 1, false, false, ReadingForm::UnsignedTenths},
    {Reading::Light, "light", kRegLightIntensity, 1, false, false, ReadingForm::UnsignedInteger},
    {Reading::Co2, "co2", kRegCo2, 1, false, false, ReadingForm::UnsignedInteger},
}};

constexpr std::array<ParameterInfo, 13> kParameters{{
    {Parameter::HumidityUpper, "humidity-upper", kFcHumidityUpper, ValueForm::Limit, false, true},
    {Parameter::HumidityLower, "humidity-lower", kFcHumidityLower, ValueForm::Limit, false, true},
    {Parameter::TemperatureUpper, "temperature-upper", kFcTemperatureUpper, ValueForm::Limit, false, true},
    {Parameter::TemperatureLower, "temperature-lower", kFcTemperatureLower, ValueForm::Limit, false, true},
    {Parameter::HumidityHysteresis, "humidity-hysteresis", kFcHumidityHysteresis, ValueForm::Hysteresis, false, true},
    {Parameter::TemperatureHysteresis, "temperature-hysteresis", kFcTemperatureHysteresis, ValueForm::Hysteresis,
     false, true},
    {Parameter::HumidityAdjust, "humidity-adjust", kFcHumidityAdjust, ValueForm::Adjust, false, true},
    {Parameter::TemperatureAdjust, "temperature-adjust", kFcTemperatureAdjust, ValueForm::Adjust, false, true},
    {Parameter::OutputDelay, "output-delay", kFcOutputDelay, ValueForm::Plain, false, true},
    {Parameter::RemoteSignal, "remote-signal", kFcRemoteSignal, ValueForm::RemoteSignal, false, true},
    {Parameter::LightUpper, "light-upper", kFcLightUpper, ValueForm::Plain, true, false},
    {Parameter::LightLower, "light-lower", kFcLightLower, ValueForm::Plain, true, false},
    {Parameter::LightHysteresis, "light-hysteresis", kFcLightHysteresis, ValueForm::Plain, true, false},
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

std::string ReadingText(ReadingForm form, std::uint16_t word) {
    switch (form) {
        case ReadingForm::SignedTenths: return SignedTenthsText(word);
        case ReadingForm::UnsignedTenths: return UnsignedTenthsText(word);
        case ReadingForm::UnsignedInteger: return UnsignedIntegerText(word);
        case ReadingForm::WaterLeak: return WaterLeakText(word);
        case ReadingForm::PowerFailure: return PowerFailureText(word);
    }
    return {};
}

double ReadingNumber(ReadingForm form, std::uint16_t word) {
    switch (form) {
        case ReadingForm::SignedTenths: return SignedTenthsNumber(word);
        case ReadingForm::UnsignedTenths: return word / 10.0;
        case ReadingForm::UnsignedInteger:
        case ReadingForm::WaterLeak:
        case ReadingForm::PowerFailure: break;
    }
    return word;
}

std::span<const ParameterInfo> AllParameters() { return kParameters; }

const ParameterInfo& InfoOf(Parameter parameter) {
    return *FindIn(kParameters, parameter, &ParameterInfo::parameter);
}

std::optional<Parameter> ParameterByName(std::string_view name) {
    const ParameterInfo* info = FindIn(kParameters, name, &ParameterInfo::name);
    return info ? std::optional(info->parameter) : std::nullopt;
}

// Hysteresis goes out as a plain non-negative word but is shown with the
// adjusts' sign rule, so a device's 0x8005 reads as -0.5.
std::string ParameterText(ValueForm form, std::uint16_t word) {
    switch (form) {
        case ValueForm::Limit: return SignMagnitudeWholeText(word);
        case ValueForm::Adjust:
        case ValueForm::Hysteresis: return SignMagnitudeTenthsText(word);
        case ValueForm::RemoteSignal:
            if (word == 0) return "Normally Open";
            if (word == 1) return "Normally Close";
            break;
        case ValueForm::Plain: break;
    }
    return UnsignedIntegerText(word);
}

double ParameterNumber(ValueForm form, std::uint16_t word) {
    switch (form) {
        case ValueForm::Limit: return SignMagnitudeWholeNumber(word);
        case ValueForm::Adjust:
        case ValueForm::Hysteresis: return SignMagnitudeTenthsNumber(word);
        case ValueForm::Plain:
        case ValueForm::RemoteSignal: break;
    }
    return word;
}
