#pragma once
// Cuts the byte stream a device hears into requests. The families carry no
// common length field, so the cutter knows each family's length from its first
// bytes (FD: 7; FC: 9; FB: by command and operation; register frames: by
// function, function 10 by its byte count) and takes a frame only when its CRC
// is good. Bytes that start no frame, or a frame with a bad CRC, are skipped one
// at a time, so a request behind line noise is still found.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "DeviceState.h"

namespace sim {

class CRequestCutter {
public:
    // Noise beyond this is dropped from the front: no request is this long.
    static constexpr std::size_t kMaxPending = 1024;

    // Adds bytes from the line; returns the requests completed by them, in order.
    std::vector<Frame> Feed(std::span<const std::uint8_t> bytes);

    // The line has been silent: what waits cannot grow into the frame it seemed
    // to start. Skips it a byte at a time, still taking any whole request that
    // lies behind the noise.
    std::vector<Frame> Flush();

    bool HasPending() const { return !m_pending.empty(); }
    std::size_t SkippedBytes() const { return m_skipped; }

private:
    void Scan(std::vector<Frame>& out);
    void Skip(std::size_t count);

    std::vector<std::uint8_t> m_pending;
    std::size_t m_skipped = 0;
};

}  // namespace sim
