#pragma once
// The strict reading of typed numbers, for the command line and device
// profiles: an optional sign, decimal digits, and where the setting allows
// them a full stop and at most as many digits as it keeps. No blanks,
// exponents or other bases; the windows' lenient reading is TextNumbers.h.

#include <cstdint>
#include <string>
#include <string_view>

enum class Shape { Number, Malformed, TooManyDecimals };

struct Decimal {
    Shape shape = Shape::Malformed;
    std::int64_t scaled = 0;  // in units of 10^-decimals
};

// [+-] digits [. digits], with at most `decimals` digits after the stop; the
// value scaled to whole units of the last decimal allowed. Values far beyond
// any setting's range saturate instead of overflowing.
Decimal ParseDecimal(std::string_view text, int decimals);

// The whole number `text` when it lies within [lowest, highest].
bool StrictWholeIn(std::string_view text, std::int64_t lowest, std::int64_t highest, std::int64_t& value);

// "a whole number from 1 to 255"
std::string WholeRange(std::int64_t lowest, std::int64_t highest);
// "the address takes a whole number from 1 to 255, not "0""
std::string Refusal(std::string_view name, std::string_view accepted, std::string_view text);
