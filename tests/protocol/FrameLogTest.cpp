// The frame log: bounded, numbered across drops and clears, and woken for by
// its readers. (Its rows from real exchanges: tests/ui/log.)

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "protocol/FrameLog.h"

namespace {

using namespace std::chrono_literals;

TEST(FrameLog, KeepsTheNewestEntriesAndCountsOnAcrossDropsAndClears) {
    CFrameLog log(3);
    for (int i = 0; i < 5; ++i) log.Append(LogDirection::Sent, {}, "entry " + std::to_string(i));
    EXPECT_EQ(log.Size(), 3U);
    const auto held = log.EntriesFrom(0);
    ASSERT_EQ(held.size(), 3U);
    EXPECT_EQ(held.front().sequence, 2U);
    EXPECT_EQ(held.front().meaning, "entry 2");
    EXPECT_EQ(log.EntriesFrom(4).size(), 1U);

    log.Clear();
    EXPECT_TRUE(log.EntriesFrom(0).empty());
    log.Append(LogDirection::Port, {}, "after");
    ASSERT_EQ(log.EntriesFrom(0).size(), 1U);
    EXPECT_EQ(log.EntriesFrom(0).front().sequence, 5U);
}

TEST(FrameLog, AWaitingReaderWakesForANewEntryOrAStop) {
    CFrameLog log;
    std::atomic<bool> woke{false};
    std::jthread reader([&](std::stop_token stop) { woke = log.WaitForEntry(0, stop); });
    std::this_thread::sleep_for(20ms);
    log.Append(LogDirection::Sent, {}, "x");
    reader.join();
    EXPECT_TRUE(woke);

    std::jthread stopped([&](std::stop_token stop) { woke = log.WaitForEntry(1, stop); });
    stopped.request_stop();
    stopped.join();
    EXPECT_FALSE(woke);
}

TEST(FrameLog, ALineHoldsEveryColumn) {
    FrameLogEntry entry;
    entry.time = 1234ms;
    entry.direction = LogDirection::Received;
    entry.bytes = {0xFD, 0x02};
    entry.meaning = "FD frame cut short (2 bytes)";
    entry.outcome = "short (2 bytes)";
    EXPECT_EQ(FrameLogLine(entry), "1234\trx\tFD 02\tFD frame cut short (2 bytes)\tshort (2 bytes)");
}

}  // namespace
