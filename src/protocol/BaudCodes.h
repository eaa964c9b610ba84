#pragma once
// The two baud-code tables of the bus.
//
//   FD baud code   bit/s        register baud code   bit/s
//        1         2400                 0            1200
//        2         4800                 1            2400
//        3         9600                 2            4800
//                                       3            9600
//                                       4           19200
//                                       5           38400
//
// The codes of 2400, 4800 and 9600 are 1, 2 and 3 in both tables, and those are
// the only rates the tool ever writes, so one encoder serves both families.

#include <cstdint>
#include <optional>

// Bit/s of an FD baud code; 0 for a code outside the table.
std::uint32_t FdBaudRate(std::uint8_t code);
// Bit/s of a register baud code; 0 for a code outside the table.
std::uint32_t RegisterBaudRate(std::uint8_t code);

// Code of a rate in the FD table (2400, 4800, 9600 only). Also the code the tool
// writes into the register device's baud register.
std::optional<std::uint8_t> FdBaudCode(std::uint32_t rate);
// Code of a rate in the register table (1200 to 38400).
std::optional<std::uint8_t> RegisterBaudCode(std::uint32_t rate);
