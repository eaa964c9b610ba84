// Template IDD_ABOUTBOX: the About box.

#include "ResourceIds.h"
#include "TemplateItems.h"
#include "TemplateTables.h"

namespace dlg {
namespace {

constexpr DlgItem kItems[] = {
    //     text / id                         x    y   cx   cy
    Icon(IDR_MAINFRAME,                      11,  17,  20, 20),
    LText("Sentrabus Version 2.2",           40,  10, 119,  8),
    LText("RS-485 transmitter set-up tool",  40,  25, 141,  8),
    LText("(C) 2026 Halvane",                40,  38,  73,  8),
    DefPushButton("Confirm", IDOK,          211,   7,  50, 14),
};

}  // namespace

const DlgTemplate kAboutTemplate = {
    IDD_ABOUTBOX, "About 485 series transmitter configuration software", 268, 61, "宋体", 9, kItems,
};

}  // namespace dlg
