#pragma once
// The templates, one table per dialog (TemplateAbout.cpp, TemplateConfig.cpp,
// TemplateLcd.cpp, TemplateLight.cpp, TemplateWireless.cpp,
// TemplateClearDevice.cpp, TemplateMonitor.cpp, TemplateProfile.cpp,
// TemplateScan.cpp); FindDialogTemplate looks them up.

#include "DialogTemplate.h"

namespace dlg {
extern const DlgTemplate kAboutTemplate;
extern const DlgTemplate kConfigTemplate;
extern const DlgTemplate kLcdTemplate;
extern const DlgTemplate kLightTemplate;
extern const DlgTemplate kWirelessTemplate;
extern const DlgTemplate kClearDeviceTemplate;
extern const DlgTemplate kMonitorTemplate;
extern const DlgTemplate kProfileTemplate;
extern const DlgTemplate kScanTemplate;
}  // namespace dlg
