#include "MainTransaction.h"

#include "serial/SerialPort.h"

namespace {
constexpr int kIdPortList = 1000;
constexpr int kIdAddressField = 1012;
constexpr int kIdBaudField = 1013;
constexpr std::uint8_t kDataBits = 8;
}  // namespace

bool ReopenPort(std::uint8_t portNumber, std::uint32_t baud) {
    g_serialPort.Close();
    g_portOpen = false;
    g_serialPort.SetParams(portNumber, kDataBits, CSerialPort::kNoParity, CSerialPort::kOneStopBit,
                           baud);
    if (!g_serialPort.Open()) return false;
    g_portOpen = true;
    return true;
}

void TakeFdReply(CConfigDlg& dlg, const FdReply& reply) {
    dlg.m_devAddress = reply.address;
    dlg.m_baudRate = reply.baudRate;
}

void TakeSoilSearchReply(CConfigDlg& dlg, const SoilSearchReply& reply) {
    dlg.m_devAddress = reply.address;
    dlg.m_baudRate = reply.baudRate;
    dlg.m_soilParity = reply.parity;
    dlg.m_soilStopFlag1 = reply.stopFlag1;
    dlg.m_soilStopFlag2 = reply.stopFlag2;
}

void ShowDeviceFields(CConfigDlg& dlg) {
    dlg.SetDlgItemText(kIdAddressField, QString::number(dlg.m_devAddress));
    dlg.SetDlgItemText(kIdBaudField, QString::number(dlg.m_baudRate));
}

std::uint8_t SelectedPortNumber(const CConfigDlg& dlg) {
    // -1 (nothing selected) gives port 0, which no device answers to.
    return static_cast<std::uint8_t>(dlg.ComboGetCurSel(kIdPortList) + 1);
}
