// The wireless window's parameter operations: channel and sleep time, read
// and written, and one temperature/humidity reading. Each is one standard
// exchange; none uses the main window's busy flag.

#include <string>

#include "WirelessDlg.h"
#include "protocol/ValueForms.h"
#include "res/IdsWireless.h"

namespace {

constexpr const char* kPrompt = "Prompt";
constexpr const char* kWarning = "Warning";

// "25.3℃  60.5 %RH": tenths of a degree (two's complement) and of a percent
// of relative humidity (unsigned).
std::string TemperatureHumidityText(const TemperatureHumidity& th) {
    return ValueText(ValueForm::SignedTenths, th.temperature) + "\u2103  " +
           ValueText(ValueForm::UnsignedTenths, th.humidity) + " %RH";
}

}  // namespace

void CWirelessDlg::OnReadChannel() {
    const OpResult<std::uint8_t> channel = m_session.ReadChannel();
    if (!channel.Ok()) {
        MessageBox("Read the channel para failed,Please try again", kWarning, MsgIcon::Question);
        return;
    }
    // A channel beyond the list selects nothing; the box is enabled all the same.
    ComboSetCurSel(kIdChannelBox, channel.value);
    EnableDlgItem(kIdChannelBox, true);
    EnableDlgItem(kIdWriteChannel, true);
}

void CWirelessDlg::OnWriteChannel() {
    // No selection sends FF.
    const auto channel = static_cast<std::uint8_t>(ComboGetCurSel(kIdChannelBox));
    if (m_session.WriteChannel(channel).Ok()) {
        MessageBox("Config the channel para successfully", kPrompt);
    } else {
        MessageBox("Config the channel para failed,Please try again", kWarning, MsgIcon::Question);
    }
}

void CWirelessDlg::OnReadSleepTime() {
    const OpResult<std::uint16_t> sleepTime = m_session.ReadSleepTime();
    if (!sleepTime.Ok()) {
        MessageBox("Failed to read the sleep parameter,Please read again", kWarning,
                   MsgIcon::Question);
        return;
    }
    m_sleepTime = sleepTime.value;
    SetDlgItemText(kIdSleepTime, std::to_string(m_sleepTime));
}

void CWirelessDlg::OnWriteSleepTime() {
    // The typed number is kept whatever the outcome: letters give 0, -1 gives
    // FF FF, a number above 65535 its low 16 bits.
    m_sleepTime = static_cast<std::uint16_t>(GetDlgItemInt(kIdSleepTime, nullptr, true));
    if (m_session.WriteSleepTime(m_sleepTime).Ok()) {
        MessageBox("Config the sleep para successfully", kPrompt);
    } else {
        MessageBox("Config the sleep para failed,Please config again", kWarning, MsgIcon::Question);
    }
}

void CWirelessDlg::OnReadThValue() {
    if (g_thReadPending) return;
    g_thReadPending = true;
    SetTimer(kThTimer, kThTimerMs);
    SetDlgItemText(kIdThValue, "");

    const OpResult<TemperatureHumidity> th = m_session.ReadTemperatureHumidity();
    // A failed read shows nothing and leaves the field empty.
    if (th.Ok()) SetDlgItemText(kIdThValue, TemperatureHumidityText(th.value));
}
