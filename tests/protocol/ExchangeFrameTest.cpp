// ExchangeFrame over the real serial port and receive path, against a
// simulated device on a pseudo-terminal. Waits are generous; the tests assert
// what arrives, not how fast.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "LinkOnPort.h"
#include "protocol/Exchange.h"
#include "protocol/ReplyChecks.h"
#include "protocol/RequestFrames.h"
#include "serial/SerialPort.h"
#include "sim/Simulator.h"
#include "support/WaitUntil.h"

namespace {

using namespace std::chrono_literals;

constexpr std::uint8_t kTestPortNumber = 29;  // COM29 resolves to the simulator's terminal

class ExchangeOnPty : public LinkOnPort {
protected:
    explicit ExchangeOnPty(sim::DeviceKind kind = sim::DeviceKind::Th)
        : m_device({.kind = kind, .address = 5, .baud = 4800}) {}

    void SetUp() override {
        ::setenv("SENTRABUS_COM29", m_device.SlavePath().c_str(), 1);
        OpenLink(kTestPortNumber);
    }

    // True once `count` bytes wait in the reply queue (the receive path has cut
    // a reply), false after a generous deadline.
    bool WaitForQueuedReply(std::uint16_t count) {
        return WaitUntil([&] { return m_link.Receive().m_replyQueue.Count() >= count; }, 5s);
    }

    void DrainReplies() {
        while (m_link.FetchReply() > 0) {
        }
    }

    sim::CSimulator m_device;
};

class WirelessExchangeOnPty : public ExchangeOnPty {
protected:
    WirelessExchangeOnPty() : ExchangeOnPty(sim::DeviceKind::Wireless) {}
};

TEST_F(ExchangeOnPty, AReplyAfter200msIsAccepted) {
    m_device.InjectFault(sim::Fault::Delayed(200ms));
    const std::uint16_t count = ExchangeFrame(m_link, BuildFdQuery(m_link.RequestBuffer()));
    ASSERT_EQ(count, kFdFrameBytes);
    const auto reply = ParseFdReply(m_link.Reply(count));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->address, 5);
    EXPECT_EQ(reply->baudRate, 4800U);
    EXPECT_EQ(ClassifyReply(count, reply.has_value()), ExchangeOutcome::GoodReply);
}

TEST_F(ExchangeOnPty, ALateReplyIsMissedAndThrownAwayByTheNextDrain) {
    // Well past the standard variant's half second.
    m_device.InjectFault(sim::Fault::Delayed(800ms));
    EXPECT_EQ(ExchangeFrame(m_link, BuildFdQuery(m_link.RequestBuffer())), 0);

    // The late FD reply reaches the reply queue after the exchange gave up ...
    ASSERT_TRUE(WaitForQueuedReply(kFdFrameBytes));
    // ... and the next request's drain discards it: only the FC reply is judged.
    const std::uint16_t count = ExchangeFrame(m_link, BuildFcRead(m_link.RequestBuffer(), kFcHumidityUpper));
    ASSERT_EQ(count, kFcReplyBytes);
    const auto values = ParseFcReply(m_link.Reply(count), ValuesUsed::First);
    ASSERT_TRUE(values);
    EXPECT_EQ(values->value1, *m_device.FcParam(kFcHumidityUpper));
}

// Noise can be longer than any reply, and fill the reply queue: all of it goes
// before the request, so that the device's answer is what gets judged.
TEST_F(ExchangeOnPty, NoiseOfAnyLengthBeforeARequestIsDrainedWhole) {
    for (const std::size_t noiseBytes : {std::size_t{2} * 1024, std::size_t{4} * 1024, std::size_t{256} * 1024}) {
        SCOPED_TRACE(std::to_string(noiseBytes) + " bytes of noise");
        std::vector<std::uint8_t> noise(noiseBytes);
        for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 131 + 7);
        ASSERT_TRUE(m_device.PutOnLine(noise, 10s));
        const auto queued = static_cast<std::uint16_t>(std::min<std::size_t>(noiseBytes, CByteQueue::kMaxBytes));
        // All of it read and cut, so that none of it can still be arriving.
        ASSERT_TRUE(WaitUntil([&] { return m_link.Receive().m_rxQueue.Count() == 0 &&
                                           m_link.Receive().m_replyQueue.Count() >= queued; }, 10s));

        const std::uint16_t count = ExchangeFrame(m_link, BuildFcRead(m_link.RequestBuffer(), kFcHumidityUpper));
        ASSERT_EQ(count, kFcReplyBytes);
        const auto values = ParseFcReply(m_link.Reply(count), ValuesUsed::First);
        ASSERT_TRUE(values);
        EXPECT_EQ(values->value1, *m_device.FcParam(kFcHumidityUpper));
    }
}

