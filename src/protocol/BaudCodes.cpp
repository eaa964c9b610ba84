#include "BaudCodes.h"

#include <array>
#include <cstddef>

namespace {

constexpr std::array<std::uint32_t, 3> kFdRates{2400, 4800, 9600};                  // codes 1..3
constexpr std::array<std::uint32_t, 6> kRegisterRates{1200, 2400, 4800, 9600, 19200, 38400};  // codes 0..5
constexpr std::uint8_t kFirstFdCode = 1;

}  // namespace

std::uint32_t FdBaudRate(std::uint8_t code) {
    if (code < kFirstFdCode || code - kFirstFdCode >= static_cast<int>(kFdRates.size())) return 0;
    return kFdRates[code - kFirstFdCode];
}

std::uint32_t RegisterBaudRate(std::uint8_t code) {
    return code < kRegisterRates.size() ? kRegisterRates[code] : 0;
}

std::optional<std::uint8_t> FdBaudCode(std::uint32_t rate) {
    for (std::size_t i = 0; i < kFdRates.size(); ++i) {
        if (kFdRates[i] == rate) return static_cast<std::uint8_t>(i + kFirstFdCode);
    }
    return std::nullopt;
}

std::optional<std::uint8_t> RegisterBaudCode(std::uint32_t rate) {
    for (std::size_t i = 0; i < kRegisterRates.size(); ++i) {
        if (kRegisterRates[i] == rate) return static_cast<std::uint8_t>(i);
    }
    return std::nullopt;
}
