// The light intensity parameter window: the light sensor's upper limit, lower
// limit and hysteresis, each an FC parameter read and written as a plain
// 16-bit word. Every read and write is guarded by the main window's busy flag,
// which only its timer clears.

#include "LightParamDlg.h"

#include <QString>

#include "app/ConfigDlg.h"
#include "app/TextNumbers.h"
#include "protocol/FrameCodes.h"
#include "protocol/ReplyChecks.h"
#include "protocol/RequestFrames.h"

namespace {

struct LightParameter {
    std::uint8_t code;
    int edit;
    const char* writeCaption;
    const char* successText;
    const char* failureText;
};

// The two limits share their success text but not their failure text.
constexpr LightParameter kUpperLimit{
    kFcLightUpper, 1070, "Light Intensity upper limit setting",
    "Light Intensity limit downloaded successfully", "Light Intensity limit download failed"};
constexpr LightParameter kLowerLimit{
    kFcLightLower, 1071, "Light Intensity lower limit setting",
    "Light Intensity limit downloaded successfully", "Light Intensity limit downloaded faild"};
constexpr LightParameter kHysteresis{
    kFcLightHysteresis, 1072, "Light Intensity hysteresis setting",
    "Light Intensity hysteresis write successfully", "Light Intensity hysteresis write failed"};

void ReadParameter(CLightParamDlg& dlg, const LightParameter& parameter) {
    CConfigDlg* main = EnterGuardedOperation();
    if (main == nullptr) return;
    // A failed read leaves the single space behind, and no box.
    dlg.SetDlgItemText(parameter.edit, QStringLiteral(" "));

    //   FC FC FC code 00 00 00 CRC lo hi  ->  FC FC FC code op value1 value2 CRC lo hi
    const ReplyBytes reply = main->ExchangeStandard(BuildFcRead(main->Link().m_txFrame, parameter.code));
    if (!IsJudgeable(reply)) return;
    const std::optional<ReplyValues> values = ParseFcReply(reply, ValuesUsed::First);
    if (!values) return;
    // A plain word: no sign, 0 to 65535.
    dlg.SetDlgItemText(parameter.edit, QString::number(values->value1));
}

void WriteParameter(CLightParamDlg& dlg, const LightParameter& parameter) {
    // The leading integer of the text, whatever follows it; its low 16 bits
    // go out, so -5 is FF FB and 65536 is 0.
    const std::int64_t typed = ParseLeadingInteger(dlg.GetDlgItemText(parameter.edit).toStdString());
    CConfigDlg* main = EnterGuardedOperation();
    if (main == nullptr) return;
    const auto word = static_cast<std::uint16_t>(static_cast<std::uint64_t>(typed) & 0xFFFF);

    //   FC FC FC code 01 hi lo CRC lo hi  ->  echoed; bytes after the echo do not matter
    const std::uint16_t length = BuildFcWrite(main->Link().m_txFrame, parameter.code, word);
    const ReplyBytes reply = main->ExchangeStandard(length);
    const QString caption = QString::fromLatin1(parameter.writeCaption);
    if (IsJudgeable(reply) && CheckEchoReply(reply, ReplyBytes(main->TxFrame(), length))) {
        dlg.MessageBox(QString::fromLatin1(parameter.successText), caption);
    } else {
        dlg.MessageBox(QString::fromLatin1(parameter.failureText), caption, MsgIcon::Question);
    }
}

}  // namespace

CLightParamDlg::CLightParamDlg(QWidget* parent) : CDialogBase(kTemplateId, parent) {
    OnCommand(1073, [this] { OnReadUpperLimit(); });
    OnCommand(1074, [this] { OnWriteUpperLimit(); });
    OnCommand(1075, [this] { OnReadLowerLimit(); });
    OnCommand(1076, [this] { OnWriteLowerLimit(); });
    OnCommand(1077, [this] { OnReadHysteresis(); });
    OnCommand(1078, [this] { OnWriteHysteresis(); });
}

void CLightParamDlg::OnReadUpperLimit() { ReadParameter(*this, kUpperLimit); }
void CLightParamDlg::OnWriteUpperLimit() { WriteParameter(*this, kUpperLimit); }
void CLightParamDlg::OnReadLowerLimit() { ReadParameter(*this, kLowerLimit); }
void CLightParamDlg::OnWriteLowerLimit() { WriteParameter(*this, kLowerLimit); }
void CLightParamDlg::OnReadHysteresis() { ReadParameter(*this, kHysteresis); }
void CLightParamDlg::OnWriteHysteresis() { WriteParameter(*this, kHysteresis); }
