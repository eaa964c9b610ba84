#include "DlgItemInt.h"

#include <cstdint>
#include <limits>

std::optional<int> ParseDlgItemInt(std::string_view text, bool isSigned) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;

    bool negative = false;
    if (isSigned && i < n && text[i] == '-') {
        negative = true;
        ++i;
    }
    if (i == n) return std::nullopt;

    const std::uint64_t limit =
        !isSigned ? std::numeric_limits<std::uint32_t>::max()
                  : (negative ? std::uint64_t{1} << 31 : std::numeric_limits<std::int32_t>::max());
    std::uint64_t value = 0;
    for (; i < n; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > limit) return std::nullopt;
    }
    if (!isSigned) return static_cast<int>(static_cast<std::uint32_t>(value));
    return static_cast<int>(negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value));
}
