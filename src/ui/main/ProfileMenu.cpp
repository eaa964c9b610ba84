// "Save profile..." and "Apply profile..." of the main window's menu: the
// connected device's settings to a file, and a file's settings to the device
// through the profile window. The file's name comes from the platform's Open
// or Save box as UTF-8 text and is opened in its wide form on Windows, so that
// a profile in C:\Users\Zoë\配置\ is read and written.

#include <string>

#include "ui/main/ConfigDlg.h"
#include "device/SmallFile.h"
#include "ui/profile/ProfileDlg.h"

namespace {

constexpr const char* kProfileCaption = "Profile";

FileDialogCall ProfileFileCall(FileDialogKind kind, const char* title) {
    return {kind, title, kind == FileDialogKind::Save ? "profile.json" : "",
            {{"Sentrabus profiles", "*.json"}, {"All files", "*"}}};
}

std::string KindWords(ProfileKind kind) {
    switch (kind) {
        case ProfileKind::Th: return "temperature/humidity transmitter";
        case ProfileKind::Light: return "light intensity sensor";
        case ProfileKind::Lcd: return "LCD relay controller";
        case ProfileKind::Wireless: return "wireless receiver";
    }
    return {};
}

}  // namespace

bool CConfigDlg::NeedsFoundDevice() {
    if (m_session.Device().address != 0) return false;
    MessageBox("Search the device first.", kProfileCaption, MsgIcon::Question);
    return true;
}

void CConfigDlg::OnSaveProfile() {
    if (const auto path = AskFileName(ProfileFileCall(FileDialogKind::Save, "Save profile"))) SaveProfileTo(*path);
}

void CConfigDlg::OnApplyProfile() {
    if (const auto path = AskFileName(ProfileFileCall(FileDialogKind::Open, "Apply profile"))) ApplyProfileFrom(*path);
}

void CConfigDlg::SaveProfileTo(const std::string& path) {
    if (NeedsFoundDevice()) return;
    const std::optional<ProfileKind> kind = DetectProfileKind(m_session);
    if (!kind) {
        MessageBox("The device did not say what kind it is.", kProfileCaption, MsgIcon::Question);
        return;
    }
    std::string failedSetting;
    LeaveOutcome left;
    const OpResult<Profile> profile = SaveProfile(m_session, *kind, &failedSetting, &left);
    WarnIfLeaveFailed(*this, left);
    if (!profile.Ok()) {
        MessageBox("Reading " + failedSetting + " failed: " + profile.outcome.Text(), kProfileCaption,
                   MsgIcon::Question);
        return;
    }
    if (ReplaceFile(FilePath(path), ProfileText(profile.value))) {
        MessageBox("The profile could not be written to " + path, kProfileCaption, MsgIcon::Question);
        return;
    }
    MessageBox("Profile of the " + KindWords(*kind) + " saved", kProfileCaption);
}

bool CConfigDlg::LoadProfileFrom(const std::string& path) {
    if (NeedsFoundDevice()) return false;
    const Checked<std::string> text = ReadSmallFile(FilePath(path));
    if (!text.Ok()) {
        MessageBox(path + " could not be read: " + text.refusal, kProfileCaption, MsgIcon::Question);
        return false;
    }
    const Checked<Profile> profile = ParseProfile(*text.value);
    if (!profile.Ok()) {
        MessageBox(profile.refusal, kProfileCaption, MsgIcon::Question);
        return false;
    }
    const std::optional<ProfileKind> kind = DetectProfileKind(m_session);
    if (kind != profile.value->kind) {
        MessageBox("The profile is for a " + KindWords(profile.value->kind) + ", but the device is " +
                       (kind ? "a " + KindWords(*kind) : std::string("of no known kind")) + ".",
                   kProfileCaption, MsgIcon::Question);
        return false;
    }
    m_profileDlg->SetProfile(*profile.value, Utf8Name(FilePath(path).filename()));
    return true;
}

void CConfigDlg::ApplyProfileFrom(const std::string& path) {
    if (LoadProfileFrom(path)) m_profileDlg->DoModal();
}
