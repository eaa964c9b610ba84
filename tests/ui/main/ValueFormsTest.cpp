// Device words to field texts and typed numbers to device words.

#include <cmath>

#include <gtest/gtest.h>

#include "app/TextNumbers.h"
#include "ui/main/ValueForms.h"

namespace {

TEST(ValueForms, MeasurementWordsToText) {
    struct Case {
        QString (*format)(std::uint16_t);
        std::uint16_t word;
        const char* text;
    } cases[] = {
        {SignedTenthsText, 0xFF38, "-20.0"},   {SignedTenthsText, 0x00FA, "25.0"},
        {SignedTenthsText, 0xFFFB, "-0.5"},    {SignedTenthsText, 0x0000, "0.0"},
        {SignedTenthsText, 0x8000, "-3276.8"}, {SignedTenthsText, 0x7FFF, "3276.7"},
        {SignedTenthsText, 0xFFFF, "-0.1"},    {UnsignedTenthsText, 0x0258, "60.0"},
        {UnsignedTenthsText, 0xFFFF, "6553.5"}, {UnsignedTenthsText, 0x0007, "0.7"},
        {UnsignedIntegerText, 0xFFFF, "65535"}, {UnsignedIntegerText, 0, "0"},
        {WaterLeakText, 0, " "},               {WaterLeakText, 1, "Normal"},
        {WaterLeakText, 2, "Warning"},         {WaterLeakText, 0xFFFF, " "},
        {PowerFailureText, 0, "Normal"},       {PowerFailureText, 1, "Warning"},
        {PowerFailureText, 2, "  "},           {PowerFailureText, 0x8000, "  "},
    };
    for (const Case& c : cases) EXPECT_EQ(c.format(c.word), QString(c.text)) << c.text;
}

TEST(ValueForms, ParameterWordsToText) {
    EXPECT_EQ(SignMagnitudeWholeText(0x800A), "-10");
    EXPECT_EQ(SignMagnitudeWholeText(0x0023), "35");
    EXPECT_EQ(SignMagnitudeWholeText(0x8000), "-0");
    EXPECT_EQ(SignMagnitudeWholeText(0x9C40), "-7232");
    EXPECT_EQ(SignMagnitudeWholeText(0x7FFF), "32767");
    EXPECT_EQ(SignMagnitudeTenthsText(0x800F), "-1.5");
    EXPECT_EQ(SignMagnitudeTenthsText(0x8005), "-0.5");
    EXPECT_EQ(SignMagnitudeTenthsText(0x0017), "2.3");
    EXPECT_EQ(SignMagnitudeTenthsText(0xFFFF), "-3276.7");
}

// What each typed text goes out as, through the same conversion the window uses.
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
        {"-2", 0x8002, 0x8014, 0x0000, 0xFFFE},
        {"abc", 0, 0, 0, 0},
        {"", 0, 0, 0, 0},
        {"-0", 0, 0, 0, 0},
        {"40000", 0x9C40, 0x1A80, 0x1A80, 0x9C40},
        {"-1", 0x8001, 0x800A, 0x0000, 0xFFFF},
        {"300", 0x012C, 0x0BB8, 0x0BB8, 0x012C},
        {"65537", 0x0001, 0x000A, 0x000A, 0x0001},
        {" 7 ", 0x0007, 0x0046, 0x0046, 0x0007},
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
        EXPECT_EQ(OutputDelayWord(ParseLeadingInteger(c.text)), c.outputDelay) << c.text;
    }
    EXPECT_EQ(LimitWord(std::nan("")), 0);
}

}  // namespace
