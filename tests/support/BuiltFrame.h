#pragma once
// The bytes a request builder puts into a buffer, for comparing with what a
// device heard or a table of frames.

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "protocol/Crc16.h"
#include "protocol/RequestFrames.h"

inline std::vector<std::uint8_t> Built(const std::function<std::uint16_t(TxBuffer)>& builder) {
    std::array<std::uint8_t, 256> tx{};
    const std::uint16_t length = builder(tx);
    return {tx.begin(), tx.begin() + length};
}

// `head` with its CRC behind it.
inline std::vector<std::uint8_t> Sealed(std::vector<std::uint8_t> head) {
    head.resize(head.size() + 2);
    AppendCrc16(head, head.size() - 2);
    return head;
}
