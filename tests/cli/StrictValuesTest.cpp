// The command line's strict values: what each form takes, exactly, and what it
// refuses instead of truncating or wrapping as the windows do.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "device/StrictValues.h"

namespace {

struct ValueCase {
    Parameter parameter;
    const char* text;
    std::optional<std::uint16_t> word;  // nullopt: refused
};

const ValueCase kValueCases[] = {
    {Parameter::TemperatureLower, "-10", 0x800A},     {Parameter::TemperatureLower, "+35", 0x0023},
    {Parameter::TemperatureUpper, "32767", 0x7FFF},   {Parameter::TemperatureUpper, "-32767", 0xFFFF},
    {Parameter::TemperatureUpper, "-0", 0x0000},      {Parameter::TemperatureUpper, "32768", std::nullopt},
    {Parameter::TemperatureUpper, "35.0", std::nullopt}, {Parameter::TemperatureUpper, "35.", std::nullopt},
    {Parameter::TemperatureUpper, " 35", std::nullopt},  {Parameter::TemperatureUpper, "1e3", std::nullopt},
    {Parameter::TemperatureUpper, "", std::nullopt},     {Parameter::TemperatureUpper, "-", std::nullopt},
    {Parameter::TemperatureUpper, "99999999999999999999", std::nullopt},
    {Parameter::TemperatureAdjust, "-1.5", 0x800F},   {Parameter::TemperatureAdjust, "2", 0x0014},
    {Parameter::TemperatureAdjust, ".5", std::nullopt}, {Parameter::TemperatureAdjust, "1.25", std::nullopt},
    {Parameter::HumidityAdjust, "3276.7", 0x7FFF},    {Parameter::HumidityAdjust, "3276.8", std::nullopt},
    {Parameter::HumidityHysteresis, "1.5", 0x000F},   {Parameter::HumidityHysteresis, "-0.1", std::nullopt},
    {Parameter::OutputDelay, "65535", 0xFFFF},        {Parameter::OutputDelay, "-1", std::nullopt},
    {Parameter::LightUpper, "65536", std::nullopt},   {Parameter::RemoteSignal, "closed", 1},
    {Parameter::RemoteSignal, "0", 0},                {Parameter::RemoteSignal, "2", std::nullopt},
};

TEST(StrictValues, TakeExactlyWhatTheFormHolds) {
    for (const ValueCase& c : kValueCases) {
        const Checked<std::uint16_t> checked = StrictParameterWord(c.parameter, c.text);
        EXPECT_EQ(checked.value, c.word) << InfoOf(c.parameter).name << "=" << c.text;
        // A refusal names the parameter, what it takes and what it was given.
        if (!c.word) {
            EXPECT_NE(checked.refusal.find(InfoOf(c.parameter).name), std::string::npos) << checked.refusal;
            EXPECT_NE(checked.refusal.find(AcceptedValues(c.parameter)), std::string::npos) << checked.refusal;
        }
    }
}

TEST(StrictValues, LineAndReceiverValuesKeepToTheirRanges) {
    EXPECT_EQ(StrictAddress("1").value, 1);
    EXPECT_EQ(StrictAddress("255").value, 255);
    EXPECT_FALSE(StrictAddress("0").Ok());
    EXPECT_FALSE(StrictAddress("257").Ok());  // the window would send 1
    EXPECT_EQ(StrictBaudRate("9600").value, 9600U);
    EXPECT_FALSE(StrictBaudRate("19200").Ok());
    EXPECT_FALSE(StrictLcdMode("0").Ok());
    EXPECT_EQ(StrictChannel("63").value, 63);
    EXPECT_FALSE(StrictChannel("64").Ok());
    EXPECT_FALSE(StrictSleepTime("65536").Ok());  // the window would send 0
    EXPECT_EQ(StrictUnitAddresses("20,12,247").value, (std::vector<std::uint8_t>{20, 12, 247}));
    for (const char* refused : {"", "12,", ",12", "12,,13", "0", "248", "12 13", "12,12"}) {
        EXPECT_FALSE(StrictUnitAddresses(refused).Ok()) << refused;
    }
    EXPECT_EQ(StrictReceiverIndex("200").value, 199);
    EXPECT_FALSE(StrictReceiverIndex("0").Ok());
}

}  // namespace
