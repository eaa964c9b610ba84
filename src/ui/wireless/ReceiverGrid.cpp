// The grid of the receiver's 200 addresses: each button shows whether the
// receiver reports its address configured. A click on a grey button
// configures the address; a click on a green one clears it once the operator
// has said "是".

#include "WirelessDlg.h"
#include "res/IdsWireless.h"

namespace {

constexpr ColorRef kConfiguredColor = RgbColor(132, 202, 53);
constexpr ColorRef kNotConfiguredColor = RgbColor(120, 123, 135);
// Each refresh lightens the hover face once more, up to white.
constexpr std::int16_t kHotShade = 30;

constexpr const char* kFailed = "Clear config para failed, Please reconfigure";

}  // namespace

void CWirelessDlg::RefreshGrid() {
    for (int i = 0; i < static_cast<int>(kReceiverAddresses); ++i)
        SetButtonState(m_gridButtons[static_cast<std::size_t>(i)], IsConfigured(i));
}

void CWirelessDlg::SetButtonState(CImageButton& button, bool configured) {
    const ColorRef color = configured ? kConfiguredColor : kNotConfiguredColor;
    button.SetStateColor(IB_COLOR_NORMAL_TEXT, color, true);
    button.SetStateColor(IB_COLOR_NORMAL_BACK, color, true);
    button.SetStateColor(IB_COLOR_FOCUS_BACK, color, true);
    button.ShiftStateColor(IB_COLOR_HOT_BACK, kHotShade, true);
}

void CWirelessDlg::OnGridButton(int id) {
    const int index = id - kIdFirstGridButton;
    if (index < 0 || index >= static_cast<int>(kReceiverAddresses)) return;
    const auto receiver = static_cast<std::uint8_t>(index);

    if (IsConfigured(index)) {
        m_clearDlg.DoModal();
        if (!m_clearDlg.m_answer) return;
        if (!m_session.ClearReceiver(receiver).Ok()) {
            MessageBox(kFailed, "Warning", MsgIcon::Question);
            return;
        }
        // Only the cleared address changes, whatever the reply holds.
        m_configBits[static_cast<std::size_t>(index / 8)] &= static_cast<std::uint8_t>(~(1U << (index % 8)));
        RefreshGrid();
        MessageBox("Clear config para successfully", "Prompt");
        return;
    }

    const OpResult<ReceiverTable> reply = m_session.ConfigureReceiver(receiver);
    if (!reply.Ok()) {
        MessageBox(kFailed, "Warning", MsgIcon::Question);
        return;
    }
    // The grid shows what the receiver says, not what was asked of it.
    m_sleepTime = reply.value.sleepTime;
    m_configBits = reply.value.configBits;
    RefreshGrid();
    MessageBox("Config para successfully", "Prompt");
}
