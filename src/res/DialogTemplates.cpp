#include "DialogTemplate.h"

#include <array>

#include "TemplateTables.h"

const DlgTemplate* FindDialogTemplate(int templateId) {
    static constexpr std::array kTemplates = {
        &dlg::kAboutTemplate,
        &dlg::kConfigTemplate,
        &dlg::kLcdTemplate,
        &dlg::kLightTemplate,
    };
    for (const DlgTemplate* t : kTemplates) {
        if (t->id == templateId) return t;
    }
    return nullptr;
}
