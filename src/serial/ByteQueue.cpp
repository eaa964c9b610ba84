#include "ByteQueue.h"

namespace {

constexpr std::uint16_t Next(std::uint16_t index) {
    return static_cast<std::uint16_t>((index + 1) % CByteQueue::kSlots);
}

constexpr std::uint16_t Distance(std::uint16_t head, std::uint16_t tail) {
    return head >= tail ? static_cast<std::uint16_t>(head - tail)
                        : static_cast<std::uint16_t>(head - tail + CByteQueue::kSlots);
}

}  // namespace

void CByteQueue::Init() {
    m_head.store(0, std::memory_order_relaxed);
    m_tail.store(0, std::memory_order_relaxed);
    m_capacity = kSlots;
}

std::uint16_t CByteQueue::Count() const {
    // Either side may ask; the acquire loads make the bytes counted visible to
    // the consumer and the freed slots reusable by the producer.
    const std::uint16_t head = m_head.load(std::memory_order_acquire);
    const std::uint16_t tail = m_tail.load(std::memory_order_acquire);
    return Distance(head, tail);
}

void CByteQueue::Push(std::uint8_t byte) {
    const std::uint16_t head = m_head.load(std::memory_order_relaxed);
    const std::uint16_t tail = m_tail.load(std::memory_order_acquire);
    if (Distance(head, tail) >= kMaxBytes) {
        return;  // full: the byte is lost, the oldest bytes stay
    }
    m_data[head] = byte;
    m_head.store(Next(head), std::memory_order_release);
}

void CByteQueue::PushRun(const std::uint8_t* bytes, std::uint16_t count) {
    std::uint16_t head = m_head.load(std::memory_order_relaxed);
    const std::uint16_t tail = m_tail.load(std::memory_order_acquire);
    const std::uint16_t room = kMaxBytes - Distance(head, tail);
    for (std::uint16_t i = 0; i < count && i < room; ++i) {
        m_data[head] = bytes[i];
        head = Next(head);
    }
    m_head.store(head, std::memory_order_release);
}

std::uint8_t CByteQueue::Pop() {
    const std::uint16_t tail = m_tail.load(std::memory_order_relaxed);
    const std::uint16_t head = m_head.load(std::memory_order_acquire);
    if (head == tail) {
        return 0;  // moving the tail past the head would turn "empty" into "full"
    }
    const std::uint8_t byte = m_data[tail];
    m_tail.store(Next(tail), std::memory_order_release);
    return byte;
}
