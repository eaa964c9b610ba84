// Template IDD_MONITOR: the monitor window. The readings to poll and their last
// values in large type, the interval and the buttons on the left, the
// counters below them, the charts on the right.

#include "IdsMonitor.h"
#include "ResourceIds.h"
#include "TemplateItems.h"
#include "TemplateTables.h"

namespace dlg {
namespace {

constexpr std::uint32_t kValueStyle = kStaticStyle | DlgStyle::LargeText;

constexpr DlgItem CheckBox(const char* text, int id, int y) {
    return {id, DlgItemKind::AutoCheckBox, text, 14, y, 90, 12};
}
// Wide enough for an outcome in large type ("no reply").
constexpr DlgItem LastValue(int id, int y) { return {id, DlgItemKind::RText, "\u2014", 106, y - 2, 76, 16, kValueStyle}; }

constexpr DlgItem kItems[] = {
    {kStatic, DlgItemKind::GroupBox, "Readings", 7, 5, 180, 161, kStaticStyle},
    CheckBox("Temperature",   kIdMonitorReadingFirst + 0,  20),  LastValue(kIdMonitorValueFirst + 0,  20),
    CheckBox("Humidity",      kIdMonitorReadingFirst + 1,  38),  LastValue(kIdMonitorValueFirst + 1,  38),
    CheckBox("Water leak",    kIdMonitorReadingFirst + 2,  56),  LastValue(kIdMonitorValueFirst + 2,  56),
    CheckBox("Power failure", kIdMonitorReadingFirst + 3,  74),  LastValue(kIdMonitorValueFirst + 3,  74),
    CheckBox("Current",       kIdMonitorReadingFirst + 4,  92),  LastValue(kIdMonitorValueFirst + 4,  92),
    CheckBox("Voltage",       kIdMonitorReadingFirst + 5, 110),  LastValue(kIdMonitorValueFirst + 5, 110),
    CheckBox("Light",         kIdMonitorReadingFirst + 6, 128),  LastValue(kIdMonitorValueFirst + 6, 128),
    CheckBox("CO2",           kIdMonitorReadingFirst + 7, 146),  LastValue(kIdMonitorValueFirst + 7, 146),

    //     text / id                                  x    y   cx   cy
    LText("Interval (s):",                             9, 176,  52,  8),
    EditText(kIdMonitorInterval,                      64, 174,  40, 12),
    DefPushButton("Start", kIdMonitorStart,            7, 194,  70, 14),
    PushButton("Clear", kIdMonitorClear,              82, 194,  70, 14),
    PushButton("Read limits", kIdMonitorReadLimits,    7, 212,  70, 14),
    PushButton("Log to CSV...", kIdMonitorLogCsv,     82, 212,  70, 14),
    PushButton("Save picture...", kIdMonitorSavePicture, 7, 230, 70, 14),
    {kIdMonitorCounters, DlgItemKind::LText, "", 7, 252, 180, 120, kStaticStyle},

    {kIdMonitorCharts, DlgItemKind::Canvas, "", 193, 5, 462, 420, DlgStyle::Visible},
};

}  // namespace

const DlgTemplate kMonitorTemplate = {
    IDD_MONITOR, "Monitor", 660, 430, "宋体", 9, kItems, true,
};

}  // namespace dlg
