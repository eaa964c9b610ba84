// Template IDD_CLEAR_DEVICE: the question asked before a configured receiver address is
// cleared. Both buttons close the box; the window reads the answer it left.

#include "IdsWireless.h"
#include "ResourceIds.h"
#include "TemplateItems.h"
#include "TemplateTables.h"

namespace dlg {
namespace {

constexpr DlgItem kItems[] = {
    //     text / id                         x    y   cx   cy
    LText("是否清除本设备？",                 48,  17,  75,  8),
    PushButton("是", kIdClearYes,                   24,  36,  38, 13),
    PushButton("否", kIdClearNo,                   93,  36,  38, 13),
};

}  // namespace

const DlgTemplate kClearDeviceTemplate = {
    IDD_CLEAR_DEVICE, "提示", 162, 73, "宋体", 12, kItems,
};

}  // namespace dlg
