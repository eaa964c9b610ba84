// The alarm limits, hysteresis and calibration offsets: FC parameter reads and
// writes by code. The outcome boxes here also serve the output delay and the
// remote signal (OutputDelayRemote.cpp).

#include "MainTransaction.h"
#include "ParameterFields.h"

namespace {

struct ParameterField {
    int field;
    Parameter parameter;
};

constexpr ParameterField kHumidityUpper{kIdHumidityUpperField, Parameter::HumidityUpper};
constexpr ParameterField kHumidityLower{kIdHumidityLowerField, Parameter::HumidityLower};
constexpr ParameterField kTemperatureUpper{kIdTemperatureUpperField, Parameter::TemperatureUpper};
constexpr ParameterField kTemperatureLower{kIdTemperatureLowerField, Parameter::TemperatureLower};
constexpr ParameterField kHumidityHysteresis{kIdHumidityHysteresisField, Parameter::HumidityHysteresis};
constexpr ParameterField kTemperatureHysteresis{kIdTemperatureHysteresisField, Parameter::TemperatureHysteresis};
constexpr ParameterField kHumidityAdjust{kIdHumidityAdjustField, Parameter::HumidityAdjust};
constexpr ParameterField kTemperatureAdjust{kIdTemperatureAdjustField, Parameter::TemperatureAdjust};

void ReadParameter(CConfigDlg& dlg, const ParameterField& p) {
    if (!dlg.TryEnterBusy()) return;
    dlg.SetDlgItemText(p.field, "");
    const OpResult<std::uint16_t> word = dlg.Session().ReadParameter(p.parameter);
    if (word.Ok()) dlg.SetDlgItemText(p.field, WindowText(p.parameter, word.value));
}

void WriteParameter(CConfigDlg& dlg, const ParameterField& p) {
    WriteParameterAndReport(dlg, p.parameter, LenientWord(p.parameter, dlg.GetDlgItemText(p.field)));
}

}  // namespace

void WriteParameterAndReport(CConfigDlg& dlg, Parameter parameter, std::uint16_t word) {
    // Any FC reply with a good CRC confirms the write, an echo included.
    if (dlg.Session().WriteParameter(parameter, word).Ok()) {
        dlg.MessageBox("Setting successfully");
    } else {
        dlg.MessageBox("Setting failed", kWarningCaption, MsgIcon::Question);
    }
}

void CConfigDlg::OnReadHumidityUpper() { ReadParameter(*this, kHumidityUpper); }
void CConfigDlg::OnWriteHumidityUpper() { WriteParameter(*this, kHumidityUpper); }
void CConfigDlg::OnReadHumidityLower() { ReadParameter(*this, kHumidityLower); }
void CConfigDlg::OnWriteHumidityLower() { WriteParameter(*this, kHumidityLower); }
void CConfigDlg::OnReadTemperatureUpper() { ReadParameter(*this, kTemperatureUpper); }
void CConfigDlg::OnWriteTemperatureUpper() { WriteParameter(*this, kTemperatureUpper); }
void CConfigDlg::OnReadTemperatureLower() { ReadParameter(*this, kTemperatureLower); }
void CConfigDlg::OnWriteTemperatureLower() { WriteParameter(*this, kTemperatureLower); }
void CConfigDlg::OnReadHumidityHysteresis() { ReadParameter(*this, kHumidityHysteresis); }
void CConfigDlg::OnWriteHumidityHysteresis() { WriteParameter(*this, kHumidityHysteresis); }
void CConfigDlg::OnReadTemperatureHysteresis() { ReadParameter(*this, kTemperatureHysteresis); }
void CConfigDlg::OnWriteTemperatureHysteresis() { WriteParameter(*this, kTemperatureHysteresis); }
void CConfigDlg::OnReadHumidityAdjust() { ReadParameter(*this, kHumidityAdjust); }
void CConfigDlg::OnWriteHumidityAdjust() { WriteParameter(*this, kHumidityAdjust); }
void CConfigDlg::OnReadTemperatureAdjust() { ReadParameter(*this, kTemperatureAdjust); }
void CConfigDlg::OnWriteTemperatureAdjust() { WriteParameter(*this, kTemperatureAdjust); }
