#pragma once
// The names of the codes and registers on the bus and their values in the
// form the windows show them; the frame decoder's vocabulary.

#include <cstdint>
#include <string>

// "humidity upper limit"; "" for a code the tool does not use.
std::string FcParameterName(std::uint8_t code);
// A parameter's word as its window shows it: sign-magnitude whole units for
// the limits ("-10"), sign-magnitude tenths for adjusts and hystereses
// ("-1.5"), the item of the remote-signal box ("Normally Close"), a plain
// number for the rest.
std::string FcValueText(std::uint8_t code, std::uint16_t word);

// "humidity", "relay 1", "line settings: baud code"; "" for a register the
// tool does not use.
std::string RegisterName(std::uint16_t reg);
// A register's word as the reading shows it: "60.0" for humidity, "-20.0" for
// temperature, "1 (Normal as a leak)" for register 0x0002, "1 (closed)" for a relay.
std::string RegisterValueText(std::uint16_t reg, std::uint16_t word);

// "FB enter configuration mode"... by command; "" for a command the tool does
// not send.
std::string FbCommandName(std::uint8_t command);

// "baud code 2 (4800 bit/s)" or "baud code 7 (unknown)", by the table of the
// family.
std::string FdBaudText(std::uint8_t code);
std::string RegisterBaudText(std::uint8_t code);

// "0x0200"
std::string Hex16(std::uint16_t value);
