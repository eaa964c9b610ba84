// Template IDD_LCD_CONTROL: the LCD relay controller window.

#include "IdsLcd.h"
#include "ResourceIds.h"
#include "TemplateItems.h"
#include "TemplateTables.h"

namespace dlg {
namespace {

constexpr const char* kWorkModes[] = {"模式1", "模式2", "模式3", "模式4"};

constexpr DlgItem kItems[] = {
    //     text / id                         x    y   cx   cy
    RText("LCD device control mode:",         8,  20,  84,  8),
    ComboDropDown(kIdModeBox,                      98,  18,  48, 58, kWorkModes),
    PushButton("Set", kIdSetMode,                 156,  18,  34, 12),

    RText("Relay 1 Status:",                 40,  38,  51,  8),
    EditText(kIdRelay1Status,                           98,  38,  46, 10),
    PushButton("Query", kIdQueryRelay1,               156,  38,  33, 11),

    RText("Relay 2 Status:",                 39,  54,  51,  8),
    EditText(kIdRelay2Status,                           98,  54,  46, 10),
    PushButton("Query", kIdQueryRelay2,               156,  54,  33, 11),

    PushButton("Relay1Close", kIdRelay1Close,          51,  79,  49, 14),
    PushButton("Relay1Open", kIdRelay1Open,          121,  79,  49, 14),
    PushButton("Relay2Close", kIdRelay2Close,          51,  99,  49, 14),
    PushButton("Relay2Open", kIdRelay2Open,          121,  99,  49, 14),
};

}  // namespace

const DlgTemplate kLcdTemplate = {
    IDD_LCD_CONTROL, "液晶控制", 235, 140, "System", 10, kItems,
};

}  // namespace dlg
