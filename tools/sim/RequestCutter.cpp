#include "RequestCutter.h"

#include <algorithm>

#include "protocol/Crc16.h"
#include "protocol/FrameCodes.h"

namespace sim {

namespace {

constexpr std::size_t kNeedMore = 0;
constexpr std::size_t kNoFrame = static_cast<std::size_t>(-1);

bool IsMark(std::uint8_t byte) {
    return byte == kFdMark || byte == kFcMark || byte == kFbMark;
}

// Length of the request that `head` begins, kNeedMore when its first bytes do
// not tell yet, kNoFrame when they start no request.
std::size_t ExpectedLength(std::span<const std::uint8_t> head) {
    if (head.empty()) return kNeedMore;
    const std::uint8_t first = head[0];
    const std::size_t marksSeen = std::min(head.size(), kMarkBytes);
    const bool marked = IsMark(first) && std::all_of(head.begin(), head.begin() + marksSeen,
                                                     [first](std::uint8_t b) { return b == first; });
    if (marked) {
        if (head.size() < kMarkBytes) return kNeedMore;
        if (first == kFdMark) return kFdFrameBytes;
        if (first == kFcMark) return kFcRequestBytes;
        if (head.size() < 5) return kNeedMore;  // FB: command and operation
        const std::size_t length = FbRequestLength(head[3], head[4]);
        return length == 0 ? kNoFrame : length;
    }
    // Register frame: address, function, ...
    if (head.size() < 2) return kNeedMore;
    switch (head[1]) {
        case kFuncReadRegisters: return kReadRequestBytes;
        case kFuncWriteRegister: return kWriteRegisterBytes;
        case kFuncWriteRegisters:
            if (head.size() < 7) return kNeedMore;
            return 7 + head[6] + kCrcBytes;
        default: return kNoFrame;
    }
}

}  // namespace

std::vector<Frame> CRequestCutter::Feed(std::span<const std::uint8_t> bytes) {
    m_pending.insert(m_pending.end(), bytes.begin(), bytes.end());
    if (m_pending.size() > kMaxPending) Skip(m_pending.size() - kMaxPending);
    std::vector<Frame> frames;
    Scan(frames);
    return frames;
}

std::vector<Frame> CRequestCutter::Flush() {
    std::vector<Frame> frames;
    while (!m_pending.empty()) {
        Skip(1);
        Scan(frames);
    }
    return frames;
}

void CRequestCutter::Scan(std::vector<Frame>& out) {
    while (!m_pending.empty()) {
        const std::size_t length = ExpectedLength(m_pending);
        if (length == kNoFrame) {
            Skip(1);
            continue;
        }
        if (length == kNeedMore || m_pending.size() < length) return;
        const std::span<const std::uint8_t> candidate(m_pending.data(), length);
        if (!HasValidCrc(candidate)) {
            Skip(1);
            continue;
        }
        out.emplace_back(candidate.begin(), candidate.end());
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(length));
    }
}

void CRequestCutter::Skip(std::size_t count) {
    count = std::min(count, m_pending.size());
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(count));
    m_skipped += count;
}

}  // namespace sim
