#include "ValueForms.h"

#include <cmath>
#include <limits>

namespace {

constexpr std::uint16_t kNegativeBit = 0x8000;
constexpr std::uint16_t kMagnitudeBits = 0x7FFF;

QString TenthsText(unsigned magnitude, bool negative) {
    return QString::asprintf(negative ? "-%u.%u" : "%u.%u", magnitude / 10, magnitude % 10);
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

std::uint16_t LowWord(std::int64_t value) {
    return static_cast<std::uint16_t>(static_cast<std::uint64_t>(value) & 0xFFFF);
}

// The sign comes from the value before truncation: -0.5 goes out as 0x8000.
std::uint16_t SignMagnitudeWord(double value) {
    const std::int64_t whole = TruncateToInt(value);
    if (value < 0) return static_cast<std::uint16_t>(LowWord(-whole) | kNegativeBit);
    return LowWord(whole);
}

}  // namespace

QString SignedTenthsText(std::uint16_t word) {
    if (word & kNegativeBit) return TenthsText(65536u - word, true);
    return TenthsText(word, false);
}

QString UnsignedTenthsText(std::uint16_t word) { return TenthsText(word, false); }

QString UnsignedIntegerText(std::uint16_t word) { return QString::number(word); }

QString WaterLeakText(std::uint16_t code) {
    switch (code) {
        case 1: return QStringLiteral("Normal");
        case 2: return QStringLiteral("Warning");
        default: return QStringLiteral(" ");
    }
}

QString PowerFailureText(std::uint16_t code) {
    switch (code) {
        case 0: return QStringLiteral("Normal");
        case 1: return QStringLiteral("Warning");
        default: return QStringLiteral("  ");
    }
}

QString SignMagnitudeWholeText(std::uint16_t word) {
    if (word & kNegativeBit) return QStringLiteral("-%1").arg(word & kMagnitudeBits);
    return QString::number(word);
}

QString SignMagnitudeTenthsText(std::uint16_t word) {
    if (word & kNegativeBit) return TenthsText(word & kMagnitudeBits, true);
    return TenthsText(word, false);
}

std::uint16_t LimitWord(double typed) { return SignMagnitudeWord(typed); }

std::uint16_t AdjustWord(double typed) { return SignMagnitudeWord(typed * 10); }

std::uint16_t HysteresisWord(double typed) {
    const double tenths = typed * 10;
    if (tenths < 0) return 0;
    return LowWord(TruncateToInt(tenths));
}

std::uint16_t OutputDelayWord(std::int64_t typed) { return LowWord(typed); }
