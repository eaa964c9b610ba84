#pragma once
// Bytes as lower-case hex text and back: how the Windows tests and the line
// server pass bytes over their text protocol.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

inline std::string ToHex(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

// False on an odd length or a character that is not a hex digit.
inline bool FromHex(const std::string& text, std::vector<std::uint8_t>& bytes) {
    if (text.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const std::string pair = text.substr(i, 2);
        char* end = nullptr;
        const unsigned long value = std::strtoul(pair.c_str(), &end, 16);
        if (end != pair.c_str() + 2) return false;
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
    return true;
}
