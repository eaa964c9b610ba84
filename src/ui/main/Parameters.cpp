// The alarm limits, hysteresis and calibration offsets: FC parameter reads and
// writes by code. The parameter read and write here also serve the output
// delay and the remote signal (OutputDelayRemote.cpp).

#include "Parameters.h"

#include "MainTransaction.h"
#include "ValueForms.h"
#include "app/TextNumbers.h"

namespace {

enum class ValueForm { Limit, Adjust, Hysteresis };

struct Parameter {
    int field;
    std::uint8_t code;
    ValueForm form;
};

constexpr Parameter kHumidityUpper{1032, kFcHumidityUpper, ValueForm::Limit};
constexpr Parameter kHumidityLower{1033, kFcHumidityLower, ValueForm::Limit};
constexpr Parameter kTemperatureUpper{1034, kFcTemperatureUpper, ValueForm::Limit};
constexpr Parameter kTemperatureLower{1035, kFcTemperatureLower, ValueForm::Limit};
constexpr Parameter kHumidityHysteresis{1047, kFcHumidityHysteresis, ValueForm::Hysteresis};
constexpr Parameter kTemperatureHysteresis{1048, kFcTemperatureHysteresis, ValueForm::Hysteresis};
constexpr Parameter kHumidityAdjust{1036, kFcHumidityAdjust, ValueForm::Adjust};
constexpr Parameter kTemperatureAdjust{1037, kFcTemperatureAdjust, ValueForm::Adjust};

// Hysteresis goes out as a plain non-negative word but is shown with the
// adjusts' sign rule, so a device's 0x8005 reads as -0.5.
QString ParameterText(ValueForm form, std::uint16_t word) {
    return form == ValueForm::Limit ? SignMagnitudeWholeText(word) : SignMagnitudeTenthsText(word);
}

std::uint16_t ParameterWord(ValueForm form, double typed) {
    switch (form) {
        case ValueForm::Limit: return LimitWord(typed);
        case ValueForm::Adjust: return AdjustWord(typed);
        case ValueForm::Hysteresis: return HysteresisWord(typed);
    }
    return 0;
}

void ReadParameter(CConfigDlg& dlg, const Parameter& parameter) {
    if (!dlg.TryEnterBusy()) return;
    dlg.SetDlgItemText(parameter.field, QString());
    const std::optional<std::uint16_t> word = ExchangeParameterRead(dlg, parameter.code);
    if (word) dlg.SetDlgItemText(parameter.field, ParameterText(parameter.form, *word));
}

void WriteParameter(CConfigDlg& dlg, const Parameter& parameter) {
    const double typed = ParseLeadingDouble(dlg.GetDlgItemText(parameter.field).toStdString());
    ExchangeParameterWrite(dlg, parameter.code, ParameterWord(parameter.form, typed));
}

}  // namespace

std::optional<std::uint16_t> ExchangeParameterRead(CConfigDlg& dlg, std::uint8_t code) {
    const ReplyBytes reply = dlg.ExchangeStandard(BuildFcRead(RequestBuffer(dlg), code));
    if (!IsJudgeable(reply)) return std::nullopt;
    // The reply's code byte is not compared with the request's.
    const std::optional<ReplyValues> values = ParseFcReply(reply, ValuesUsed::First);
    if (!values) return std::nullopt;
    return values->value1;
}

void ExchangeParameterWrite(CConfigDlg& dlg, std::uint8_t code, std::uint16_t word) {
    const ReplyBytes reply = dlg.ExchangeStandard(BuildFcWrite(RequestBuffer(dlg), code, word));
    // Any FC reply with a good CRC confirms the write, an echo included.
    if (IsJudgeable(reply) && ParseFcReply(reply, ValuesUsed::None)) {
        dlg.MessageBox(QStringLiteral("Setting successfully"));
    } else {
        dlg.MessageBox(QStringLiteral("Setting failed"), kWarningCaption, MsgIcon::Question);
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
