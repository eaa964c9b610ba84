// libFuzzer target: the conversions of what the operator types.
//
// ParseLeadingDouble and ParseLeadingInteger promise the C library's strtod
// and strtoll in the "C" locale (this process never leaves it), except that
// "inf", "nan" and hex floats read as 0: they must agree with them bit for bit
// on any text. ParseDlgItemInt reads a control's whole text as an integer
// (blanks, a minus sign when signed, digits to the end, in range) and must
// agree with that rule worked out here with strtoull on the digits.

#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzRequire.h"
#include "protocol/TextNumbers.h"
#include "widgets/DlgItemInt.h"

namespace {


bool IsCBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool StartsWithNoCase(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if ((text[i] | 0x20) != word[i]) return false;
    }
    return true;
}

void CheckDouble(const std::string& text) {
    const double ours = ParseLeadingDouble(text);
    char* end = nullptr;
    const double theirs = std::strtod(text.c_str(), &end);
    std::size_t i = 0;
    while (i < text.size() && IsCBlank(text[i])) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::string_view rest = std::string_view(text).substr(i);
    const bool hex = (StartsWithNoCase(rest, "0x")) && end > text.c_str() + i + 1;
    if (StartsWithNoCase(rest, "inf") || StartsWithNoCase(rest, "nan") || hex) {
        Require(ours == 0.0);
        return;
    }
    Require(std::memcmp(&ours, &theirs, sizeof ours) == 0);
}

void CheckInteger(const std::string& text) {
    errno = 0;
    const long long theirs = std::strtoll(text.c_str(), nullptr, 10);
    Require(ParseLeadingInteger(text) == theirs);
}

// The rule of ParseDlgItemInt, from the text's UTF-8 bytes.
std::optional<int> DlgItemIntRule(std::string_view text, bool isSigned) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (isSigned && i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    std::string digits;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        digits += c;
    }
    if (digits.empty()) return std::nullopt;
    errno = 0;
    const unsigned long long value = std::strtoull(digits.c_str(), nullptr, 10);
    if (errno == ERANGE) return std::nullopt;
    if (!isSigned) {
        if (value > 0xFFFFFFFFULL) return std::nullopt;
        return static_cast<int>(static_cast<std::uint32_t>(value));
    }
    if (negative) {
        if (value > 0x80000000ULL) return std::nullopt;
        return static_cast<int>(-static_cast<long long>(value));
    }
    if (value > 0x7FFFFFFFULL) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The C library reads up to the first NUL; the conversions take the text
    // as given, NULs included, and must stop at one as they stop at any
    // other character that is not part of a number.
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckDouble(text);
    CheckInteger(text);
    if (const std::size_t nul = text.find('\0'); nul != std::string::npos) {
        Require(ParseLeadingInteger(text) == ParseLeadingInteger(text.substr(0, nul)));
    }

    Require(ParseDlgItemInt(text, true) == DlgItemIntRule(text, true));
    Require(ParseDlgItemInt(text, false) == DlgItemIntRule(text, false));
    return 0;
}