TEST_F(ExchangeOnPty, ATwoByteAnswerEndsTheStandardPollAsAShortReply) {
    m_device.InjectFault(sim::Fault::Short());
    const std::uint16_t count = ExchangeFrame(m_link, BuildFdQuery(m_link.RequestBuffer()));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(ClassifyReply(count, false), ExchangeOutcome::ShortReply);
}

TEST_F(WirelessExchangeOnPty, TheLongVariantDropsAStrayFetchAndKeepsPolling) {
    // Two stray bytes at once, the configuration reply 0.7 s later: the first
    // 600 ms poll fetches only the stray bytes.
    m_device.InjectFault(sim::Fault::Glitch(700ms));
    const std::uint16_t count =
        ExchangeFrame(m_link, BuildFbEnterConfig(m_link.RequestBuffer()), ExchangeVariant::Long);
    ASSERT_EQ(count, kFbConfigReplyBytes);
    const auto reply = ParseFbConfigReply(m_link.Reply(count));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->sleepTime, m_device.Wireless().sleepTime);
    EXPECT_TRUE(m_device.Wireless().configMode);
}

TEST_F(WirelessExchangeOnPty, TheExtendedVariantWaitsPastHalfASecond) {
    m_device.InjectFault(sim::Fault::Delayed(700ms), 2);
    EXPECT_EQ(ExchangeFrame(m_link, BuildFbConfigureReceiver(m_link.RequestBuffer(), 4)), 0);
    ASSERT_TRUE(WaitForQueuedReply(kFbConfigReplyBytes));

    const std::uint16_t count =
        ExchangeFrame(m_link, BuildFbConfigureReceiver(m_link.RequestBuffer(), 5), ExchangeVariant::Extended);
    ASSERT_EQ(count, kFbConfigReplyBytes);
    const auto reply = ParseFbConfigReply(m_link.Reply(count));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->configBits[0], 0x30);  // indexes 4 and 5: addresses 5 and 6
}

TEST_F(ExchangeOnPty, ASplitReplyWithA10msGapArrivesWhole) {
    m_device.InjectFault(sim::Fault::Split(10ms));
    const std::uint16_t count = ExchangeFrame(m_link, BuildFcRead(m_link.RequestBuffer(), kFcTemperatureLower));
    ASSERT_EQ(count, kFcReplyBytes);
    const auto values = ParseFcReply(m_link.Reply(count), ValuesUsed::First);
    ASSERT_TRUE(values);
    EXPECT_EQ(values->value1, 0x800A);
}

TEST_F(ExchangeOnPty, TheDeviceSeesExactlyTheBuiltFrame) {
    const std::uint16_t length = BuildFcWrite(m_link.RequestBuffer(), kFcTemperatureLower, 0x8014);
    const std::uint16_t count = ExchangeFrame(m_link, length);
    EXPECT_TRUE(ParseFcReply(m_link.Reply(count), ValuesUsed::None));
    ASSERT_TRUE(m_device.WaitForFrames(1, 2s));
    const auto frames = m_device.ReceivedBytes();
    ASSERT_EQ(frames.size(), 1U);
    EXPECT_EQ(frames[0], sim::Frame(m_link.Request(length).begin(), m_link.Request(length).end()));
    EXPECT_EQ(m_device.FcParam(kFcTemperatureLower), 0x8014);
}

// A waiter that counts how the exchange used it.
class CCountingWaiter : public IExchangeWaiter {
public:
    void BeginExchange() override { ++m_begins; }
    void Wait(std::chrono::milliseconds interval) override {
        ++m_waits;
        std::this_thread::sleep_for(interval);
    }
    void EndExchange() override { ++m_ends; }

