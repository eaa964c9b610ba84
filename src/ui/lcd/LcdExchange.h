#pragma once
// One exchange of the LCD relay controller window on the main window's link:
// register frames to the current device, standard wait.

#include <cstdint>
#include <optional>

#include "protocol/ReplyChecks.h"

class CConfigDlg;

// Sets the controller's register with function 06; true when the device
// echoes the 8 request bytes.
bool WriteLcdRegister(CConfigDlg& main, std::uint16_t reg, std::uint16_t value);

// Reads one register of the controller with function 03; its value, or
// nothing for no reply, a short reply or a reply that fails the read check.
std::optional<std::uint16_t> ReadLcdRegister(CConfigDlg& main, std::uint16_t reg);
