// The light intensity parameter window: the light sensor's upper limit, lower
// limit and hysteresis, each an FC parameter read and written as a plain
// 16-bit word. Every read and write is guarded by the main window's busy flag,
// which only the main window's timer clears.

#include "LightParamDlg.h"

#include <string>

#include "res/IdsLight.h"

namespace {

struct LightParameter {
    Parameter parameter;
    int edit;
    const char* writeCaption;
    const char* successText;
    const char* failureText;
};

// The two limits share their success text but not their failure text.
constexpr LightParameter kUpperLimit{
    Parameter::LightUpper, kIdLightUpperField, "Light Intensity upper limit setting",
    "Light Intensity limit downloaded successfully", "Light Intensity limit download failed"};
constexpr LightParameter kLowerLimit{
    Parameter::LightLower, kIdLightLowerField, "Light Intensity lower limit setting",
    "Light Intensity limit downloaded successfully", "Light Intensity limit downloaded faild"};
constexpr LightParameter kHysteresis{
    Parameter::LightHysteresis, kIdLightHysteresisField, "Light Intensity hysteresis setting",
    "Light Intensity hysteresis write successfully", "Light Intensity hysteresis write failed"};

void ReadParameter(CLightParamDlg& dlg, CDeviceSession& session, CBusyFlag& busy, const LightParameter& parameter) {
    if (!busy.TryEnter()) return;
    // A failed read leaves the single space behind, and no box.
    dlg.SetDlgItemText(parameter.edit, " ");
    const OpResult<std::uint16_t> word = session.ReadParameter(parameter.parameter);
    // A plain word: no sign, 0 to 65535.
    if (word.Ok()) dlg.SetDlgItemText(parameter.edit, WindowText(parameter.parameter, word.value));
}

void WriteParameter(CLightParamDlg& dlg, CDeviceSession& session, CBusyFlag& busy, const LightParameter& parameter) {
    // The leading integer of the text, whatever follows it; its low 16 bits
    // go out, so -5 is FF FB and 65536 is 0.
    const std::uint16_t word = LenientWord(parameter.parameter, dlg.GetDlgItemText(parameter.edit));
    if (!busy.TryEnter()) return;
    // The sensor echoes the write; bytes after the echo do not matter.
    if (session.WriteParameter(parameter.parameter, word).Ok()) {
        dlg.MessageBox(parameter.successText, parameter.writeCaption);
    } else {
        dlg.MessageBox(parameter.failureText, parameter.writeCaption, MsgIcon::Question);
    }
}

}  // namespace

CLightParamDlg::CLightParamDlg(CDeviceSession& session, CBusyFlag& busy, CDialogBase* owner)
    : CDialogBase(kTemplateId, owner), m_session(session), m_busy(busy) {
    OnCommand(kIdReadLightUpper, [this] { OnReadUpperLimit(); });
    OnCommand(kIdWriteLightUpper, [this] { OnWriteUpperLimit(); });
    OnCommand(kIdReadLightLower, [this] { OnReadLowerLimit(); });
    OnCommand(kIdWriteLightLower, [this] { OnWriteLowerLimit(); });
    OnCommand(kIdReadLightHysteresis, [this] { OnReadHysteresis(); });
    OnCommand(kIdWriteLightHysteresis, [this] { OnWriteHysteresis(); });
}

void CLightParamDlg::OnReadUpperLimit() { ReadParameter(*this, m_session, m_busy, kUpperLimit); }
void CLightParamDlg::OnWriteUpperLimit() { WriteParameter(*this, m_session, m_busy, kUpperLimit); }
void CLightParamDlg::OnReadLowerLimit() { ReadParameter(*this, m_session, m_busy, kLowerLimit); }
void CLightParamDlg::OnWriteLowerLimit() { WriteParameter(*this, m_session, m_busy, kLowerLimit); }
void CLightParamDlg::OnReadHysteresis() { ReadParameter(*this, m_session, m_busy, kHysteresis); }
void CLightParamDlg::OnWriteHysteresis() { WriteParameter(*this, m_session, m_busy, kHysteresis); }
