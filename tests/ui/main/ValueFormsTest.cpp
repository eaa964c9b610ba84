// Typed numbers to device words.

#include <cmath>

#include <gtest/gtest.h>

#include "app/TextNumbers.h"
#include "protocol/ValueForms.h"

namespace {

// What each typed text goes out as, through the same conversion the window
// uses; the texts a device shows back are the end-to-end tests' business.
TEST(ValueForms, TypedTextsToWords) {
    struct Case {
        const char* text;
        std::uint16_t limit, adjust, hysteresis, outputDelay;
    } cases[] = {
        {"-10", 0x800A, 0x8064, 0x0000, 0xFFF6},
        {"35.9", 0x0023, 0x0167, 0x0167, 0x0023},
        {"-0.5", 0x8000, 0x8005, 0x0000, 0x0000},
        {"2.35", 0x0002, 0x0017, 0x0017, 0x0002},
        {"-1.5", 0x8001, 0x800F, 0x0000, 0xFFFF},
        {"1.5", 0x0001, 0x000F, 0x000F, 0x0001},
        {"-0", 0, 0, 0, 0},
        {"40000", 0x9C40, 0x1A80, 0x1A80, 0x9C40},
        {"-1", 0x8001, 0x800A, 0x0000, 0xFFFF},
        {"65537", 0x0001, 0x000A, 0x000A, 0x0001},
        {"1e3", 0x03E8, 0x2710, 0x2710, 0x0001},
        // beyond int: the nearest end of int's range, then its low 16 bits
        {"1e10", 0xFFFF, 0xFFFF, 0xFFFF, 0x0001},
        {"-1e10", 0x8000, 0x8000, 0x0000, 0xFFFF},
        {"10000000000", 0xFFFF, 0xFFFF, 0xFFFF, 0xE400},
        {"-10000000000", 0x8000, 0x8000, 0x0000, 0x1C00},
        {"1e999", 0xFFFF, 0xFFFF, 0xFFFF, 0x0001},
    };
    for (const Case& c : cases) {
        const double x = ParseLeadingDouble(c.text);
        EXPECT_EQ(LimitWord(x), c.limit) << c.text;
        EXPECT_EQ(AdjustWord(x), c.adjust) << c.text;
        EXPECT_EQ(HysteresisWord(x), c.hysteresis) << c.text;
        EXPECT_EQ(LowWord(ParseLeadingInteger(c.text)), c.outputDelay) << c.text;
    }
    EXPECT_EQ(LimitWord(std::nan("")), 0);
}

}  // namespace
