#pragma once
// The exchanges of the wireless receiver on the main window's link. FB frames
// carry no device address; every one of them is judged as one piece: no
// reply, a reply of 3 bytes or fewer and a reply that fails its check are all
// failures.

#include <cstdint>
#include <optional>

#include "protocol/Exchange.h"
#include "protocol/ReplyChecks.h"
#include "protocol/RequestFrames.h"

class CConfigDlg;

// The request buffer of the main window's link, for the frame builders.
TxBuffer WirelessRequest(CConfigDlg& main);

// A value-shaped reply (FB FB FB, command, operation, value 1, value 2, CRC)
// to the frame of `length` bytes built in the request buffer.
std::optional<ReplyValues> ExchangeFbValue(CConfigDlg& main, std::uint16_t length, ValuesUsed used,
                                           ExchangeVariant variant = ExchangeVariant::Standard);

// A configuration reply (sleep time and the 25-byte address bitmap).
std::optional<FbConfigReply> ExchangeFbConfig(CConfigDlg& main, std::uint16_t length, ExchangeVariant variant);
