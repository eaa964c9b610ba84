// The measurement reads through the real window against a simulated
// transmitter: request frames, display formats and silent failures.

#include "protocol/FrameCodes.h"
#include "protocol/RequestFrames.h"
#include "support/MainWindowFixture.h"
#include "support/BuiltFrame.h"
#include "res/IdsConfig.h"

namespace {

using sim::DeviceKind;

struct Row {
    const char* name;
    int button, field;
    std::uint8_t firstRegister, count;
    const char* whileReading;
};

constexpr Row kTemperature{"temperature", kIdReadTemperature, kIdTemperatureField, 0x00, 2, " "};
constexpr Row kHumidity{"humidity", kIdReadHumidity, kIdHumidityField, 0x00, 2, " "};
constexpr Row kWaterLeak{"water leak", kIdReadWaterLeak, kIdWaterLeakField, 0x02, 1, " "};
constexpr Row kPowerFailure{"power failure", kIdReadPowerFailure, kIdPowerFailureField, 0x03, 1, " "};
constexpr Row kCurrent{"current", kIdReadCurrent, kIdCurrentField, 0x04, 1, " "};
constexpr Row kVoltage{"voltage", kIdReadVoltage, kIdVoltageField, 0x05, 1, ""};
constexpr Row kLight{"light", kIdReadLight, kIdLightField, 0x06, 1, ""};
constexpr Row kCo2{"CO2", kIdReadCo2, kIdCo2Field, 0x02, 1, ""};
constexpr Row kRows[] = {kTemperature, kHumidity, kWaterLeak, kPowerFailure,
                         kCurrent,     kVoltage,  kLight,     kCo2};

sim::Frame ReadRequest(std::uint8_t address, const Row& row) {
    return Built([&](TxBuffer tx) { return BuildRegisterRead(tx, address, row.firstRegister, row.count); });
}

class Readings : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        OpenOnFoundDevice({.kind = DeviceKind::Th, .address = 7, .baud = 2400});
    }
    std::string Read(const Row& row) {
        ClearBusy();
        Click(row.button);
        return Text(row.field);
    }
};

TEST_F(Readings, EachReadSendsItsRequestAndShowsItsValue) {
    struct Case {
        Row row;
        std::uint16_t reg, value;
        const char* text;
    } cases[] = {
        {kTemperature, kRegTemperature, 0xFF38, "-20.0"}, {kTemperature, kRegTemperature, 0x00FA, "25.0"},
        {kTemperature, kRegTemperature, 0xFFFB, "-0.5"},  {kTemperature, kRegTemperature, 0x0000, "0.0"},
        {kTemperature, kRegTemperature, 0x8000, "-3276.8"},
        {kHumidity, kRegHumidity, 0x0258, "60.0"},        {kHumidity, kRegHumidity, 0xFFFF, "6553.5"},
        {kWaterLeak, kRegWaterLeak, 0, " "},              {kWaterLeak, kRegWaterLeak, 1, "Normal"},
        {kWaterLeak, kRegWaterLeak, 2, "Warning"},        {kPowerFailure, kRegPowerFailure, 0, "Normal"},
        {kPowerFailure, kRegPowerFailure, 1, "Warning"},  {kPowerFailure, kRegPowerFailure, 2, "  "},
        {kCurrent, kRegCurrent, 0x0123, "29.1"},          {kVoltage, kRegVoltage, 0x0898, "220.0"},
        {kLight, kRegLightIntensity, 0xFFFF, "65535"},    {kCo2, kRegCo2, 0x01C2, "450"},
    };
    for (const Case& c : cases) {
        ClearRequests();
        ASSERT_TRUE(Device().SetRegister(c.reg, c.value));
        EXPECT_EQ(Read(c.row), c.text) << c.row.name << " " << c.value;
        EXPECT_EQ(Requests(), std::vector<sim::Frame>{ReadRequest(7, c.row)}) << c.row.name;
    }
    EXPECT_TRUE(Boxes().empty());
}

// Every failure is silent and leaves the text set while reading: a blank or
// nothing, by row.
TEST_F(Readings, FailedReadsLeaveTheFieldBlankWithoutABox) {
    const sim::Fault faults[] = {sim::Fault::WrongAddress(), sim::Fault::Exception(), sim::Fault::BadCrc(),
                                 sim::Fault::SwappedCrc(), sim::Fault::Short()};
    for (const Row& row : kRows) {
        for (const sim::Fault& fault : faults) {
            SetText(row.field, "stale");
            Device().InjectFault(fault);
            EXPECT_EQ(Read(row), row.whileReading) << row.name << " " << sim::FaultName(fault);
        }
    }
    // A device that never answers: the read gives up after its polls.
    SetText(kTemperature.field, "stale");
    Device().InjectFault(sim::Fault::Silent());
    EXPECT_EQ(Read(kTemperature), " ");
    EXPECT_TRUE(Boxes().empty());
}

// (How the flag is set by a read and cleared by timer 1 is BusyOrderTest's.)
TEST_F(Readings, AReadWhileBusySendsNothingAndLeavesTheFieldAlone) {
    for (const Row& row : kRows) {
        SetText(row.field, "kept");
        Dlg().Busy().TryEnter();
        Click(row.button);
        EXPECT_EQ(Text(row.field), "kept") << row.name;
    }
    EXPECT_TRUE(Requests().empty());
}

// In register mode temperature and humidity go to address 255, every other
// read to the device's own address; every reply must come from 255.
class RegisterModeReadings : public MainWindowFixture {};

TEST_F(RegisterModeReadings, OnlyTemperatureAndHumidityGoToAddress255) {
    sim::CSimulator& device = OpenOnFoundDevice({.kind = DeviceKind::Soil, .address = 4, .baud = 9600});
    ASSERT_EQ(Dlg().Session().Device().RegisterMode(), true);
    device.SetRegister(kRegTemperature, 0xFFFB);
    device.SetRegister(kRegHumidity, 0x0258);

    for (const Row& row : kRows) {
        ClearRequests();
        SetText(row.field, "stale");
        ClearBusy();
        Click(row.button);
        const bool to255 = row.button == kTemperature.button || row.button == kHumidity.button;
        EXPECT_EQ(Requests(), std::vector<sim::Frame>{ReadRequest(to255 ? 0xFF : 4, row)}) << row.name;
        // The device answers from the address it was asked at; only 255 counts.
        if (!to255) {
            EXPECT_EQ(Text(row.field), row.whileReading) << row.name;
        }
    }
    EXPECT_EQ(Text(kTemperature.field), "-0.5");
    EXPECT_EQ(Text(kHumidity.field), "60.0");
    EXPECT_TRUE(Boxes().empty());
}

}  // namespace
