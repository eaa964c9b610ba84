// Template IDD_LIGHT_PARAM: the light intensity limits window. "Lower limit：" ends in a
// full-width colon.

#include "IdsLight.h"
#include "ResourceIds.h"
#include "TemplateItems.h"
#include "TemplateTables.h"

namespace dlg {
namespace {

constexpr DlgItem kItems[] = {
    //     text / id                         x    y   cx   cy
    RText("Upper limit:",                    14,  17,  49,  8),
    EditText(kIdLightUpperField,                           69,  14,  38, 12),
    PushButton("Read", kIdReadLightUpper,                116,  14,  27, 12),
    PushButton("Write", kIdWriteLightUpper,               148,  14,  27, 12),

    RText("Lower limit：",                   14,  38,  52,  8),
    EditText(kIdLightLowerField,                           69,  36,  38, 12),
    PushButton("Read", kIdReadLightLower,                116,  36,  27, 12),
    PushButton("Write", kIdWriteLightLower,               148,  36,  27, 12),

    RText("Hysteresis:",                     18,  59,  45,  8),
    EditText(kIdLightHysteresisField,                           69,  57,  38, 12),
    PushButton("Read", kIdReadLightHysteresis,                116,  56,  27, 12),
    PushButton("Write", kIdWriteLightHysteresis,               148,  56,  27, 12),
};

}  // namespace

const DlgTemplate kLightTemplate = {
    IDD_LIGHT_PARAM, "Light Intensity Parameter Setting", 187, 96, "宋体", 10, kItems,
};

}  // namespace dlg
