#include "Crc16.h"

#include <array>

namespace {

// The two byte tables of the table-driven CRC: entry i holds the low and the
// high byte of the CRC contribution of index i. The running CRC is kept as two
// bytes; each data byte is XORed into the low one to form the index.
struct CrcTables {
    std::array<std::uint8_t, 256> low{};
    std::array<std::uint8_t, 256> high{};
};

constexpr CrcTables MakeCrcTables() {
    CrcTables tables;
    for (unsigned index = 0; index < 256; ++index) {
        unsigned crc = index;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1U) ? (crc >> 1) ^ 0xA001U : crc >> 1;
        }
        tables.low[index] = static_cast<std::uint8_t>(crc & 0xFFU);
        tables.high[index] = static_cast<std::uint8_t>(crc >> 8);
    }
    return tables;
}

constexpr CrcTables kCrcTables = MakeCrcTables();

}  // namespace

std::uint16_t ComputeCrc16(const std::uint8_t* data, std::size_t length) {
    std::uint8_t crcLow = 0xFF;
    std::uint8_t crcHigh = 0xFF;
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t index = crcLow ^ data[i];
        crcLow = crcHigh ^ kCrcTables.low[index];
        crcHigh = kCrcTables.high[index];
    }
    return static_cast<std::uint16_t>(crcHigh << 8 | crcLow);
}

std::size_t AppendCrc16(std::span<std::uint8_t> frame, std::size_t dataLength) {
    if (dataLength > frame.size() || frame.size() - dataLength < 2) return 0;
    const std::uint16_t crc = ComputeCrc16(frame.data(), dataLength);
    frame[dataLength] = static_cast<std::uint8_t>(crc & 0xFF);  // low byte first
    frame[dataLength + 1] = static_cast<std::uint8_t>(crc >> 8);
    return dataLength + 2;
}

bool HasValidCrc(std::span<const std::uint8_t> frame) {
    if (frame.size() < 3) return false;
    const std::size_t n = frame.size();
    const std::uint16_t sent = static_cast<std::uint16_t>(frame[n - 2] | frame[n - 1] << 8);
    return ComputeCrc16(frame.data(), n - 2) == sent;
}
