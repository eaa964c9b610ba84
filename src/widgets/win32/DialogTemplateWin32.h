#pragma once
// A template of src/res as the dialog manager's in-memory template: an
// extended dialog template (DLGTEMPLATEEX) followed by one extended item
// template per control, in the table's order, which is also the tab order.

#include <cstdint>
#include <vector>

#include "res/DialogTemplate.h"

// DWORD-aligned, as DialogBoxIndirectParamW and CreateDialogIndirectParamW
// need it. Icon controls name their icon resource only when the program has
// it: a missing icon leaves the control empty instead of failing the window.
std::vector<std::uint32_t> BuildDialogTemplate(const DlgTemplate& tmpl);
