#include <gtest/gtest.h>

#include <thread>

#include "TestSupport.h"
#include "serial/ByteQueue.h"

namespace {

// Moves both indices `steps` slots on, so that later pushes cross the ring's end.
void Advance(CByteQueue& queue, int steps) {
    for (int i = 0; i < steps; ++i) {
        queue.Push(0);
        queue.Pop();
    }
}

std::vector<std::uint8_t> PopAll(CByteQueue& queue) {
    std::vector<std::uint8_t> bytes(queue.Count());
    for (auto& byte : bytes) {
        byte = queue.Pop();
    }
    return bytes;
}

}  // namespace

TEST(ByteQueue, KeepsOrderAcrossTheEndOfTheRing) {
    CByteQueue queue;
    for (std::uint8_t round = 0; round < 5; ++round) {
        const auto bytes = Pattern(3000, round);
        for (auto byte : bytes) {
            queue.Push(byte);
        }
        ASSERT_EQ(queue.Count(), 3000);
        EXPECT_EQ(PopAll(queue), bytes) << "round " << int(round);
        EXPECT_EQ(queue.Count(), 0);
    }
}

TEST(ByteQueue, FullQueueDropsNewBytesAndKeepsTheOldest) {
    for (int start : {0, 1, 2000, 4095}) {
        SCOPED_TRACE("indices start at " + std::to_string(start));
        CByteQueue queue;
        Advance(queue, start);
        const auto bytes = Pattern(CByteQueue::kMaxBytes);
        for (auto byte : bytes) {
            queue.Push(byte);
        }
        for (int i = 0; i < 100; ++i) {
            queue.Push(0xEE);
        }
        ASSERT_EQ(queue.Count(), CByteQueue::kMaxBytes);
        EXPECT_EQ(PopAll(queue), bytes);
        queue.Push(0x42);  // room again after the pops
        ASSERT_EQ(queue.Count(), 1);
        EXPECT_EQ(queue.Pop(), 0x42);
    }
}

TEST(ByteQueue, CountsAcrossWrappedIndices) {
    struct Case {
        int start, pushes, pops, count;
    };
    const Case cases[] = {
        {0, 4000, 3990, 10},     // no wrap
        {100, 4000, 3990, 10},   // head wrapped, tail not: head < tail
        {3000, 4000, 3990, 10},  // both wrapped
        {4000, 4095, 0, 4095},   // full across the end
        {4095, 1, 1, 0},
    };
    for (const auto& c : cases) {
        CByteQueue queue;
        Advance(queue, c.start);
        for (int i = 0; i < c.pushes; ++i) {
            queue.Push(static_cast<std::uint8_t>(i));
        }
        for (int i = 0; i < c.pops; ++i) {
            queue.Pop();
        }
        EXPECT_EQ(queue.Count(), c.count) << "start " << c.start;
    }
}

TEST(ByteQueue, PopFromAnEmptyQueueDoesNotCorruptIt) {
    CByteQueue queue;
    Advance(queue, 4095);
    EXPECT_EQ(queue.Pop(), 0);
    EXPECT_EQ(queue.Count(), 0);
    queue.Push(7);
    EXPECT_EQ(queue.Count(), 1);
    EXPECT_EQ(queue.Pop(), 7);
}

// One thread pushes, another pops: every byte must arrive once, in order, even
// while the indices chase each other round the ring.
TEST(ByteQueue, HandsEveryByteOverBetweenTwoThreadsInOrder) {
    constexpr std::size_t kBytes = 300000;
    const auto bytes = Pattern(kBytes, 5);
    CByteQueue queue;

    std::thread producer([&] {
        for (std::size_t i = 0; i < kBytes; ++i) {
            while (queue.Count() >= CByteQueue::kMaxBytes) {
                std::this_thread::yield();
            }
            queue.Push(bytes[i]);
        }
    });

    std::size_t received = 0;
    std::size_t firstMismatch = kBytes;
    while (received < kBytes) {
        std::uint16_t count = queue.Count();
        if (count == 0) {
            std::this_thread::yield();
            continue;
        }
        while (count-- > 0) {
            const std::uint8_t byte = queue.Pop();
            if (firstMismatch == kBytes && byte != bytes[received]) {
                firstMismatch = received;
            }
            ++received;
        }
    }
    producer.join();

    EXPECT_EQ(firstMismatch, kBytes) << "first wrong byte at " << firstMismatch;
    EXPECT_EQ(queue.Count(), 0);
}

// A run goes in whole as far as there is room, the rest is dropped, and the
// consumer on another thread never sees part of a run: a reply moved into the
// reply queue while the window thread fetches arrives whole or not at all.
TEST(ByteQueue, RunsArePublishedWhole) {
    for (const std::uint16_t before : {std::uint16_t{0}, std::uint16_t{4000}, CByteQueue::kMaxBytes}) {
        SCOPED_TRACE(std::to_string(before) + " bytes queued before");
        CByteQueue queue;
        Advance(queue, 3000);
        for (std::uint16_t i = 0; i < before; ++i) {
            queue.Push(0xAA);
        }
        const auto run = Pattern(500, 1);
        queue.PushRun(run.data(), static_cast<std::uint16_t>(run.size()));
        const std::size_t kept = std::min<std::size_t>(run.size(), CByteQueue::kMaxBytes - before);
        const auto all = PopAll(queue);
        ASSERT_EQ(all.size(), before + kept);
        EXPECT_TRUE(std::equal(all.begin() + before, all.end(), run.begin()));
    }

    constexpr std::uint16_t kRun = 37;
    constexpr int kRuns = 20000;
    const auto run = Pattern(kRun, 2);
    CByteQueue queue;
    std::thread producer([&] {
        for (int i = 0; i < kRuns; ++i) {
            while (queue.Count() > CByteQueue::kMaxBytes - kRun) {
                std::this_thread::yield();
            }
            queue.PushRun(run.data(), kRun);
        }
    });
    int partial = 0;
    for (std::size_t received = 0; received < std::size_t{kRuns} * kRun;) {
        const std::uint16_t count = queue.Count();
        partial += count % kRun != 0 ? 1 : 0;
        for (std::uint16_t i = 0; i < count; ++i) {
            queue.Pop();
        }
        received += count;
        if (count == 0) {
            std::this_thread::yield();
        }
    }
    producer.join();
    EXPECT_EQ(partial, 0) << "the consumer saw part of a run";
}
