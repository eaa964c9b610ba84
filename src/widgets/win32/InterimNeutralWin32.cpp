#include "InterimNeutralWin32.h"

#include <cstdint>
#include <limits>

#include "widgets/MessageBoxCall.h"

namespace {
MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}
}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

const MessageBoxHook& CurrentMessageBoxHook() { return Hook(); }

std::optional<int> ParseDlgItemInt(std::string_view text, bool isSigned) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (isSigned && i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    if (i == text.size()) return std::nullopt;
    const std::uint64_t limit =
        !isSigned ? std::numeric_limits<std::uint32_t>::max()
                  : (negative ? std::uint64_t{1} << 31 : std::numeric_limits<std::int32_t>::max());
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (value > limit) return std::nullopt;
    }
    if (!isSigned) return static_cast<int>(static_cast<std::uint32_t>(value));
    return static_cast<int>(negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value));
}
