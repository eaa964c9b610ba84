// The frame log: bounded, numbered across drops and clears, and written by
// the exchange observer from real exchanges with a simulated device.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "protocol/ExchangeLogger.h"
#include "protocol/FrameLog.h"
#include "protocol/RequestFrames.h"
#include "serial/SerialPort.h"
#include "sim/Simulator.h"

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

// Every exchange on a link with an observer leaves a request and a reply row.
TEST(ExchangeLogger, LogsEachExchangeAsTheWindowJudgesIt) {
    sim::CSimulator device({.kind = sim::DeviceKind::Th, .address = 5, .baud = 4800});
    ::setenv("SENTRABUS_COM28", device.SlavePath().c_str(), 1);
    CSerialPort port;
    port.SetParams(28, 8, CSerialPort::kNoParity, CSerialPort::kOneStopBit, 4800);
    ASSERT_TRUE(port.Open());
    std::atomic<bool> portOpen{true};
    CLink link(port);
    link.m_receive.Init();
    link.m_receive.Start(port, portOpen);
    CFrameLog log;
    CExchangeLogger logger(log, [] { return ReplyContext{}; });
    link.m_observer = &logger;

    ExchangeFrame(link, BuildFdQuery(link.m_txFrame));
    device.InjectFault(sim::Fault::BadCrc());
    ExchangeFrame(link, BuildFcRead(link.m_txFrame, 5));
    device.InjectFault(sim::Fault::Silent());
    ExchangeFrame(link, BuildFdQuery(link.m_txFrame));

    link.m_receive.Stop();
    portOpen = false;
    port.Close();
    ::unsetenv("SENTRABUS_COM28");

    const auto rows = log.EntriesFrom(0);
    ASSERT_EQ(rows.size(), 6U);
    EXPECT_EQ(HexText(rows[0].bytes), "FD FD FD 00 00 E9 88");
    EXPECT_EQ(rows[0].meaning, "FD query");
    EXPECT_EQ(rows[1].direction, LogDirection::Received);
    EXPECT_EQ(rows[1].meaning, "FD reply: address 5, baud code 2 (4800 bit/s)");
    EXPECT_EQ(rows[1].outcome, "good");
    EXPECT_EQ(rows[2].meaning, "FC read humidity upper limit (code 5)");
    EXPECT_EQ(rows[3].outcome, "bad: CRC");
    EXPECT_TRUE(rows[5].bytes.empty());
    EXPECT_EQ(rows[5].meaning, "nothing within 500 ms");
    EXPECT_EQ(rows[5].outcome, "no reply");
    EXPECT_LE(rows[0].time, rows[5].time);
}

}  // namespace
