#pragma once
// What the main window's operations share around one exchange: the request
// buffer as the frame builders take it, the reply as the checks take it, and
// the reopening of the port at another speed.

#include <cstdint>

#include "app/ConfigDlg.h"
#include "protocol/ReplyChecks.h"
#include "protocol/RequestFrames.h"

// Message-box texts shared by several operations.
inline constexpr const char* kWarningCaption = "Warning";

inline TxBuffer RequestBuffer(CConfigDlg& dlg) { return dlg.Link().m_txFrame; }

// Closes the port, clears the open flag, and opens `portNumber` at `baud`
// (8 data bits, no parity, one stop bit); sets the flag again when the open
// succeeds.
bool ReopenPort(std::uint8_t portNumber, std::uint32_t baud);

// The device's line identity from a reply that passed its check.
void TakeFdReply(CConfigDlg& dlg, const FdReply& reply);
void TakeSoilSearchReply(CConfigDlg& dlg, const SoilSearchReply& reply);
// Fields 1012 and 1013 from the device's address and baud rate.
void ShowDeviceFields(CConfigDlg& dlg);

// The port the list 1000 selects: its position plus one, 0 with no selection.
std::uint8_t SelectedPortNumber(const CConfigDlg& dlg);
