#include <gtest/gtest.h>

#include "PortOnPty.h"
#include "PseudoTerminal.h"
#include "TestSupport.h"
#include "serial/PortPath.h"
#include "serial/ReceivePath.h"
#include "serial/SerialPort.h"

using namespace std::chrono_literals;

namespace {

constexpr std::uint8_t kPort = 9;
constexpr int kAttempts = 5;

// The bytes of a literal, embedded zeros included, without the terminator.
template <std::size_t N>
std::vector<std::uint8_t> Bytes(const char (&text)[N]) {
    return {text, text + N - 1};
}

// The receive thread reading a real port on a pseudo-terminal.
class ReceivePathOnPty : public PortOnPty {
protected:
    ReceivePathOnPty() : PortOnPty(kPort) {}

    void SetUp() override {
        PortOnPty::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(m_port.Open());
        m_portOpen = true;
        m_receive.Init();
        m_receive.Start(m_port, m_portOpen);
    }

    // Everything in the reply queue once at least `count` bytes are there and
    // nothing more has come for a while.
    std::vector<std::uint8_t> Collect(std::size_t count) {
        EXPECT_TRUE(WaitUntil([&] { return m_receive.m_replyQueue.Count() >= count; }))
            << "only " << m_receive.m_replyQueue.Count() << " of " << count << " bytes arrived";
        std::this_thread::sleep_for(150ms);
        return FetchAll();
    }

    std::vector<std::uint8_t> FetchAll() {
        std::vector<std::uint8_t> all;
        std::uint8_t buffer[1024];
        while (const std::uint16_t count = m_receive.FetchReply(buffer, sizeof(buffer))) {
            all.insert(all.end(), buffer, buffer + count);
        }
        return all;
    }

    std::atomic<bool> m_portOpen{false};
    CReceivePath m_receive;  // last, so that its thread ends before the port goes
};

}  // namespace

TEST(ReceivePath, FetchReplyHandsOutAtMostTheBuffer) {
    CReceivePath receive;
    const auto bytes = Pattern(1500);
    for (auto byte : bytes) {
        receive.m_replyQueue.Push(byte);
    }
    std::uint8_t buffer[1024];
    ASSERT_EQ(receive.FetchReply(buffer, 1024), 1024);
    EXPECT_TRUE(std::equal(buffer, buffer + 1024, bytes.begin()));
    ASSERT_EQ(receive.FetchReply(buffer, 1024), 476);
    EXPECT_TRUE(std::equal(buffer, buffer + 476, bytes.begin() + 1024));
    EXPECT_EQ(receive.FetchReply(buffer, 1024), 0);
}

TEST_F(ReceivePathOnPty, PiecesWithShortGapsMakeOneReply) {
    const std::vector<std::vector<std::uint8_t>> pieces = {
        {0x01, 0x03, 0x04}, {0x00, 0xEB}, {0x01, 0x5E}, {0x9B, 0x4F}};
    std::vector<std::uint8_t> whole;
    for (const auto& piece : pieces) {
        whole.insert(whole.end(), piece.begin(), piece.end());
    }

    // A gap only counts when this thread really kept it short; under heavy load
    // an attempt may stall past the silence and is then run again.
    int conclusive = 0;
    for (int attempt = 0; attempt < kAttempts && conclusive == 0; ++attempt) {
        bool shortGaps = true;
        bool delivered = false;
        auto sentAt = std::chrono::steady_clock::now();
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (i > 0) {
                std::this_thread::sleep_for(3ms);
                delivered = delivered || m_receive.m_replyQueue.Count() != 0;
                shortGaps = shortGaps && std::chrono::steady_clock::now() - sentAt < 20ms;
            }
            ASSERT_TRUE(m_pty.Send(pieces[i]));
            sentAt = std::chrono::steady_clock::now();
        }
        EXPECT_EQ(Collect(whole.size()), whole);
        if (shortGaps) {
            ++conclusive;
            EXPECT_FALSE(delivered) << "a piece was delivered as a reply of its own";
        }
    }
    if (conclusive == 0) {
        GTEST_SKIP() << "the machine was too busy to keep the gaps short";
    }
}

