// The wake-up as an eventfd, waited on with the port's descriptor in one ppoll.

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <thread>

#include "PortWakeup.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPollInterval = std::chrono::milliseconds(1);

timespec Timeout(Clock::duration left) {
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(std::max(left, Clock::duration::zero()));
    return {static_cast<time_t>(ns.count() / 1'000'000'000), static_cast<long>(ns.count() % 1'000'000'000)};
}

}  // namespace

CPortWakeup::CPortWakeup() : m_eventFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

CPortWakeup::~CPortWakeup() {
    if (m_eventFd >= 0) {
        ::close(m_eventFd);
    }
}

void CPortWakeup::Signal() {
    if (m_eventFd >= 0) {
        const std::uint64_t one = 1;
        // Fails only when the counter is full, and then a wake-up is pending anyway.
        [[maybe_unused]] const ssize_t written = ::write(m_eventFd, &one, sizeof(one));
    }
}

PortWait CPortWakeup::Wait(int input, Deadline deadline) {
    // Without an eventfd nothing could wake a long wait: look every millisecond.
    const bool polled = input == kPolledInput || m_eventFd < 0;
    if (polled) {
        const auto limit = Clock::now() + kPollInterval;
        deadline = deadline ? std::min(*deadline, limit) : limit;
    }
    pollfd watch[2] = {{m_eventFd, POLLIN, 0}, {input >= 0 ? input : -1, POLLIN, 0}};
    const nfds_t count = input >= 0 ? 2 : 1;
    for (;;) {
        const timespec timeout = deadline ? Timeout(*deadline - Clock::now()) : timespec{};
        const int ready = ::ppoll(watch, count, deadline ? &timeout : nullptr, nullptr);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0) {
            // Cannot happen with valid descriptors; never turn it into a spin.
            std::this_thread::sleep_for(kPollInterval);
            return PortWait::TimedOut;
        }
        break;
    }
    if ((watch[0].revents & POLLIN) != 0) {
        std::uint64_t pending = 0;
        [[maybe_unused]] const ssize_t got = ::read(m_eventFd, &pending, sizeof(pending));
        return PortWait::Woken;
    }
    if (count == 2 && (watch[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
        return PortWait::HungUp;
    }
    if (count == 2 && (watch[1].revents & POLLIN) != 0) {
        return PortWait::Input;
    }
    return PortWait::TimedOut;
}
