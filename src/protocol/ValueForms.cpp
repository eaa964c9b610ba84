#include "ValueForms.h"

#include <cmath>
#include <limits>

namespace {

constexpr std::uint16_t kNegativeBit = 0x8000;
constexpr std::uint16_t kMagnitudeBits = 0x7FFF;

std::string TenthsText(unsigned magnitude, bool negative) {
    return (negative ? "-" : "") + std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10);
}

// The C conversion of a double to int, made total: NaN counts as 0 and values
// beyond int's range as its nearest end.
std::int64_t TruncateToInt(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
    if (value <= kLowest) return std::numeric_limits<std::int32_t>::min();
    if (value >= kHighest) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int64_t>(value);  // truncates toward zero
}

// The sign comes from the value before truncation: -0.5 goes out as 0x8000.
std::uint16_t SignMagnitudeWord(double value) {
    const std::int64_t whole = TruncateToInt(value);
    if (value < 0) return static_cast<std::uint16_t>(LowWord(-whole) | kNegativeBit);
    return LowWord(whole);
}

int SignedWord(std::uint16_t word) { return word & kNegativeBit ? static_cast<int>(word) - 65536 : word; }

int SignMagnitude(std::uint16_t word) {
    const int magnitude = word & kMagnitudeBits;
    return word & kNegativeBit ? -magnitude : magnitude;
}

}  // namespace

std::string SignedTenthsText(std::uint16_t word) {
    if (word & kNegativeBit) return TenthsText(65536u - word, true);
    return TenthsText(word, false);
}

std::string UnsignedTenthsText(std::uint16_t word) { return TenthsText(word, false); }

std::string UnsignedIntegerText(std::uint16_t word) { return std::to_string(word); }

std::string WaterLeakText(std::uint16_t code) {
    switch (code) {
        case 1: return "Normal";
        case 2: return "Warning";
        default: return " ";
    }
}

std::string PowerFailureText(std::uint16_t code) {
    switch (code) {
        case 0: return "Normal";
        case 1: return "Warning";
        default: return "  ";
    }
}

std::string SignMagnitudeWholeText(std::uint16_t word) {
    return (word & kNegativeBit ? "-" : "") + std::to_string(word & kMagnitudeBits);
}

std::string SignMagnitudeTenthsText(std::uint16_t word) {
    return TenthsText(word & kMagnitudeBits, (word & kNegativeBit) != 0);
}

double SignedTenthsNumber(std::uint16_t word) { return SignedWord(word) / 10.0; }

double SignMagnitudeWholeNumber(std::uint16_t word) { return SignMagnitude(word); }

double SignMagnitudeTenthsNumber(std::uint16_t word) { return SignMagnitude(word) / 10.0; }

std::uint16_t LimitWord(double typed) { return SignMagnitudeWord(typed); }

std::uint16_t AdjustWord(double typed) { return SignMagnitudeWord(typed * 10); }

std::uint16_t HysteresisWord(double typed) {
    const double tenths = typed * 10;
    if (tenths < 0) return 0;
    return LowWord(TruncateToInt(tenths));
}

std::uint16_t LowWord(std::int64_t typed) {
    return static_cast<std::uint16_t>(static_cast<std::uint64_t>(typed) & 0xFFFF);
}
