#pragma once
// A record of the serial link's log messages, and test data.

#include <QtGlobal>

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "support/WaitUntil.h"

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
