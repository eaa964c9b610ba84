#pragma once
// A fixed ring of 4096 byte slots that holds at most 4095 bytes: one slot always
// stays free so that "head == tail" can mean empty.
//
// One producer and one consumer may use a queue from two threads without a lock:
// the producer alone writes m_head, the consumer alone writes m_tail; each
// publishes its index with release order after touching the slot, and reads the
// other's index with acquire order before touching a slot.

#include <array>
#include <atomic>
#include <cstdint>

class CByteQueue {
public:
    static constexpr std::uint16_t kSlots = 4096;
    static constexpr std::uint16_t kMaxBytes = kSlots - 1;

    CByteQueue() { Init(); }
    CByteQueue(const CByteQueue&) = delete;
    CByteQueue& operator=(const CByteQueue&) = delete;

    // Empties the queue. Not safe while the other side is using it.
    void Init();

    std::uint16_t Count() const;

    // Producer side. A push into a full queue drops the byte; the oldest bytes
    // are never overwritten.
    void Push(std::uint8_t byte);
    // The bytes that fit, oldest first, published to the consumer together:
    // a consumer never sees part of the run.
    void PushRun(const std::uint8_t* bytes, std::uint16_t count);

    // Consumer side. Callers pop only as many bytes as Count() reported; a pop
    // from an empty queue returns 0 and leaves the indices alone.
    std::uint8_t Pop();

private:
    std::array<std::uint8_t, kSlots> m_data{};
    std::atomic<std::uint16_t> m_head{0};
    std::atomic<std::uint16_t> m_tail{0};
    // Kept with the ring's layout; the index arithmetic uses kSlots.
    [[maybe_unused]] std::uint16_t m_capacity = kSlots;
};
