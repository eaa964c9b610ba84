// The wireless window's parameter operations: channel and sleep time, read
// and written, and one temperature/humidity reading. Each is one standard
// exchange; none uses the main window's busy flag.

#include <QString>

#include "WirelessControls.h"
#include "WirelessDlg.h"
#include "WirelessExchange.h"
#include "app/ConfigDlg.h"

namespace {

const QString kPrompt = QStringLiteral("Prompt");
const QString kWarning = QStringLiteral("Warning");

// "25.3℃  60.5 %RH": tenths of a degree (two's complement) and of a percent
// of relative humidity (unsigned).
QString TemperatureHumidityText(std::uint16_t t, std::uint16_t h) {
    const bool negative = (t & 0x8000) != 0;
    const int magnitude = negative ? 65536 - t : t;
    return QStringLiteral("%1%2.%3℃  %4.%5 %RH")
        .arg(negative ? QStringLiteral("-") : QString())
        .arg(magnitude / 10)
        .arg(magnitude % 10)
        .arg(h / 10)
        .arg(h % 10);
}

}  // namespace

void CWirelessDlg::OnReadChannel() {
    //   FB FB FB 07 00 00 CRC  ->  value reply, the channel in byte 5
    CConfigDlg& main = *g_mainDlg;
    const auto values = ExchangeFbValue(main, BuildFbChannelRead(WirelessRequest(main)), ValuesUsed::First);
    if (!values) {
        MessageBox(QStringLiteral("Read the channel para failed,Please try again"), kWarning, MsgIcon::Question);
        return;
    }
    // A channel beyond the list selects nothing; the box is enabled all the same.
    ComboSetCurSel(kIdChannelBox, values->value1 >> 8);
    EnableDlgItem(kIdChannelBox, true);
    EnableDlgItem(kIdWriteChannel, true);
}

void CWirelessDlg::OnWriteChannel() {
    //   FB FB FB 07 01 channel CRC; no selection sends FF
    const auto channel = static_cast<std::uint8_t>(ComboGetCurSel(kIdChannelBox));
    CConfigDlg& main = *g_mainDlg;
    if (ExchangeFbValue(main, BuildFbChannelWrite(WirelessRequest(main), channel), ValuesUsed::None)) {
        MessageBox(QStringLiteral("Config the channel para successfully"), kPrompt);
    } else {
        MessageBox(QStringLiteral("Config the channel para failed,Please try again"), kWarning, MsgIcon::Question);
    }
}

void CWirelessDlg::OnReadSleepTime() {
    //   FB FB FB 04 00 00 00 00 CRC  ->  value reply, the sleep time as value 1
    CConfigDlg& main = *g_mainDlg;
    const auto values = ExchangeFbValue(main, BuildFbSleepTimeRead(WirelessRequest(main)), ValuesUsed::First);
    if (!values) {
        MessageBox(QStringLiteral("Failed to read the sleep parameter,Please read again"), kWarning,
                   MsgIcon::Question);
        return;
    }
    m_sleepTime = values->value1;
    SetDlgItemText(kIdSleepTime, QString::number(m_sleepTime));
}

void CWirelessDlg::OnWriteSleepTime() {
    //   FB FB FB 04 01 hi lo CRC
    // The typed number is kept whatever the outcome: letters give 0, -1 gives
    // FF FF, a number above 65535 its low 16 bits.
    m_sleepTime = static_cast<std::uint16_t>(GetDlgItemInt(kIdSleepTime, nullptr, true));
    CConfigDlg& main = *g_mainDlg;
    if (ExchangeFbValue(main, BuildFbSleepTimeWrite(WirelessRequest(main), m_sleepTime), ValuesUsed::None)) {
        MessageBox(QStringLiteral("Config the sleep para successfully"), kPrompt);
    } else {
        MessageBox(QStringLiteral("Config the sleep para failed,Please config again"), kWarning, MsgIcon::Question);
    }
}

void CWirelessDlg::OnReadThValue() {
    //   FB FB FB 05 01 00 00 00 CRC  ->  value reply: temperature, humidity
    if (g_thReadPending) return;
    g_thReadPending = true;
    SetTimer(kThTimer, kThTimerMs);
    SetDlgItemText(kIdThValue, QString());

    CConfigDlg& main = *g_mainDlg;
    const auto values =
        ExchangeFbValue(main, BuildFbTemperatureHumidityRead(WirelessRequest(main)), ValuesUsed::Both);
    // A failed read shows nothing and leaves the field empty.
    if (values) SetDlgItemText(kIdThValue, TemperatureHumidityText(values->value1, values->value2));
}
