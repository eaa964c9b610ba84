// Template 102: the main configuration window. One row per parameter, top to
// bottom: right-aligned label, field, Read, Write. Labels are 8 units high,
// edit fields 41 x 13, buttons 45 x 13 unless a row says otherwise.

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
    ComboDropDown(1000,                     118,  10,  40, 78, kPortNames),
    PushButton("Search Device", 1001,       178,   6,  62, 21),

    RText("Device Address:",                 46,  35,  65,  8),
    Field(1012,                             118,  33),
    Read(1007,                              177,  32),
    Write(1003,                             231,  33),

    RText("Device Band Rate:",               42,  55,  69,  8),
    Field(1013,                             118,  53),
    Read(1008,                              177,  52),
    Write(1004,                             231,  53),

    RText("Temperature Value:",              38,  75,  73,  8),
    Field(1014,                             118,  73),
    Read(1005,                              177,  72),

    RText("Humidity Value:",                 50,  95,  61,  8),
    Field(1015,                             118,  93),
    Read(1009,                              177,  92),

    RText("Water Leak Status:",              38, 115,  73,  8),
    Field(1016,                             118, 113),
    Read(1006,                              177, 112),

    RText("Power Failure Status:",           26, 135,  85,  8),
    Field(1017,                             118, 133),
    Read(1010,                              177, 132),

    RText("Light Intensity Value:",          22, 154,  89,  8),
    Field(1030,                             118, 151),
    Read(1020,                              176, 150),
    PushButton("Para Set", 1069,            231, 150, kButtonCx, kButtonCy),

    RText("CO2 Concentration:",              34, 174,  77,  8),
    Field(1031,                             118, 171),
    Read(1021,                              176, 170),

    RText("Switch Output Delay:",            30, 194,  81,  8),
    Field(1063,                             118, 191),
    Read(1064,                              175, 191),
    Write(1065,                             233, 192),

    RText("Remote Signal Normal Set:",       10, 213, 101,  8),
    ComboDropDown(1066,                     112, 211,  61, 50, kRemoteSignalStates),
    Read(1067,                              175, 213),
    Write(1068,                             233, 212),

    RText("Humidity UpperLimit:",            30, 235,  81,  8),
    Field(1032,                             118, 233),
    Read(1039,                              177, 232),
    Write(1022,                             233, 232),

    RText("Humidity Lower Limit:",           26, 255,  85,  8),
    Field(1033,                             118, 253),
    Read(1040,                              177, 252),
    Write(1023,                             233, 252),

    RText("Temperature Upper Limit:",        14, 275,  97,  8),
    Field(1034,                             118, 273),
    Read(1041,                              177, 272),
    Write(1024,                             233, 272),

    RText("Temperature Lower Limit:",        14, 293,  97,  8),
    Field(1035,                             118, 291),
    Read(1042,                              177, 291),
    Write(1025,                             233, 290),

    RText("Humidity Hysteresis:",            30, 311,  81,  8),
    Field(1047,                             118, 309),
    Read(1049,                              177, 309),
    Write(1045,                             233, 309),

    RText("Temperature Hysteresis:",         18, 330,  93,  8),
    Field(1048,                             118, 328),
    Read(1050,                              177, 328),
    Write(1046,                             233, 328),

    RText("Humidity Adjust:",                46, 348,  65,  8),
    Field(1036,                             118, 346),
    Read(1043,                              177, 345),
    Write(1026,                             233, 345),

    RText("Temperature Adjust:",             26, 368,  85,  8),
    Field(1037,                             118, 366),
    Read(1044,                              177, 365),
    Write(1027,                             233, 365),

    RText("LCD Device Control Mode:",        48, 390, 101,  8),
    PushButton("LCD Device Control Mode Set", 1052, 177, 387, 113, 14),

    RText("Wireless Receiver Para Set:",     40, 409, 109,  8),
    PushButton("Wireless Device Para Set ", 1038, 177, 407, 114, 14),

    // Current and voltage: in the template, but never shown.
    RText("电流：",                kHiddenX, kHiddenY, kHiddenCx, kHiddenCy, DlgStyle::Disabled),
    EditText(1028,                 kHiddenX, kHiddenY, kHiddenCx, kHiddenCy, kHiddenDisabled | DlgStyle::AutoHScroll),
    PushButton("查询", 1018,       kHiddenX, kHiddenY, kHiddenCx, kHiddenCy, kHiddenDisabled),
    RText("电压：",                kHiddenX, kHiddenY, kHiddenCx, kHiddenCy, DlgStyle::Disabled),
    EditText(1029,                 kHiddenX, kHiddenY, kHiddenCx, kHiddenCy, kHiddenDisabled | DlgStyle::AutoHScroll),
    PushButton("查询", 1019,       kHiddenX, kHiddenY, kHiddenCx, kHiddenCy, kHiddenDisabled),
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
