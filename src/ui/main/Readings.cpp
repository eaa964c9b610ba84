// The measurement reads: one function-03 read each, shown in the field beside
// its button. Every failure is silent and leaves the field as the read blanked
// it.

#include "MainTransaction.h"
#include "ValueForms.h"
#include "app/ConfigDlg.h"

namespace {

enum class Display { SignedTenths, UnsignedTenths, UnsignedInteger, WaterLeak, PowerFailure };

struct Reading {
    int field;
    std::uint16_t firstRegister;
    std::uint8_t count;
    // Only temperature and humidity go to address 255 on a register-frame
    // device; every other read goes to the device's own address.
    bool registerModeAddress;
    bool usesValue2;
    Display display;
    const char* textWhileReading;
};

// Registers 0x0000 (humidity) and 0x0001 (temperature) are read together.
constexpr Reading kTemperature{1014, kRegHumidity, 2, true, true, Display::SignedTenths, " "};
constexpr Reading kHumidity{1015, kRegHumidity, 2, true, false, Display::UnsignedTenths, " "};
constexpr Reading kWaterLeak{1016, kRegWaterLeak, 1, false, false, Display::WaterLeak, " "};
constexpr Reading kPowerFailure{1017, kRegPowerFailure, 1, false, false, Display::PowerFailure, " "};
constexpr Reading kCurrent{1028, kRegCurrent, 1, false, false, Display::UnsignedTenths, " "};
constexpr Reading kVoltage{1029, kRegVoltage, 1, false, false, Display::UnsignedTenths, ""};
constexpr Reading kLightIntensity{1030, kRegLightIntensity, 1, false, false, Display::UnsignedInteger, ""};
// The same register as the water leak: what it holds depends on the device.
constexpr Reading kCo2{1031, kRegCo2, 1, false, false, Display::UnsignedInteger, ""};

QString DisplayText(Display display, std::uint16_t word) {
    switch (display) {
        case Display::SignedTenths: return SignedTenthsText(word);
        case Display::UnsignedTenths: return UnsignedTenthsText(word);
        case Display::UnsignedInteger: return UnsignedIntegerText(word);
        case Display::WaterLeak: return WaterLeakText(word);
        case Display::PowerFailure: return PowerFailureText(word);
    }
    return {};
}

void RunReading(CConfigDlg& dlg, const Reading& reading) {
    if (!dlg.TryEnterBusy()) return;
    dlg.SetDlgItemText(reading.field, QString::fromLatin1(reading.textWhileReading));

    const bool soilMode = dlg.m_soilMode != 0;
    const std::uint8_t address =
        soilMode && reading.registerModeAddress ? kRegisterModeAddress : dlg.m_devAddress;
    const ReplyBytes reply = dlg.ExchangeStandard(
        BuildRegisterRead(RequestBuffer(dlg), address, reading.firstRegister, reading.count));
    if (!IsJudgeable(reply)) return;

    // In register mode every reply must come from 255, whatever address was asked.
    const std::optional<ReplyValues> values =
        ParseReadReply(reply, ExpectedReadAddress(soilMode, dlg.m_devAddress),
                       reading.usesValue2 ? ValuesUsed::Both : ValuesUsed::First);
    if (!values) return;
    const std::uint16_t word = reading.usesValue2 ? values->value2 : values->value1;
    dlg.SetDlgItemText(reading.field, DisplayText(reading.display, word));
}

}  // namespace

void CConfigDlg::OnReadTemperature() { RunReading(*this, kTemperature); }
void CConfigDlg::OnReadHumidity() { RunReading(*this, kHumidity); }
void CConfigDlg::OnReadWaterLeak() { RunReading(*this, kWaterLeak); }
void CConfigDlg::OnReadPowerFailure() { RunReading(*this, kPowerFailure); }
void CConfigDlg::OnReadCurrent() { RunReading(*this, kCurrent); }
void CConfigDlg::OnReadVoltage() { RunReading(*this, kVoltage); }
void CConfigDlg::OnReadLightIntensity() { RunReading(*this, kLightIntensity); }
void CConfigDlg::OnReadCo2() { RunReading(*this, kCo2); }
