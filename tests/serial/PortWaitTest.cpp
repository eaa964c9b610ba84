// The wait of the receive thread on a real port: what ends it, and that a
// device that hung up is never waited on again until the next open.

#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <thread>

#include "PortOnPty.h"
#include "PseudoTerminal.h"
#include "TestSupport.h"
#include "serial/SerialPort.h"

using namespace std::chrono_literals;

namespace {

constexpr std::uint8_t kPort = 11;
constexpr std::uint8_t kRequest[] = {0xFD};

// The Win32 port is not waited on but looked at every millisecond: a wait there
// ends after one poll interval and sees neither input nor a hang-up, which the
// receive thread's next read finds instead.
#ifdef _WIN32
constexpr bool kPolledPort = true;
#else
constexpr bool kPolledPort = false;
#endif
constexpr const char* kNotWaitedOn = "the Win32 port is polled, not waited on";

class PortWaitOnPty : public PortOnPty {
protected:
    PortWaitOnPty() : PortOnPty(kPort) {}

    void SetUp() override {
        PortOnPty::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(m_port.Open());
    }

    // Waits on another thread while `during` runs on this one. A wait that
    // never ends is ended by a wake-up after a generous deadline, and reported.
    std::optional<PortWait> WaitWhile(const std::function<void()>& during, CPortWakeup::Deadline deadline) {
        std::promise<PortWait> result;
        std::thread waiter([&] { result.set_value(m_port.WaitForInput(deadline)); });
        std::this_thread::sleep_for(20ms);  // most likely blocked by now; a wake-up before it is kept anyway
        during();
        auto future = result.get_future();
        const bool ended = future.wait_for(10s) == std::future_status::ready;
        if (!ended) {
            m_port.Wake();
        }
        waiter.join();
        if (!ended) {
            return std::nullopt;
        }
        return future.get();
    }
};

}  // namespace

TEST_F(PortWaitOnPty, EndsForInputWakeUpsCloseAndReopen) {
    if (kPolledPort) {
        GTEST_SKIP() << kNotWaitedOn;
    }
    const auto nothing = [] {};
    struct Case {
        const char* name;
        std::function<void()> before;  // on this thread, before the wait starts
        std::function<void()> during;  // while it waits
        bool deadline;                 // 100 ms from the start, or none
        PortWait expected;
    };
    const Case cases[] = {
        {"bytes wait at the port", [&] { ASSERT_TRUE(m_pty.Send({0x01}));
                                         ASSERT_TRUE(WaitUntil([&] { return m_pty.WaitingAtPort() == 1; })); },
         nothing, false, PortWait::Input},
        {"bytes come while it waits", nothing, [&] { ASSERT_TRUE(m_pty.Send({0x02})); }, false, PortWait::Input},
        {"a quiet line until the deadline", nothing, nothing, true, PortWait::TimedOut},
        {"a wake-up sent before the wait is kept", [&] { m_port.Wake(); }, nothing, false, PortWait::Woken},
        {"the port is closed meanwhile", nothing, [&] { m_port.Close(); }, false, PortWait::Woken},
        {"the port is reopened meanwhile", nothing, [&] { m_port.Close(); ASSERT_TRUE(m_port.Open()); }, false,
         PortWait::Woken},
        {"a request is written meanwhile", nothing, [&] { ASSERT_TRUE(m_port.Write(kRequest, 1)); }, false,
         PortWait::Woken},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_port.Close();
        ASSERT_TRUE(m_port.Open());  // purges the bytes of the case before
        m_port.WaitForWake(std::chrono::steady_clock::now());  // takes the wake-up of that open
        c.before();
        const auto deadline = c.deadline ? CPortWakeup::Deadline(std::chrono::steady_clock::now() + 100ms)
                                         : std::nullopt;
        const auto result = WaitWhile(c.during, deadline);
        ASSERT_TRUE(result.has_value()) << "the wait did not end";
        EXPECT_EQ(*result, c.expected);
    }
}

// A pulled adapter leaves a descriptor that poll(2) reports ready for ever: the
// port says so once, then waits on it no more until it is opened again.
TEST_F(PortWaitOnPty, AHungUpDeviceIsWaitedOnNoMoreUntilTheNextOpen) {
    if (kPolledPort) {
        GTEST_SKIP() << kNotWaitedOn;
    }
    m_port.WaitForWake(std::chrono::steady_clock::now());  // the open's wake-up
    m_pty.HangUp();
    const auto generous = [] { return std::chrono::steady_clock::now() + 10s; };
    EXPECT_EQ(m_port.WaitForInput(generous()), PortWait::HungUp);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(m_port.WaitForInput(std::chrono::steady_clock::now() + 20ms), PortWait::TimedOut);
    }
    std::uint8_t buffer[8];
    EXPECT_EQ(m_port.Read(buffer, sizeof(buffer)), 0u);
    ASSERT_EQ(m_log.Warnings().size(), 1u);
    EXPECT_EQ(m_log.Events().back().kind, PortEventKind::Vanished);

    CPseudoTerminal returned;
    CComPortOverride override(kPort, returned.SlavePath());
    m_port.Close();
    ASSERT_TRUE(m_port.Open());
    m_port.WaitForWake(std::chrono::steady_clock::now());
    ASSERT_TRUE(returned.Send({0x03}));
    EXPECT_EQ(m_port.WaitForInput(generous()), PortWait::Input);
    m_port.Close();
}

// A polled port's wait must end on its own even without a deadline: the
// receive thread reads only between waits. A pending wake-up still ends it first.
TEST_F(PortWaitOnPty, APolledWaitEndsAfterOnePollAndKeepsAWakeUp) {
    if (!kPolledPort) {
        GTEST_SKIP() << "this port is waited on, not polled";
    }
    const auto nothing = [] {};
    struct Case {
        const char* name;
        std::function<void()> before;
        PortWait expected;
    };
    const Case cases[] = {
        {"a quiet line", nothing, PortWait::TimedOut},
        {"bytes wait at the port", [&] { ASSERT_TRUE(m_pty.Send({0x01}));
                                         ASSERT_TRUE(WaitUntil([&] { return m_pty.WaitingAtPort() == 1; })); },
         PortWait::TimedOut},
        {"a wake-up sent before the wait", [&] { m_port.Wake(); }, PortWait::Woken},
        // A quiet port is looked at seldom: its reply must not wait for that.
        {"a request written before the wait", [&] { ASSERT_TRUE(m_port.Write(kRequest, 1)); }, PortWait::Woken},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_port.Close();
        ASSERT_TRUE(m_port.Open());
        m_port.WaitForWake(std::chrono::steady_clock::now());  // takes the wake-up of that open
        c.before();
        const auto result = WaitWhile(nothing, std::nullopt);
        ASSERT_TRUE(result.has_value()) << "the wait did not end";
        EXPECT_EQ(*result, c.expected);
    }
}
