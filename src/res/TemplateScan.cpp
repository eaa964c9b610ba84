// Template IDD_SCAN: the scan of a bus of units. The speeds and the address
// range, Start and Stop, the progress, the units that answered and the note
// about parameter writes on a shared bus. Start is the default button, so
// that Enter in the address fields starts the scan.

#include "IdsScan.h"
#include "ResourceIds.h"
#include "TemplateItems.h"
#include "TemplateTables.h"

namespace dlg {
namespace {

constexpr DlgItem kItems[] = {
    //     text / id                                          x    y   cx   cy
    {kStatic, DlgItemKind::GroupBox, "Speeds (bit/s)",        7,   5, 150,  28, kStaticStyle},
    AutoCheckBox("2400", kIdScanSpeedFirst + 0,              14,  16,  40,  12),
    AutoCheckBox("4800", kIdScanSpeedFirst + 1,              60,  16,  40,  12),
    AutoCheckBox("9600", kIdScanSpeedFirst + 2,             106,  16,  40,  12),
    {kStatic, DlgItemKind::GroupBox, "Addresses",           163,   5, 150,  28, kStaticStyle},
    LText("First:",                                         170,  18,  24,   8),
    EditText(kIdScanFirst,                                  196,  16,  34,  12),
    LText("Last:",                                          238,  18,  24,   8),
    EditText(kIdScanLast,                                   264,  16,  34,  12),
    DefPushButton("Start", kIdScanStart,                      7,  39,  50,  14),
    PushButton("Stop", kIdScanStop,                          61,  39,  50,  14),
    Progress(kIdScanProgress,                               117,  41, 196,  10),
    {kIdScanStatus, DlgItemKind::LText, "",                   7,  58, 306,   8, kStaticStyle},
    ListView(kIdScanUnits,                                    7,  70, 306, 110),
    LText("Double-click a unit to make it the main window's device.", 7, 184, 306, 8),
    LText("Parameter writes reach every unit on a shared bus: change a unit's "
          "parameters on the bench, alone on the wire.",      7, 196, 306,  20),
    PushButton("Use unit", kIdScanUse,                      209, 221,  50,  14),
    PushButton("Close", IDCANCEL,                           263, 221,  50,  14),
};

}  // namespace

const DlgTemplate kScanTemplate = {
    IDD_SCAN, "Scan bus", 320, 242, "宋体", 9, kItems,
};

}  // namespace dlg
