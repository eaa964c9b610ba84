#include "TestSupport.h"

void CSerialLogCapture::OnPortEvent(const CPortEvent& event) {
    std::lock_guard lock(m_lock);
    m_events.push_back({event.m_kind, event.m_reason, PortEventText(event)});
}

std::vector<CSerialLogCapture::Entry> CSerialLogCapture::Events() const {
    std::lock_guard lock(m_lock);
    return m_events;
}

std::vector<std::string> CSerialLogCapture::Warnings() const {
    std::vector<std::string> warnings;
    for (const Entry& entry : Events()) {
        const bool failure = entry.kind != PortEventKind::Opened && entry.kind != PortEventKind::Closed &&
                             entry.kind != PortEventKind::IoPending;
        if (failure) {
            warnings.push_back(entry.text);
        }
    }
    return warnings;
}

std::size_t CSerialLogCapture::CountWarnings(const std::string& text) const {
    std::size_t count = 0;
    for (const auto& warning : Warnings()) {
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
