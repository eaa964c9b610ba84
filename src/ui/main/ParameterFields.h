#pragma once
// The main window's FC parameter write, shared by the limits, hysteresis and
// adjusts and by the output delay and remote signal.

#include <cstdint>

#include "protocol/Catalogue.h"

class CConfigDlg;

// One write of `word`, reported in one box: "Setting successfully" for an
// accepted reply, "Setting failed" for anything else. Writes never look at the
// busy flag.
void WriteParameterAndReport(CConfigDlg& dlg, Parameter parameter, std::uint16_t word);
