#pragma once
// CRC-16/MODBUS, the check that closes every frame on the bus: reflected
// polynomial 0xA001, initial value 0xFFFF, no final XOR. "123456789" gives 0x4B37.

#include <cstddef>
#include <cstdint>
#include <span>

std::uint16_t ComputeCrc16(const std::uint8_t* data, std::size_t length);

inline std::uint16_t ComputeCrc16(std::span<const std::uint8_t> bytes) {
    return ComputeCrc16(bytes.data(), bytes.size());
}

// Writes the CRC of the first `dataLength` bytes of `frame` behind them, low
// byte first, and returns the frame length with the CRC. Returns 0 and writes
// nothing when the frame has no room for the CRC.
std::size_t AppendCrc16(std::span<std::uint8_t> frame, std::size_t dataLength);

// True when the last two bytes of `frame` are the CRC of the bytes before them.
// A run of fewer than three bytes carries no data to protect and never passes.
bool HasValidCrc(std::span<const std::uint8_t> frame);
