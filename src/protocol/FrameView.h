#pragma once
// A frame of any length, read field by field without ever reading past it:
// a byte beyond the frame reads 0, a slice beyond it is cut to what is there.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "FrameCodes.h"

class CFrameView {
public:
    explicit CFrameView(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::span<const std::uint8_t> Bytes() const { return m_bytes; }
    std::size_t Size() const { return m_bytes.size(); }
    bool Has(std::size_t bytes) const { return m_bytes.size() >= bytes; }
    // The frame holds `bytes` of fields and then its CRC.
    bool HasFields(std::size_t bytes) const { return m_bytes.size() >= bytes + kCrcBytes; }

    std::uint8_t Byte(std::size_t offset) const { return offset < m_bytes.size() ? m_bytes[offset] : 0; }
    // High byte first, as every field but the CRC.
    std::uint16_t Word(std::size_t offset) const {
        return static_cast<std::uint16_t>(Byte(offset) << 8 | Byte(offset + 1));
    }
    bool HasMark(std::uint8_t mark) const {
        return Has(kMarkBytes) && m_bytes[0] == mark && m_bytes[1] == mark && m_bytes[2] == mark;
    }

    // The bytes ahead of the CRC.
    std::span<const std::uint8_t> Fields() const {
        return m_bytes.first(m_bytes.size() >= kCrcBytes ? m_bytes.size() - kCrcBytes : 0);
    }
    // Up to `count` field bytes from `offset`; fewer (or none) where the
    // fields end sooner.
    std::span<const std::uint8_t> FieldSlice(std::size_t offset, std::size_t count = SIZE_MAX) const {
        const auto fields = Fields();
        if (offset >= fields.size()) return {};
        return fields.subspan(offset, std::min(count, fields.size() - offset));
    }

private:
    std::span<const std::uint8_t> m_bytes;
};
