#pragma once
// The FC parameter read and write of the main window, shared by the limits,
// hysteresis and adjusts and by the output delay and remote signal.

#include <cstdint>
#include <optional>

class CConfigDlg;

// One FC read of `code`: value 1 of an accepted reply, nothing on no reply, a
// short reply or a rejected one. The caller handles the busy flag and the field.
std::optional<std::uint16_t> ExchangeParameterRead(CConfigDlg& dlg, std::uint8_t code);

// One FC write of `word` to `code`, reported in one box: "Setting successfully"
// for an accepted reply, "Setting failed" for anything else. Writes never look
// at the busy flag.
void ExchangeParameterWrite(CConfigDlg& dlg, std::uint8_t code, std::uint16_t word);
