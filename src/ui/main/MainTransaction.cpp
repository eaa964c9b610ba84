#include "MainTransaction.h"

#include "serial/SerialPort.h"

namespace {
constexpr int kIdPortList = 1000;
constexpr std::uint8_t kDataBits = 8;
}  // namespace

ReplyBytes ExchangeStandard(CConfigDlg& dlg, std::uint16_t length) {
    const std::uint16_t count = dlg.ExchangeFrame(length, ExchangeVariant::Standard);
    return ReplyBytes(dlg.RxReply(), count);
}

bool ReopenPort(std::uint8_t portNumber, std::uint32_t baud) {
    g_serialPort.Close();
    g_portOpen = false;
    g_serialPort.SetParams(portNumber, kDataBits, CSerialPort::kNoParity, CSerialPort::kOneStopBit,
                           baud);
    if (!g_serialPort.Open()) return false;
    g_portOpen = true;
    return true;
}

std::uint8_t SelectedPortNumber(const CConfigDlg& dlg) {
    // -1 (nothing selected) gives port 0, which no device answers to.
    return static_cast<std::uint8_t>(dlg.ComboGetCurSel(kIdPortList) + 1);
}
