#include "StrictText.h"

namespace {

// Beyond every range taken here, and far from overflowing on the way.
constexpr std::int64_t kSaturated = 1'000'000'000'000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

Decimal ParseDecimal(std::string_view text, int decimals) {
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    std::int64_t value = 0;
    const std::size_t wholeStart = at;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        if (value < kSaturated) value = value * 10 + (text[at] - '0');
    }
    if (at == wholeStart) return {};
    int fractionDigits = 0;
    if (at < text.size() && text[at] == '.') {
        ++at;
        for (; at < text.size() && IsDigit(text[at]); ++at, ++fractionDigits) {
            if (fractionDigits < decimals && value < kSaturated) value = value * 10 + (text[at] - '0');
        }
        if (fractionDigits == 0) return {};
    }
    if (at != text.size()) return {};
    if (fractionDigits > decimals) return {Shape::TooManyDecimals, 0};
    for (int missing = fractionDigits; missing < decimals; ++missing) {
        if (value < kSaturated) value *= 10;
    }
    return {Shape::Number, negative ? -value : value};
}

bool StrictWholeIn(std::string_view text, std::int64_t lowest, std::int64_t highest, std::int64_t& value) {
    const Decimal number = ParseDecimal(text, 0);
    if (number.shape != Shape::Number || number.scaled < lowest || number.scaled > highest) return false;
    value = number.scaled;
    return true;
}

std::string WholeRange(std::int64_t lowest, std::int64_t highest) {
    return "a whole number from " + std::to_string(lowest) + " to " + std::to_string(highest);
}

std::string Refusal(std::string_view name, std::string_view accepted, std::string_view text) {
    return std::string(name) + " takes " + std::string(accepted) + ", not \"" + std::string(text) + "\"";
}
