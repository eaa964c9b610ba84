// Template IDD_PROFILE: a profile's settings against the connected device, one row
// each, before and after Apply. Close is the default button, so that Enter
// never writes to the device.

#include "IdsProfile.h"
#include "ResourceIds.h"
#include "TemplateItems.h"
#include "TemplateTables.h"

namespace dlg {
namespace {

constexpr DlgItem kItems[] = {
    //     text / id                                  x    y   cx   cy
    {kIdProfileSummary, DlgItemKind::LText, "",       7,   7, 316,  16, kStaticStyle},
    ListView(kIdProfileTable,                         7,  27, 316, 146),
    PushButton("Apply", kIdProfileApply,            219, 179,  50,  14),
    DefPushButton("Close", IDCANCEL,                273, 179,  50,  14),
};

}  // namespace

const DlgTemplate kProfileTemplate = {
    IDD_PROFILE, "Apply profile", 330, 200, "宋体", 9, kItems,
};

}  // namespace dlg
