#pragma once
// What can be read and set on the devices, by name: the eight readings of the
// main window and every FC parameter of the main and light windows, each with
// its register or code, its value form and the name the command line and
// profiles use.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// --- readings (function 03) ------------------------------------------------------
enum class Reading { Temperature, Humidity, WaterLeak, PowerFailure, Current, Voltage, Light, Co2 };

enum class ReadingForm { SignedTenths, UnsignedTenths, UnsignedInteger, WaterLeak, PowerFailure };

struct ReadingInfo {
    Reading reading;
    const char* name;  // "temperature"
    std::uint16_t firstRegister;
    std::uint8_t count;
    // Only temperature and humidity go to address 255 on a register-frame
    // device; every other read goes to the device's own address.
    bool registerModeAddress;
    bool usesValue2;
    ReadingForm form;
};

std::span<const ReadingInfo> AllReadings();
const ReadingInfo& InfoOf(Reading reading);
std::optional<Reading> ReadingByName(std::string_view name);

// The field text of the main window: "-20.0", "Normal", " ".
std::string ReadingText(ReadingForm form, std::uint16_t word);
// The value as a number, for machine-readable output: -20.0, 1 (the status code).
double ReadingNumber(ReadingForm form, std::uint16_t word);

// --- FC parameters -----------------------------------------------------------------
enum class Parameter {
    HumidityUpper,
    HumidityLower,
    TemperatureUpper,
    TemperatureLower,
    HumidityHysteresis,
    TemperatureHysteresis,
    HumidityAdjust,
    TemperatureAdjust,
    OutputDelay,
    RemoteSignal,
    LightUpper,
    LightLower,
    LightHysteresis,
};

enum class ValueForm {
    Limit,         // whole units, sign-magnitude
    Adjust,        // tenths, sign-magnitude
    Hysteresis,    // tenths, written non-negative, read sign-magnitude
    Plain,         // 0..65535
    RemoteSignal,  // 0 normally open, 1 normally closed
};

struct ParameterInfo {
    Parameter parameter;
    const char* name;  // "temperature-upper"
    std::uint8_t code;
    ValueForm form;
    // The light sensor echoes a write; the transmitter answers it with any FC reply.
    bool writeEchoed;
    bool mainWindow;  // among the main window's parameters (else the light window's)
};

std::span<const ParameterInfo> AllParameters();
const ParameterInfo& InfoOf(Parameter parameter);
std::optional<Parameter> ParameterByName(std::string_view name);

// The field text of the window the parameter lives in: "-10", "-1.5", "300";
// the remote signal as its box's item ("Normally Open").
std::string ParameterText(ValueForm form, std::uint16_t word);
double ParameterNumber(ValueForm form, std::uint16_t word);
