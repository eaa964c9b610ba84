#include "DlgItemInt.h"

#include <cstdint>
#include <limits>

std::optional<int> ParseDlgItemInt(const QString& text, bool isSigned) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;

    bool negative = false;
    if (isSigned && i < n && text[i] == u'-') {
        negative = true;
        ++i;
    }
    if (i == n) return std::nullopt;

    const std::uint64_t limit =
        !isSigned ? std::numeric_limits<std::uint32_t>::max()
                  : (negative ? std::uint64_t{1} << 31 : std::numeric_limits<std::int32_t>::max());
    std::uint64_t value = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > limit) return std::nullopt;
    }
    if (!isSigned) return static_cast<int>(static_cast<std::uint32_t>(value));
    return static_cast<int>(negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value));
}
