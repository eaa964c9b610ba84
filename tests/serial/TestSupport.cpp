#include "TestSupport.h"

#include <QString>

#include <atomic>
#include <cstring>

namespace {
std::atomic<CSerialLogCapture*> g_capture{nullptr};
}

CSerialLogCapture::CSerialLogCapture() {
    g_capture.store(this);
    m_previous = qInstallMessageHandler(&CSerialLogCapture::Handler);
}

CSerialLogCapture::~CSerialLogCapture() {
    qInstallMessageHandler(m_previous);
    g_capture.store(nullptr);
}

void CSerialLogCapture::Handler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    CSerialLogCapture* capture = g_capture.load();
    const bool ours = context.category != nullptr && std::strcmp(context.category, "sentrabus.serial") == 0;
    if (capture == nullptr || !ours) {
        if (capture != nullptr && capture->m_previous != nullptr) {
            capture->m_previous(type, context, message);
        }
        return;
    }
    if (type == QtWarningMsg) {
        std::lock_guard lock(capture->m_lock);
        capture->m_warnings.push_back(message.toStdString());
    }
}

std::vector<std::string> CSerialLogCapture::Warnings() const {
    std::lock_guard lock(m_lock);
    return m_warnings;
}

std::size_t CSerialLogCapture::CountWarnings(const std::string& text) const {
    std::lock_guard lock(m_lock);
    std::size_t count = 0;
    for (const auto& warning : m_warnings) {
        count += warning.find(text) != std::string::npos ? 1 : 0;
    }
    return count;
}

std::vector<std::uint8_t> Pattern(std::size_t count, std::uint8_t seed) {
    // Not periodic in 256, so that a slipped or repeated index shows.
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 31 + (i >> 8) + seed);
    }
    return bytes;
}
