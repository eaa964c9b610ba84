#pragma once
// What the main window's operations share: the fields of the device's address
// and baud rate, the port the list selects, and the texts of several boxes.

#include <cstdint>

#include "ui/main/ConfigDlg.h"
#include "res/IdsConfig.h"

inline constexpr const char* kWarningCaption = "Warning";

// Fields 1012 and 1013 from the session's device.
void ShowDeviceFields(CConfigDlg& dlg);

// The port the list 1000 selects: its position plus one, 0 with no selection.
std::uint8_t SelectedPortNumber(const CConfigDlg& dlg);
