// The measurement reads: one function-03 read each, shown in the field beside
// its button. Every failure is silent and leaves the field as the read blanked
// it.

#include "MainTransaction.h"

namespace {

struct ReadingField {
    int field;
    Reading reading;
    const char* textWhileReading;
};

constexpr ReadingField kTemperature{kIdTemperatureField, Reading::Temperature, " "};
constexpr ReadingField kHumidity{kIdHumidityField, Reading::Humidity, " "};
constexpr ReadingField kWaterLeak{kIdWaterLeakField, Reading::WaterLeak, " "};
constexpr ReadingField kPowerFailure{kIdPowerFailureField, Reading::PowerFailure, " "};
constexpr ReadingField kCurrent{kIdCurrentField, Reading::Current, " "};
constexpr ReadingField kVoltage{kIdVoltageField, Reading::Voltage, ""};
constexpr ReadingField kLightIntensity{kIdLightField, Reading::Light, ""};
constexpr ReadingField kCo2{kIdCo2Field, Reading::Co2, ""};

void RunReading(CConfigDlg& dlg, const ReadingField& field) {
    if (!dlg.TryEnterBusy()) return;
    dlg.SetDlgItemText(field.field, field.textWhileReading);
    const OpResult<std::uint16_t> word = dlg.Session().Read(field.reading);
    if (word.Ok()) dlg.SetDlgItemText(field.field, ValueText(InfoOf(field.reading).form, word.value));
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
