// "Save profile..." and "Apply profile..." of the main window's menu: the
// connected device's settings to a file, and a file's settings to the device
// through the profile window.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <QFileDialog>

#include "ProfileDlg.h"
#include "ui/main/PlatformWindowsQt.h"

namespace {

constexpr const char* kProfileCaption = "Profile";
const QString kProfileFilter = QStringLiteral("Sentrabus profiles (*.json);;All files (*)");

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
    if (m_session.m_devAddress != 0) return false;
    MessageBox("Search the device first.", kProfileCaption, MsgIcon::Question);
    return true;
}

void CConfigDlg::OnSaveProfile() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save profile"),
                                                      QStringLiteral("profile.json"), kProfileFilter);
    if (!path.isEmpty()) SaveProfileTo(path.toStdString());
}

void CConfigDlg::OnApplyProfile() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Apply profile"), QString(), kProfileFilter);
    if (!path.isEmpty()) ApplyProfileFrom(path.toStdString());
}

void CConfigDlg::SaveProfileTo(const std::string& path) {
    if (NeedsFoundDevice()) return;
    const std::optional<ProfileKind> kind = DetectProfileKind(m_session);
    if (!kind) {
        MessageBox("The device did not say what kind it is.", kProfileCaption, MsgIcon::Question);
        return;
    }
    std::string failedSetting;
    const OpResult<Profile> profile = SaveProfile(m_session, *kind, &failedSetting);
    if (!profile.Ok()) {
        MessageBox("Reading " + failedSetting + " failed: " + profile.outcome.Text(), kProfileCaption,
                   MsgIcon::Question);
        return;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << ProfileText(profile.value);
    file.close();
    if (!file) {
        MessageBox("The profile could not be written to " + path, kProfileCaption, MsgIcon::Question);
        return;
    }
    MessageBox("Profile of the " + KindWords(*kind) + " saved", kProfileCaption);
}

CProfileDlg* CConfigDlg::ApplyProfileFrom(const std::string& path, bool modal) {
    if (NeedsFoundDevice()) return nullptr;
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    if (!file) {
        MessageBox(path + " could not be read", kProfileCaption, MsgIcon::Question);
        return nullptr;
    }
    const Checked<Profile> profile = ParseProfile(text.str());
    if (!profile.Ok()) {
        MessageBox(profile.refusal, kProfileCaption, MsgIcon::Question);
        return nullptr;
    }
    const std::optional<ProfileKind> kind = DetectProfileKind(m_session);
    if (kind != profile.value->kind) {
        MessageBox("The profile is for a " + KindWords(profile.value->kind) + ", but the device is " +
                       (kind ? "a " + KindWords(*kind) : std::string("of no known kind")) + ".",
                   kProfileCaption, MsgIcon::Question);
        return nullptr;
    }
    auto& window = m_platformWindows->profile;
    const std::string fileName = std::filesystem::path(path).filename().string();
    window = std::make_unique<CProfileDlg>(m_session, *profile.value, QString::fromStdString(fileName), this);
    window->Compare();
    if (!modal) {
        window->show();
        return window.get();
    }
    window->exec();
    return nullptr;
}