    int m_begins = 0;
    int m_waits = 0;
    int m_ends = 0;
};

TEST_F(ExchangeOnPty, TheWaiterBracketsEveryExchangeAndPacesEveryPoll) {
    CCountingWaiter waiter;
    m_link.SetWaiter(&waiter);

    m_device.InjectFault(sim::Fault::Silent());
    EXPECT_EQ(ExchangeFrame(m_link, BuildFdQuery(m_link.RequestBuffer())), 0);
    EXPECT_EQ(waiter.m_begins, 1);
    EXPECT_EQ(waiter.m_waits, PlanOf(ExchangeVariant::Standard).maxPolls);
    EXPECT_EQ(waiter.m_ends, 1);

    EXPECT_EQ(ExchangeFrame(m_link, BuildFdQuery(m_link.RequestBuffer())), kFdFrameBytes);
    EXPECT_EQ(waiter.m_begins, 2);
    EXPECT_EQ(waiter.m_ends, 2);
    EXPECT_LT(waiter.m_waits, 2 * PlanOf(ExchangeVariant::Standard).maxPolls);
    m_link.SetWaiter(nullptr);
}

// A waiter that the receive thread wakes as soon as a reply is queued, and one
// that is never woken, so that its exchange polls every 10 ms as it always has.
class CWakingWaiter : public IExchangeWaiter {
public:
    void Wait(std::chrono::milliseconds interval) override { std::this_thread::sleep_for(interval); }
    bool WaitForReply(std::chrono::milliseconds interval) override {
        std::unique_lock lock(m_lock);
        const bool woken = m_changed.wait_for(lock, interval, [this] { return m_woken; });
        m_woken = false;
        return woken;
    }
    void Wake() override {
        ++m_wakes;
        std::lock_guard lock(m_lock);
        m_woken = true;
        m_changed.notify_one();
    }

    std::atomic<int> m_wakes{0};

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_woken = false;
};

class CPollingWaiter : public IExchangeWaiter {
public:
    void Wait(std::chrono::milliseconds interval) override { std::this_thread::sleep_for(interval); }
};

// Woken at once or polled, an exchange ends with the same count and the same
// bytes for every shape of answer.
TEST_F(ExchangeOnPty, AWokenExchangeTakesWhatThePolledOneTakes) {
    struct Case {
        const char* name;
        sim::Fault fault;
        ExchangeVariant variant;
    };
    const Case cases[] = {
        {"a whole reply", sim::Fault::None(), ExchangeVariant::Standard},
        {"a reply after 200 ms", sim::Fault::Delayed(200ms), ExchangeVariant::Standard},
        {"a reply too late", sim::Fault::Delayed(700ms), ExchangeVariant::Standard},
        {"two bytes", sim::Fault::Short(), ExchangeVariant::Standard},
        {"a reply in two pieces 10 ms apart", sim::Fault::Split(10ms), ExchangeVariant::Standard},
        {"stray bytes, the reply 100 ms later", sim::Fault::Glitch(100ms), ExchangeVariant::Standard},
        {"a bad CRC", sim::Fault::BadCrc(), ExchangeVariant::Standard},
        {"a reply after 700 ms, extended variant", sim::Fault::Delayed(700ms), ExchangeVariant::Extended},
    };
    CWakingWaiter waking;
    CPollingWaiter polling;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::vector<std::uint8_t>> taken;
        for (IExchangeWaiter* waiter : {static_cast<IExchangeWaiter*>(&polling), static_cast<IExchangeWaiter*>(&waking)}) {
            m_link.SetWaiter(waiter);
            m_device.InjectFault(c.fault);
            const std::uint16_t count =
                ExchangeFrame(m_link, BuildFcRead(m_link.RequestBuffer(), kFcHumidityUpper), c.variant);
            const auto reply = m_link.Reply(count);
            taken.emplace_back(reply.begin(), reply.end());
            // What is still on its way belongs to no one: let it come and go.
            std::this_thread::sleep_for(c.fault.time + 150ms);
            DrainReplies();
        }
        EXPECT_EQ(taken[1], taken[0]);
    }
    EXPECT_GT(waking.m_wakes.load(), 0);
    m_link.SetWaiter(nullptr);
}

}  // namespace
