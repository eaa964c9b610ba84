// Template IDD_WIRELESS_PARAM: the wireless receiver's parameters window. Channel and sleep
// time along the top, the legend in the top right corner, and the grid of the
// receiver's 200 addresses: 8 rows of 25 square buttons with empty captions,
// each row named by its first and last address.

#include <array>

#include "IdsWireless.h"
#include "ResourceIds.h"
#include "TemplateItems.h"
#include "TemplateTables.h"

namespace dlg {
namespace {

constexpr int kGridColumns = 25;
constexpr int kGridRows = 8;
constexpr int kFirstGridId = kIdFirstGridButton;
constexpr int kGridButtonSize = 16;
constexpr int kColumnPitch = 19;
constexpr int kFirstColumnX = 44;
// Columns 15 to 24 sit one unit lower than the first fifteen.
constexpr int kLowerColumnsFrom = 15;
constexpr std::array<int, kGridRows> kRowY = {71, 92, 112, 131, 150, 170, 191, 211};

// Row labels are right-aligned and 8 units high: the left ones end at x = 38,
// the right ones start at x = 518. Their widths follow the number of digits.
constexpr int kLeftLabelsEnd = 38;
constexpr int kRightLabelsStart = 518;
constexpr int kLabelOffsetY = 5;
constexpr const char* kLeftLabels[kGridRows] = {"Addr1",   "Addr26",  "Addr51",  "Addr76",
                                                "Addr101", "Addr126", "Addr151", "Addr176"};
constexpr const char* kRightLabels[kGridRows] = {"Addr25",  "Addr50",  "Addr75",  "Addr100",
                                                 "Addr125", "Addr150", "Addr175", "Addr200"};

constexpr int LabelWidth(const char* text) {
    int digits = 0;
    for (const char* c = text; *c != '\0'; ++c) digits += (*c >= '0' && *c <= '9') ? 1 : 0;
    return 17 + 4 * digits;  // "Addr1" is 21 units wide
}

constexpr DlgItem kTopItems[] = {
    //     text / id                         x    y   cx   cy
    LText("Communication channel:",          11,  25,  89,  8),
    ComboDropDown(kIdChannelBox,                     105,  24,  37, 113, {}),
    PushButton("Read Channel", kIdReadChannel,        153,  23,  53, 14),
    PushButton("Write Channel", kIdWriteChannel,       232,  23,  57, 14),
    PushButton("Read T&&H Value", kIdReadTh,     301,  23,  61, 14),
    EditText(kIdThValue,                          367,  24,  69, 12, kEditStyle | DlgStyle::ReadOnly),

    LText("Device sleep time(S):",           14,  48,  85,  8),
    EditText(kIdSleepTime,                          105,  46,  36, 12),
    PushButton("Read Sleep Time", kIdReadSleepTime,     153,  45,  65, 14),
    PushButton("Write Sleep Time", kIdWriteSleepTime,    232,  45,  69, 14),

    Icon(IDI_CONFIGURED,                    457,  18,  20, 20),
    LText("Configured",                     445,  41,  41,  8),
    Icon(IDI_NOT_CONFIGURED,                510,  18,  20, 20),
    LText("Not configured",                 495,  41,  57,  8),
};

constexpr std::size_t kRowItems = kGridColumns + 2;
constexpr std::size_t kItemCount = std::size(kTopItems) + kGridRows * kRowItems;

// Each row: its left label, its 25 buttons, its right label.
constexpr std::array<DlgItem, kItemCount> MakeItems() {
    std::array<DlgItem, kItemCount> items{};
    std::size_t n = 0;
    for (const DlgItem& item : kTopItems) items[n++] = item;
    for (int row = 0; row < kGridRows; ++row) {
        const int y = kRowY[row];
        const int leftWidth = LabelWidth(kLeftLabels[row]);
        items[n++] = RText(kLeftLabels[row], kLeftLabelsEnd - leftWidth, y + kLabelOffsetY, leftWidth, 8);
        for (int column = 0; column < kGridColumns; ++column) {
            const int id = kFirstGridId + row * kGridColumns + column;
            const int x = kFirstColumnX + kColumnPitch * column;
            const int lower = column >= kLowerColumnsFrom ? 1 : 0;
            items[n++] = PushButton("", id, x, y + lower, kGridButtonSize, kGridButtonSize);
        }
        items[n++] = RText(kRightLabels[row], kRightLabelsStart, y + kLabelOffsetY,
                           LabelWidth(kRightLabels[row]), 8);
    }
    return items;
}

constexpr std::array<DlgItem, kItemCount> kItems = MakeItems();

}  // namespace

const DlgTemplate kWirelessTemplate = {
    IDD_WIRELESS_PARAM, "Wireless Parameters", 559, 254, "宋体", 10, kItems,
};

}  // namespace dlg
