#pragma once
// Writes one frame into a caller's buffer, field by field in wire order, and
// closes it with the CRC. A frame that does not fit is not written: Seal then
// returns 0, so no caller ever sends a half-built frame.

#include <cstddef>
#include <cstdint>
#include <span>

#include "Crc16.h"
#include "FrameCodes.h"

class CFrameWriter {
public:
    explicit CFrameWriter(std::span<std::uint8_t> out) : m_out(out) {}

    CFrameWriter& Byte(std::uint8_t value) {
        if (m_length < m_out.size()) {
            m_out[m_length++] = value;
        } else {
            m_overflow = true;
        }
        return *this;
    }
    // 16-bit fields go high byte first; only the CRC goes the other way round.
    CFrameWriter& Word(std::uint16_t value) {
        return Byte(static_cast<std::uint8_t>(value >> 8)).Byte(static_cast<std::uint8_t>(value & 0xFF));
    }
    CFrameWriter& Mark(std::uint8_t mark) {
        for (std::size_t i = 0; i < kMarkBytes; ++i) Byte(mark);
        return *this;
    }
    CFrameWriter& Zeros(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) Byte(0);
        return *this;
    }
    CFrameWriter& Bytes(std::span<const std::uint8_t> bytes) {
        for (std::uint8_t b : bytes) Byte(b);
        return *this;
    }

    std::size_t Length() const { return m_length; }

    // Appends the CRC over everything written; returns the whole frame length.
    std::uint16_t Seal() {
        if (m_overflow) return 0;
        return static_cast<std::uint16_t>(AppendCrc16(m_out, m_length));
    }

private:
    std::span<std::uint8_t> m_out;
    std::size_t m_length = 0;
    bool m_overflow = false;
};
