#pragma once
// What can be read and set on the devices: the eight readings of the main
// window, every FC parameter of the main and light windows and the registers
// the frame log names, each with its register or code, its names, its value
// form and its unit. The one place this knowledge is kept; ValueForms.h turns
// the words into texts and back.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "Checked.h"
#include "ValueForms.h"

// --- readings (function 03) ------------------------------------------------------
enum class Reading { Temperature, Humidity, WaterLeak, PowerFailure, Current, Voltage, Light, Co2 };

struct ReadingInfo {
    Reading reading;
    const char* name;  // on the command line and in files: "temperature"
    std::uint16_t firstRegister;
    std::uint8_t count;
    // Only temperature and humidity go to address 255 on a register-frame
    // device; every other read goes to the device's own address.
    bool registerModeAddress;
    bool usesValue2;
    ValueForm form;
};

std::span<const ReadingInfo> AllReadings();
const ReadingInfo& InfoOf(Reading reading);
std::optional<Reading> ReadingByName(std::string_view name);

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

struct ParameterInfo {
    Parameter parameter;
    const char* name;      // on the command line and in profiles: "temperature-upper"
    const char* logName;   // in the frame log: "temperature upper limit"
    std::uint8_t code;
    ValueForm form;
    const char* unit;      // "°C", "%RH", "" for none
    // The light sensor echoes a write; the transmitter answers it with any FC reply.
    bool writeEchoed;
    bool mainWindow;  // among the main window's parameters (else the light window's)
};

std::span<const ParameterInfo> AllParameters();
const ParameterInfo& InfoOf(Parameter parameter);
std::optional<Parameter> ParameterByName(std::string_view name);

// The parameter's word as its window shows it: "-10", "-1.5", "300".
std::string WindowText(Parameter parameter, std::uint16_t word);
// The word the parameter's window puts on the wire for the typed text,
// leniently (ValueForms.h): "-1.5abc" for an adjust is 0x800F.
std::uint16_t LenientWord(Parameter parameter, std::string_view typed);

// The word the parameter's form puts on the wire for `text`, strictly: a text
// the form cannot hold exactly is refused in words that name the setting and
// what it takes, so that the caller sends nothing:
//
//   StrictParameterWord(Parameter::TemperatureAdjust, "-1.5")  -> 0x800F
//   StrictParameterWord(Parameter::TemperatureAdjust, "1.25")
//       -> refused: temperature-adjust takes a number from -3276.7 to 3276.7
//          with at most one decimal (°C), not "1.25"
Checked<std::uint16_t> StrictParameterWord(Parameter parameter, std::string_view text);
// "a whole number from -32767 to 32767 (°C)": what StrictParameterWord takes.
std::string AcceptedValues(Parameter parameter);

// --- the frame log's vocabulary -----------------------------------------------------
// "humidity upper limit"; "" for a code the tool does not use.
std::string FcParameterName(std::uint8_t code);
// A parameter's word in the frame log: as its window shows it, a plain number
// for a code the tool does not use.
std::string FcValueText(std::uint8_t code, std::uint16_t word);

// "humidity", "relay 1", "line settings: baud code"; "" for a register the
// tool does not use.
std::string RegisterName(std::uint16_t reg);
// A register's word in the frame log: "60.0" for humidity, "-20.0" for
// temperature, "1 (Normal as a leak)" for register 0x0002, "1 (closed)" for a relay.
std::string RegisterValueText(std::uint16_t reg, std::uint16_t word);
