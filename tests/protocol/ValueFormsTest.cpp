// The value forms' codecs: typed texts to device words, and every word of
// every written form back through its texts.

#include <gtest/gtest.h>

#include "protocol/Catalogue.h"

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
        {"nan", 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LenientWord(Parameter::TemperatureUpper, c.text), c.limit) << c.text;
        EXPECT_EQ(LenientWord(Parameter::TemperatureAdjust, c.text), c.adjust) << c.text;
        EXPECT_EQ(LenientWord(Parameter::HumidityHysteresis, c.text), c.hysteresis) << c.text;
        EXPECT_EQ(LenientWord(Parameter::OutputDelay, c.text), c.outputDelay) << c.text;
    }
}

// Every word a parameter can hold, through each of its texts and back: the
// window's text read as typed, and the command line's value (the number a
// person writes) read strictly, give the word again wherever the form holds
// the value that text says. The exceptions are the words no typed value puts
// on the wire: a negative zero, and a hysteresis with bit 15 set.
TEST(ValueForms, EveryWordSurvivesItsTexts) {
    for (const ParameterInfo& info : AllParameters()) {
        const FormCodec& codec = CodecOf(info.form);
        for (unsigned w = 0; w <= 0xFFFF; ++w) {
            const auto word = static_cast<std::uint16_t>(w);
            const bool negative = (word & 0x8000) != 0;
            const bool signMagnitude = info.form == ValueForm::Limit || info.form == ValueForm::Adjust ||
                                       info.form == ValueForm::Hysteresis;
            const bool typeable = !signMagnitude || !negative ||
                                  ((word & 0x7FFF) != 0 && info.form != ValueForm::Hysteresis);
            const std::string text = codec.text(word);
            if (typeable) {
                ASSERT_EQ(codec.lenientWord(text), word) << info.name << " " << text;
            }
            // The remote signal's value on the command line is its number.
            const std::string value = info.form == ValueForm::RemoteSignal ? std::to_string(word) : text;
            const std::optional<std::uint16_t> strict = codec.strictWord(value);
            if (typeable && (info.form != ValueForm::RemoteSignal || word <= 1)) {
                ASSERT_EQ(strict, word) << info.name << " " << value;
            } else {
                ASSERT_NE(strict, word) << info.name << " " << value;
            }
        }
    }
}

}  // namespace
