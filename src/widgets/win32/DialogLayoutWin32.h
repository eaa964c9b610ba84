#pragma once
// The templates' fonts (宋体, System) have no leading: their character cell
// is as high as the em, and the dialog manager takes that cell as the base
// height of its dialog units. A stand-in font with leading (WenQuanYi Zen Hei,
// what Wine and the Linux build put in place of 宋体) has a cell a third
// higher and would stretch every window by as much. As the Linux build does,
// the em is then the base height: the window and its controls are placed
// again, and static texts grow about their middle to the cell height, so
// that no glyph is cut. With the real fonts this changes nothing.

#include "res/DialogTemplate.h"

struct HWND__;

// `dialog` was built by the dialog manager from `tmpl` (one child per item,
// in the template's order).
void FitDialogUnitsToEm(HWND__* dialog, const DlgTemplate& tmpl);
