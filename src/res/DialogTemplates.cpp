#include "DialogTemplate.h"

#include <array>

#include "TemplateTables.h"

const DlgTemplate* FindDialogTemplate(int templateId) {
    static constexpr std::array kTemplates = {
        &dlg::kAboutTemplate,
        &dlg::kConfigTemplate,
        &dlg::kLcdTemplate,
        &dlg::kLightTemplate,
        &dlg::kWirelessTemplate,
        &dlg::kClearDeviceTemplate,
        &dlg::kMonitorTemplate,
        &dlg::kProfileTemplate,
        &dlg::kScanTemplate,
    };
    for (const DlgTemplate* t : kTemplates) {
        if (t->id == templateId) return t;
    }
    return nullptr;
}

int ButtonTypeOf(const DlgItem& item) {
    switch (item.kind) {
        case DlgItemKind::PushButton: return 0;     // BS_PUSHBUTTON
        case DlgItemKind::DefPushButton: return 1;  // BS_DEFPUSHBUTTON
        case DlgItemKind::AutoCheckBox: return 3;   // BS_AUTOCHECKBOX
        case DlgItemKind::GroupBox: return 7;       // BS_GROUPBOX
        default: return -1;
    }
}
