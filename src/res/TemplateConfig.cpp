// Template IDD_CONFIG_DIALOG: the main configuration window. One row per parameter, top to
// bottom: right-aligned label, field, Read, Write. Labels are 8 units high,
// edit fields 41 x 13, buttons 45 x 13 unless a row says otherwise.

#include "IdsConfig.h"
#include "ResourceIds.h"
#include "TemplateItems.h"
#include "TemplateTables.h"

namespace dlg {
namespace {

constexpr int kEditCx = 41, kEditCy = 13;
constexpr int kButtonCx = 45, kButtonCy = 13;

constexpr DlgItem Field(int id, int x, int y) { return EditText(id, x, y, kEditCx, kEditCy); }
constexpr DlgItem Read(int id, int x, int y) {
    return PushButton("Read", id, x, y, kButtonCx, kButtonCy);
}
constexpr DlgItem Write(int id, int x, int y) {
    return PushButton("Write", id, x, y, kButtonCx, kButtonCy);
}

constexpr const char* kPortNames[] = {
    "COM1",  "COM2",  "COM3",  "COM4",  "COM5",  "COM6",  "COM7",  "COM8",  "COM9",  "COM10",
    "COM11", "COM12", "COM13", "COM14", "COM15", "COM16", "COM17", "COM18", "COM19", "COM20",
    "COM21", "COM22", "COM23", "COM24", "COM25", "COM26", "COM27", "COM28", "COM29", "COM30",
};
constexpr const char* kRemoteSignalStates[] = {"Normally Open", "Normally Close"};

// The current and voltage reading: all six controls share one rectangle.
constexpr int kHiddenX = 267, kHiddenY = 7, kHiddenCx = 15, kHiddenCy = 13;

constexpr DlgItem kItems[] = {
    //     text / id                         x    y   cx   cy
    RText("Serial Port Num:",                46,  13,  65,  8),
    ComboDropDown(kIdPortList,                     118,  10,  40, 78, kPortNames),
    PushButton("Search Device", kIdSearchDevice,       178,   6,  62, 21),

    RText("Device Address:",                 46,  35,  65,  8),
    Field(kIdAddressField,                             118,  33),
    Read(kIdReadAddress,                              177,  32),
    Write(kIdWriteAddress,                             231,  33),

    RText("Device Band Rate:",               42,  55,  69,  8),
    Field(kIdBaudField,                             118,  53),
    Read(kIdReadBaud,                              177,  52),
    Write(kIdWriteBaud,                             231,  53),

    RText("Temperature Value:",              38,  75,  73,  8),
    Field(kIdTemperatureField,                             118,  73),
    Read(kIdReadTemperature,                              177,  72),

    RText("Humidity Value:",                 50,  95,  61,  8),
    Field(kIdHumidityField,                             118,  93),
    Read(kIdReadHumidity,                              177,  92),

    RText("Water Leak Status:",              38, 115,  73,  8),
    Field(kIdWaterLeakField,                             118, 113),
    Read(kIdReadWaterLeak,                              177, 112),

    RText("Power Failure Status:",           26, 135,  85,  8),
    Field(kIdPowerFailureField,                             118, 133),
    Read(kIdReadPowerFailure,                              177, 132),

    RText("Light Intensity Value:",          22, 154,  89,  8),
    Field(kIdLightField,                             118, 151),
    Read(kIdReadLight,                              176, 150),
    PushButton("Para Set", kIdLightParamSet,            231, 150, kButtonCx, kButtonCy),

    RText("CO2 Concentration:",              34, 174,  77,  8),
    Field(kIdCo2Field,                             118, 171),
    Read(kIdReadCo2,                              176, 170),

    RText("Switch Output Delay:",            30, 194,  81,  8),
    Field(kIdOutputDelayField,                             118, 191),
    Read(kIdReadOutputDelay,                              175, 191),
    Write(kIdWriteOutputDelay,                             233, 192),

    RText("Remote Signal Normal Set:",       10, 213, 101,  8),
    ComboDropDown(kIdRemoteSignalBox,                     112, 211,  61, 50, kRemoteSignalStates),
    Read(kIdReadRemoteSignal,                              175, 213),
    Write(kIdWriteRemoteSignal,                             233, 212),

    RText("Humidity UpperLimit:",            30, 235,  81,  8),
    Field(kIdHumidityUpperField,                             118, 233),
    Read(kIdReadHumidityUpper,                              177, 232),
    Write(kIdWriteHumidityUpper,                             233, 232),

    RText("Humidity Lower Limit:",           26, 255,  85,  8),
    Field(kIdHumidityLowerField,                             118, 253),
    Read(kIdReadHumidityLower,                              177, 252),
    Write(kIdWriteHumidityLower,                             233, 252),

    RText("Temperature Upper Limit:",        14, 275,  97,  8),
    Field(kIdTemperatureUpperField,                             118, 273),
    Read(kIdReadTemperatureUpper,                              177, 272),
    Write(kIdWriteTemperatureUpper,                             233, 272),

    RText("Temperature Lower Limit:",        14, 293,  97,  8),
    Field(kIdTemperatureLowerField,                             118, 291),
    Read(kIdReadTemperatureLower,                              177, 291),
    Write(kIdWriteTemperatureLower,                             233, 290),

    RText("Humidity Hysteresis:",            30, 311,  81,  8),
    Field(kIdHumidityHysteresisField,                             118, 309),
    Read(kIdReadHumidityHysteresis,                              177, 309),
    Write(kIdWriteHumidityHysteresis,                             233, 309),

    RText("Temperature Hysteresis:",         18, 330,  93,  8),
    Field(kIdTemperatureHysteresisField,                             118, 328),
    Read(kIdReadTemperatureHysteresis,                              177, 328),
    Write(kIdWriteTemperatureHysteresis,                             233, 328),

    RText("Humidity Adjust:",                46, 348,  65,  8),
    Field(kIdHumidityAdjustField,                             118, 346),
    Read(kIdReadHumidityAdjust,                              177, 345),
    Write(kIdWriteHumidityAdjust,                             233, 345),

    RText("Temperature Adjust:",             26, 368,  85,  8),
    Field(kIdTemperatureAdjustField,                             118, 366),
    Read(kIdReadTemperatureAdjust,                              177, 365),
    Write(kIdWriteTemperatureAdjust,                             233, 365),

    RText("LCD Device Control Mode:",        48, 390, 101,  8),
    PushButton("LCD Device Control Mode Set", kIdLcdControlMode, 177, 387, 113, 14),

    RText("Wireless Receiver Para Set:",     40, 409, 109,  8),
    PushButton("Wireless Device Para Set ", kIdWirelessParaSet, 177, 407, 114, 14),

    // Current and voltage: in the template, but never shown.
    RText("电流：",                kHiddenX, kHiddenY, kHiddenCx, kHiddenCy, DlgStyle::Disabled),
    EditText(kIdCurrentField,                 kHiddenX, kHiddenY, kHiddenCx, kHiddenCy, kHiddenDisabled | DlgStyle::AutoHScroll),
    PushButton("查询", kIdReadCurrent,       kHiddenX, kHiddenY, kHiddenCx, kHiddenCy, kHiddenDisabled),
    RText("电压：",                kHiddenX, kHiddenY, kHiddenCx, kHiddenCy, DlgStyle::Disabled),
    EditText(kIdVoltageField,                 kHiddenX, kHiddenY, kHiddenCx, kHiddenCy, kHiddenDisabled | DlgStyle::AutoHScroll),
    PushButton("查询", kIdReadVoltage,       kHiddenX, kHiddenY, kHiddenCx, kHiddenCy, kHiddenDisabled),
};

}  // namespace

const DlgTemplate kConfigTemplate = {
    IDD_CONFIG_DIALOG,
    "485 Series transmitter configuration software V2.2",
    300, 437,
    "宋体", 9,
    kItems,
    /*minimizeBox=*/true,
};

}  // namespace dlg
