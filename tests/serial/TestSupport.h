#pragma once
// Waiting with a deadline, and a record of the serial link's log messages.

#include <QtGlobal>

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Polls `condition` until it holds or `timeout` runs out; generous by default so
// that a loaded machine only makes the test slower, never wrong.
template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return condition();
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

// Catches the messages of the "sentrabus.serial" category while it lives (from
// any thread) and keeps them off stderr. Other categories pass through.
class CSerialLogCapture {
public:
    CSerialLogCapture();
    ~CSerialLogCapture();
    CSerialLogCapture(const CSerialLogCapture&) = delete;
    CSerialLogCapture& operator=(const CSerialLogCapture&) = delete;

    std::vector<std::string> Warnings() const;
    // Warnings that contain `text`.
    std::size_t CountWarnings(const std::string& text) const;

private:
    static void Handler(QtMsgType type, const QMessageLogContext& context, const QString& message);

    mutable std::mutex m_lock;
    std::vector<std::string> m_warnings;
    QtMessageHandler m_previous = nullptr;
};

std::vector<std::uint8_t> Pattern(std::size_t count, std::uint8_t seed = 0);
