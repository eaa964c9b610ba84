#include "TextNumbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

// isspace in the "C" locale.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct SignedStart {
    std::size_t position;  // first character after the blanks and the sign
    bool negative;
};

SignedStart SkipBlanksAndSign(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    return {i, negative};
}

std::size_t SkipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i;
}

// from_chars reports a result outside double's range without saying on which
// side; the decimal order of the first significant digit tells.
bool IsOverflow(std::string_view mantissa, std::string_view exponentDigits, bool exponentNegative) {
    std::int64_t exponent = 0;
    for (char c : exponentDigits) {
        exponent = std::min<std::int64_t>(exponent * 10 + (c - '0'), 1'000'000'000);
    }
    if (exponentNegative) exponent = -exponent;

    const std::size_t point = mantissa.find('.');
    const std::size_t integerDigits = point == std::string_view::npos ? mantissa.size() : point;
    for (std::size_t i = 0; i < mantissa.size(); ++i) {
        if (mantissa[i] == '.' || mantissa[i] == '0') continue;
        const std::int64_t order = i < integerDigits
                                       ? static_cast<std::int64_t>(integerDigits - i) - 1
                                       : -static_cast<std::int64_t>(i - integerDigits);
        return order + exponent >= 0;
    }
    return false;
}

}  // namespace

double ParseLeadingDouble(std::string_view text) {
    const auto [start, negative] = SkipBlanksAndSign(text);

    std::size_t i = SkipDigits(text, start);
    bool anyDigit = i > start;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, i + 1);
        if (anyDigit || fractionEnd > i + 1) {
            anyDigit = true;
            i = fractionEnd;
        }
    }
    if (!anyDigit) return 0.0;
    const std::string_view mantissa = text.substr(start, i - start);

    // An exponent counts only with at least one digit; "2e" and "2e+" read as 2.
    std::string_view exponentDigits;
    bool exponentNegative = false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            exponentNegative = text[j] == '-';
            ++j;
        }
        const std::size_t digitsEnd = SkipDigits(text, j);
        if (digitsEnd > j) {
            exponentDigits = text.substr(j, digitsEnd - j);
            i = digitsEnd;
        }
    }

    const std::string_view number = text.substr(start, i - start);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        value = IsOverflow(mantissa, exponentDigits, exponentNegative) ? HUGE_VAL : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

std::int64_t ParseLeadingInteger(std::string_view text) {
    const auto [start, negative] = SkipBlanksAndSign(text);
    const std::size_t end = SkipDigits(text, start);

    // Accumulate the magnitude, stopping at the largest one the result can hold.
    const std::uint64_t limit = negative
                                    ? static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1
                                    : static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    std::uint64_t magnitude = 0;
    for (std::size_t i = start; i < end; ++i) {
        const auto digit = static_cast<std::uint64_t>(text[i] - '0');
        if (magnitude > (limit - digit) / 10) {
            magnitude = limit;
            break;
        }
        magnitude = magnitude * 10 + digit;
    }
    if (!negative) return static_cast<std::int64_t>(magnitude);
    if (magnitude == limit) return std::numeric_limits<std::int64_t>::min();
    return -static_cast<std::int64_t>(magnitude);
}
