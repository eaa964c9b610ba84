#pragma once
// The forms in which the devices' 16-bit words carry values, both ways: word
// to the text the windows show, and typed number to word. One set for the
// windows, the frame decoder and the command line.
//
// Measurement registers carry two's-complement or unsigned words, in tenths or
// whole units. The FC limits and adjustments are sign-magnitude: bit 15 set
// means negative, bits 0-14 hold the magnitude (-10 is 0x800A). Tenths are
// shown as whole part, full stop, one digit: 0xFFFB as "-0.5".

#include <cstdint>
#include <string>

// --- measurement registers (function 03) -------------------------------------
std::string SignedTenthsText(std::uint16_t word);     // 0xFF38 -> "-20.0"
std::string UnsignedTenthsText(std::uint16_t word);   // 0xFFFF -> "6553.5"
std::string UnsignedIntegerText(std::uint16_t word);  // 0xFFFF -> "65535"
std::string WaterLeakText(std::uint16_t code);        // 1 "Normal", 2 "Warning", else " "
std::string PowerFailureText(std::uint16_t code);     // 0 "Normal", 1 "Warning", else "  "

// --- FC parameters -------------------------------------------------------------
std::string SignMagnitudeWholeText(std::uint16_t word);   // limits: 0x800A -> "-10"
std::string SignMagnitudeTenthsText(std::uint16_t word);  // adjusts, hysteresis: 0x800F -> "-1.5"

// The same values as numbers.
double SignedTenthsNumber(std::uint16_t word);          // 0xFF38 -> -20.0
double SignMagnitudeWholeNumber(std::uint16_t word);    // 0x800A -> -10
double SignMagnitudeTenthsNumber(std::uint16_t word);   // 0x800F -> -1.5

// The windows' lenient conversions: the typed value truncated toward zero; the
// bits above the 16-bit word are lost (a limit of 40000 goes out as 0x9C40).
// Values beyond the 32-bit integer range count as its nearest end.
std::uint16_t LimitWord(double typed);              // whole units, sign-magnitude
std::uint16_t AdjustWord(double typed);             // tenths, sign-magnitude
std::uint16_t HysteresisWord(double typed);         // tenths, never below 0
std::uint16_t LowWord(std::int64_t typed);          // plain 16-bit word: -1 is 0xFFFF
