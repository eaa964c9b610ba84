#pragma once
// Typed values checked strictly, for the command line and device profiles.
// The windows convert leniently (the leading number, truncated, its high bits
// lost); here a text that the device's form cannot hold exactly is refused,
// with words that name the setting and what it accepts, so that the caller
// sends nothing:
//
//   StrictParameterWord(Parameter::TemperatureAdjust, "-1.5")  -> 0x800F
//   StrictParameterWord(Parameter::TemperatureAdjust, "1.25")
//       -> refused: temperature-adjust takes a number from -3276.7 to 3276.7
//          with at most one decimal (°C), not "1.25"
//
// Numbers are written in decimal: an optional sign, digits, and for the
// settings kept in tenths a full stop and one digit. No blanks, exponents or
// other bases.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "Catalogue.h"

template <class T>
struct Checked {
    std::optional<T> value;
    std::string refusal;  // why, when there is no value

    bool Ok() const { return value.has_value(); }
    static Checked Refused(std::string why) { return {std::nullopt, std::move(why)}; }
};

// The word the parameter's form puts on the wire for `text`.
Checked<std::uint16_t> StrictParameterWord(Parameter parameter, std::string_view text);
// "a whole number from -32767 to 32767 (°C)": what StrictParameterWord takes.
std::string AcceptedValues(Parameter parameter);

// The device's bus address, 1 to 255.
Checked<std::uint8_t> StrictAddress(std::string_view text);
// A line speed the devices are set to: 2400, 4800 or 9600 bit/s.
Checked<std::uint32_t> StrictBaudRate(std::string_view text);
// The LCD relay controller's work mode, 1 to 4.
Checked<std::uint8_t> StrictLcdMode(std::string_view text);
// The wireless receiver's channel, 0 to 63.
Checked<std::uint8_t> StrictChannel(std::string_view text);
// The wireless receiver's sleep time, 0 to 65535 s.
Checked<std::uint16_t> StrictSleepTime(std::string_view text);
// A receiver address 1 to 200, as its index 0 to 199 in the receiver's table.
Checked<std::uint8_t> StrictReceiverIndex(std::string_view text);