TEST_F(ReceivePathOnPty, RepliesAfterSilenceAreAppendedAndFetchedTogether) {
    const auto first = Bytes("\x01\x03\x04\x00\xEB\x01\x5E");
    const auto second = Bytes("\x02\x06\x00\x05");
    ASSERT_TRUE(m_pty.Send(first));
    ASSERT_TRUE(WaitUntil([&] { return m_receive.m_replyQueue.Count() == first.size(); }));
    std::this_thread::sleep_for(60ms);
    ASSERT_TRUE(m_pty.Send(second));
    ASSERT_TRUE(WaitUntil([&] { return m_receive.m_replyQueue.Count() == first.size() + second.size(); }));

    std::uint8_t buffer[1024];
    const std::uint16_t count = m_receive.FetchReply(buffer, sizeof(buffer));
    std::vector<std::uint8_t> both = first;
    both.insert(both.end(), second.begin(), second.end());
    EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + count), both);
}

// A reply cut short by a reopen belongs to no request any more: its bytes must
// not land in front of the first reply of the new session. The device search
// clears the open flag around its reopen; the baud-rate change leaves it set.
TEST_F(ReceivePathOnPty, ReplyCutByAReopenIsDropped) {
    for (const bool flagCleared : {true, false}) {
        SCOPED_TRACE(flagCleared ? "flag cleared around the reopen" : "flag left set");
        int conclusive = 0;
        for (int attempt = 0; attempt < kAttempts && conclusive == 0; ++attempt) {
            ASSERT_TRUE(m_pty.Send(Bytes("OLD!")));
            ASSERT_TRUE(WaitUntil([&] { return m_pty.WaitingAtPort() == 0; }));  // the thread has them
            if (flagCleared) {
                m_portOpen = false;
            }
            m_port.Close();
            m_port.SetParams(kPort, 8, 0, 0, 4800);
            ASSERT_TRUE(m_port.Open());
            if (flagCleared) {
                m_portOpen = true;
            }
            if (m_receive.m_replyQueue.Count() != 0) {
                // The line fell silent before the close: the old bytes made a
                // reply of their own, which is right. Try again.
                std::this_thread::sleep_for(100ms);
                FetchAll();
                continue;
            }
            ++conclusive;
            ASSERT_TRUE(m_pty.Send(Bytes("NEW")));
            EXPECT_EQ(Collect(3), Bytes("NEW"));
        }
        if (conclusive == 0) {
            GTEST_SKIP() << "the machine was too busy to close within the silence";
        }
    }
}

// The device sends faster than anyone fetches: the queues fill to 4095 bytes
// and drop the rest, keeping the oldest in order, and work normally afterwards.
TEST_F(ReceivePathOnPty, FloodKeepsTheOldestBytesAndTheQueuesStaySound) {
    struct Case {
        const char* name;
        std::size_t replies;
        std::size_t replyBytes;
    };
    const Case cases[] = {
        {"one burst overflows the raw queue", 1, 6000},
        {"replies overflow the reply queue", 6, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto stream = Pattern(c.replies * c.replyBytes, 3);
        for (std::size_t r = 0; r < c.replies; ++r) {
            const std::vector<std::uint8_t> reply(stream.begin() + r * c.replyBytes,
                                                  stream.begin() + (r + 1) * c.replyBytes);
            ASSERT_TRUE(m_pty.Send(reply));
            const std::size_t expected = std::min<std::size_t>((r + 1) * c.replyBytes, CByteQueue::kMaxBytes);
            ASSERT_TRUE(WaitUntil([&] { return m_receive.m_replyQueue.Count() == expected; }))
                << m_receive.m_replyQueue.Count() << " bytes after reply " << r;
        }
        ASSERT_TRUE(m_pty.Send(Bytes("LATE")));
        ASSERT_TRUE(WaitUntil([&] { return m_pty.WaitingAtPort() == 0; }));
        std::this_thread::sleep_for(150ms);
        ASSERT_EQ(m_receive.m_replyQueue.Count(), CByteQueue::kMaxBytes);

        std::vector<std::uint16_t> fetches;
        std::vector<std::uint8_t> kept;
        std::uint8_t buffer[1024];
        while (const std::uint16_t count = m_receive.FetchReply(buffer, sizeof(buffer))) {
            fetches.push_back(count);
            kept.insert(kept.end(), buffer, buffer + count);
        }
        EXPECT_EQ(fetches, (std::vector<std::uint16_t>{1024, 1024, 1024, 1023}));
        EXPECT_TRUE(std::equal(kept.begin(), kept.end(), stream.begin())) << "not the oldest bytes in order";

        ASSERT_TRUE(m_pty.Send(Bytes("\x01\x03\x02\x00\x07")));
        EXPECT_EQ(Collect(5), Bytes("\x01\x03\x02\x00\x07"));
    }
}

// The adapter is pulled while the port is open: nothing crashes or hangs, reads
// yield nothing, the log says so once, and a reopen on the returned device works.
TEST_F(ReceivePathOnPty, SurvivesTheDeviceVanishingAndComesBack) {
    ASSERT_TRUE(m_pty.Send(Bytes("abc")));
    ASSERT_EQ(Collect(3), Bytes("abc"));

    m_pty.HangUp();
    ASSERT_TRUE(WaitUntil([&] { return m_log.Warnings().size() >= 1; }));
    std::this_thread::sleep_for(300ms);  // hundreds of polls of the dead device
    const auto warnings = m_log.Warnings();
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find(ResolvePortPath(kPort)), std::string::npos) << warnings[0];
    EXPECT_EQ(m_log.Events().back().kind, PortEventKind::Vanished);

    std::uint8_t buffer[16];
    EXPECT_EQ(m_port.Read(buffer, sizeof(buffer)), 0u);
    const std::uint8_t request[] = {1, 3, 0, 0, 0, 2};
    EXPECT_FALSE(m_port.Write(request, sizeof(request)));
    EXPECT_EQ(m_receive.m_replyQueue.Count(), 0);

    CPseudoTerminal returned;
    ASSERT_TRUE(returned.Valid());
    CComPortOverride override(kPort, returned.SlavePath());
    m_portOpen = false;
    m_port.Close();
    ASSERT_TRUE(m_port.Open());
    m_portOpen = true;
    ASSERT_TRUE(returned.Send(Bytes("xyz")));
    EXPECT_EQ(Collect(3), Bytes("xyz"));
    ASSERT_TRUE(m_port.Write(request, sizeof(request)));
    EXPECT_EQ(returned.Receive(sizeof(request)), std::vector<std::uint8_t>(request, request + sizeof(request)));
    m_receive.Stop();  // before `returned` goes
}

