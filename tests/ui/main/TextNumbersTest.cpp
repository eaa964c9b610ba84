// The edit fields' lenient conversions, held against the C library's own
// strtod and strtoll in the "C" locale for the decimal forms, plus the forms
// where we deliberately read less than glibc does (inf, nan, hex).

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "protocol/TextNumbers.h"

namespace {

const char* const kDecimalTexts[] = {
    "35.9", "-0.5", "2.35", "abc", "", " ", "40000", "-1", "257", "512", "  12", "\t-7.25x",
    "+3", "-", "+", ".", "-.", ".5", "5.", "-5.", "1e3", "1E-2", "2e", "2e+", "2e+x", "1.5e2.5",
    "1,5", "0012", "-0", "--1", "+-1", "1 2", "  .5e1", "\n\v\f\r 8", "7abc", "1e400", "-1e400",
    "1e-400", "0.000000000000000000000000000001e-300", "123456789012345678901234567890",
    "99999999999999999999", "-99999999999999999999", "9223372036854775807", "-9223372036854775808",
    "9223372036854775808", "\xe4\xb8\xad" "12", "12\xe4\xb8\xad",
};

double CLocaleStrtod(const std::string& text) {
    locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    const double value = strtod_l(text.c_str(), nullptr, c);
    freelocale(c);
    return value;
}

TEST(TextNumbers, DecimalTextsReadAsTheCLibraryReadsThemInTheCLocale) {
    for (const char* text : kDecimalTexts) {
        const double expected = CLocaleStrtod(text);
        const double got = ParseLeadingDouble(text);
        EXPECT_EQ(std::signbit(got), std::signbit(expected)) << '"' << text << '"';
        EXPECT_EQ(got, expected) << '"' << text << '"';
        EXPECT_EQ(ParseLeadingInteger(text), std::strtoll(text, nullptr, 10)) << '"' << text << '"';
    }
}

TEST(TextNumbers, LongTextsAndNonDecimalFormsGiveTheLeadingDecimalNumberOnly) {
    EXPECT_EQ(ParseLeadingDouble(std::string(300, 'x')), 0.0);
    EXPECT_EQ(ParseLeadingInteger(std::string(300, 'x')), 0);
    EXPECT_EQ(ParseLeadingDouble(std::string(300, '9')), CLocaleStrtod(std::string(300, '9')));
    EXPECT_EQ(ParseLeadingDouble(std::string(400, '9')), HUGE_VAL);
    EXPECT_EQ(ParseLeadingInteger(std::string(300, '9')), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(ParseLeadingDouble("0." + std::string(400, '0') + "1"), 0.0);

    // glibc's strtod reads these; the decimal conversion does not.
    for (const char* text : {"inf", "-infinity", "nan", "nan(1)", "0x10", "0x1p3"})
        EXPECT_EQ(ParseLeadingDouble(text), 0.0) << text;
    EXPECT_EQ(ParseLeadingInteger("0x10"), 0);
}

TEST(TextNumbers, AUserLocaleWithADecimalCommaChangesNothing) {
    // Whatever locale is available here, the conversion must not consult it.
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "");
    EXPECT_EQ(ParseLeadingDouble("1.5"), 1.5);
    EXPECT_EQ(ParseLeadingDouble("1,5"), 1.0);
    std::setlocale(LC_NUMERIC, before.c_str());
}

}  // namespace
