#include "FrameWords.h"

#include <array>
#include <cstdio>

#include "BaudCodes.h"
#include "FrameCodes.h"
#include "ValueForms.h"

namespace {

// A named code or register and the form its value is shown in.
template <class Key, class Form>
struct Named {
    Key key;
    const char* name;
    Form form;
};

template <class Table, class Key>
auto Find(const Table& table, Key key) -> const typename Table::value_type* {
    for (const auto& entry : table) {
        if (entry.key == key) return &entry;
    }
    return nullptr;
}

enum class FcForm { Limit, Tenths, RemoteSignal, Plain };
using FcParameter = Named<std::uint8_t, FcForm>;

// Hystereses are written as non-negative tenths and read back sign-magnitude,
// as the adjusts.
constexpr std::array<FcParameter, 13> kFcParameters{{
    {kFcTemperatureAdjust, "temperature adjust", FcForm::Tenths},
    {kFcHumidityAdjust, "humidity adjust", FcForm::Tenths},
    {kFcTemperatureUpper, "temperature upper limit", FcForm::Limit},
    {kFcTemperatureLower, "temperature lower limit", FcForm::Limit},
    {kFcHumidityUpper, "humidity upper limit", FcForm::Limit},
    {kFcHumidityLower, "humidity lower limit", FcForm::Limit},
    {kFcTemperatureHysteresis, "temperature hysteresis", FcForm::Tenths},
    {kFcHumidityHysteresis, "humidity hysteresis", FcForm::Tenths},
    {kFcOutputDelay, "output delay", FcForm::Plain},
    {kFcRemoteSignal, "remote signal", FcForm::RemoteSignal},
    {kFcLightUpper, "light upper limit", FcForm::Plain},
    {kFcLightLower, "light lower limit", FcForm::Plain},
    {kFcLightHysteresis, "light hysteresis", FcForm::Plain},
}};

enum class RegisterForm { SignedTenths, UnsignedTenths, Plain, LeakOrCo2, PowerFailure, Relay };
using RegisterInfo = Named<std::uint16_t, RegisterForm>;

constexpr std::array<RegisterInfo, 15> kRegisters{{
    {kRegHumidity, "humidity", RegisterForm::UnsignedTenths},
    {kRegTemperature, "temperature", RegisterForm::SignedTenths},
    {kRegWaterLeak, "water leak or CO2", RegisterForm::LeakOrCo2},
    {kRegPowerFailure, "power failure", RegisterForm::PowerFailure},
    {kRegCurrent, "current", RegisterForm::UnsignedTenths},
    {kRegVoltage, "voltage", RegisterForm::UnsignedTenths},
    {kRegLightIntensity, "light intensity", RegisterForm::Plain},
    {kRegLcdWorkMode, "LCD work mode", RegisterForm::Plain},
    {kRegLcdRelay1, "relay 1", RegisterForm::Relay},
    {kRegLcdRelay2, "relay 2", RegisterForm::Relay},
    {kRegLineAddress, "line settings: address", RegisterForm::Plain},
    {kRegLineBaud, "line settings: baud code", RegisterForm::Plain},
    {kRegLineParity, "line settings: parity", RegisterForm::Plain},
    {kRegLineStop1, "line settings: stop bit 1", RegisterForm::Plain},
    {kRegLineStop2, "line settings: stop bit 2", RegisterForm::Plain},
}};

std::string BaudText(std::uint8_t code, std::uint32_t rate) {
    return "baud code " + std::to_string(code) + (rate ? " (" + std::to_string(rate) + " bit/s)" : " (unknown)");
}

}  // namespace

std::string Hex16(std::uint16_t value) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "0x%04X", value);
    return text.data();
}

std::string FcParameterName(std::uint8_t code) {
    const FcParameter* p = Find(kFcParameters, code);
    return p ? p->name : "";
}

std::string FcValueText(std::uint8_t code, std::uint16_t word) {
    const FcParameter* p = Find(kFcParameters, code);
    switch (p ? p->form : FcForm::Plain) {
        case FcForm::Limit: return SignMagnitudeWholeText(word);
        case FcForm::Tenths: return SignMagnitudeTenthsText(word);
        case FcForm::RemoteSignal:
            if (word == 0) return "Normally Open";
            if (word == 1) return "Normally Close";
            return std::to_string(word) + " (no such item)";
        case FcForm::Plain: break;
    }
    return std::to_string(word);
}

std::string RegisterName(std::uint16_t reg) {
    const RegisterInfo* r = Find(kRegisters, reg);
    return r ? r->name : "";
}

std::string RegisterValueText(std::uint16_t reg, std::uint16_t word) {
    const RegisterInfo* r = Find(kRegisters, reg);
    const std::string plain = std::to_string(word);
    switch (r ? r->form : RegisterForm::Plain) {
        case RegisterForm::SignedTenths: return SignedTenthsText(word);
        case RegisterForm::UnsignedTenths: return UnsignedTenthsText(word);
        case RegisterForm::LeakOrCo2:
            // The same register is a leak status on a leak detector and the
            // concentration on a CO2 sensor.
            if (word == 1) return plain + " (Normal as a leak)";
            if (word == 2) return plain + " (Warning as a leak)";
            return plain;
        case RegisterForm::PowerFailure:
            if (word == 0) return plain + " (Normal)";
            if (word == 1) return plain + " (Warning)";
            return plain + " (unknown status)";
        case RegisterForm::Relay: return plain + (word ? " (closed)" : " (open)");
        case RegisterForm::Plain: break;
    }
    return plain;
}

std::string FbCommandName(std::uint8_t command) {
    switch (command) {
        case kFbEnterConfig: return "enter configuration mode";
        case kFbLeaveConfig: return "exit configuration mode";
        case kFbConfigureReceiver: return "configure address";
        case kFbSleepTime: return "sleep time";
        case kFbTemperatureHumidity: return "T&H";
        case kFbClearReceiver: return "clear address";
        case kFbChannel: return "channel";
        default: return "";
    }
}

std::string FdBaudText(std::uint8_t code) { return BaudText(code, FdBaudRate(code)); }

std::string RegisterBaudText(std::uint8_t code) { return BaudText(code, RegisterBaudRate(code)); }
