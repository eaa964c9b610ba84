#pragma once
// The names of the FB commands and baud codes on the bus; with the catalogue's
// parameter and register names, the frame decoder's vocabulary.

#include <cstdint>
#include <string>

// "FB enter configuration mode"... by command; "" for a command the tool does
// not send.
std::string FbCommandName(std::uint8_t command);

// "baud code 2 (4800 bit/s)" or "baud code 7 (unknown)", by the table of the
// family.
std::string FdBaudText(std::uint8_t code);
std::string RegisterBaudText(std::uint8_t code);

// "0x0200"
std::string Hex16(std::uint16_t value);