// The thread waits on the quiet line when the port is closed and opened on
// another device, with the open flag cleared around it (the search) or left set
// (the baud-rate change). It must leave the old device's wait at once and read
// the new one: without the wake-up it would wait on the old descriptor for ever.
TEST_F(ReceivePathOnPty, AReopenWhileTheThreadWaitsMovesItToTheNewDevice) {
    CPseudoTerminal other;
    ASSERT_TRUE(other.Valid());
    const struct {
        bool flagCleared;
        CPseudoTerminal* device;
    } rounds[] = {{true, &other}, {false, &m_pty}, {false, &other}, {true, &m_pty}};
    for (const auto& round : rounds) {
        SCOPED_TRACE(round.flagCleared ? "flag cleared around the reopen" : "flag left set");
        std::this_thread::sleep_for(20ms);  // the thread is waiting by now
        CComPortOverride target(kPort, round.device->SlavePath());
        if (round.flagCleared) {
            m_portOpen = false;
        }
        m_port.Close();
        ASSERT_TRUE(m_port.Open());
        if (round.flagCleared) {
            m_portOpen = true;
        }
        ASSERT_TRUE(round.device->Send(Bytes("NEW")));
        EXPECT_EQ(Collect(3), Bytes("NEW"));
    }
}

TEST_F(ReceivePathOnPty, StopEndsTheThread) {
    EXPECT_TRUE(m_receive.Running());
    m_receive.Stop();
    EXPECT_FALSE(m_receive.Running());
    m_receive.Stop();
    ASSERT_TRUE(m_pty.Send(Bytes("zz")));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(m_pty.WaitingAtPort(), 2) << "a stopped thread still reads the port";
}

// Stop wakes the thread out of its wait and joins it. Every stop must end,
// however the thread's waking up and the wake-up's own return interleave, and
// a thread started again reads as the first one did.
TEST_F(ReceivePathOnPty, StopEndsEveryTimeAndARestartedThreadReads) {
    constexpr int kRestarts = 300;
    for (int i = 0; i < kRestarts; ++i) {
        // Mostly with the thread already blocked in its wait, sometimes not yet.
        std::this_thread::sleep_for(std::chrono::microseconds(i % 3 == 0 ? 0 : 1500));
        m_receive.Stop();
        ASSERT_FALSE(m_receive.Running());
        m_receive.Start(m_port, m_portOpen);
    }
    ASSERT_TRUE(m_pty.Send(Bytes("again")));
    EXPECT_EQ(Collect(5), Bytes("again"));
}
