// "Save profile..." and "Apply profile..." of the main window's menu: the
// connected device's settings to a file, and a file's settings to the device
// through the profile window.

#include <fstream>
#include <sstream>

#include <QFileDialog>
#include <QFileInfo>

#include "ProfileDlg.h"
#include "app/ConfigDlg.h"

namespace {

const QString kProfileCaption = QStringLiteral("Profile");
const QString kProfileFilter = QStringLiteral("Sentrabus profiles (*.json);;All files (*)");

QString KindWords(ProfileKind kind) {
    switch (kind) {
        case ProfileKind::Th: return QStringLiteral("temperature/humidity transmitter");
        case ProfileKind::Light: return QStringLiteral("light intensity sensor");
        case ProfileKind::Lcd: return QStringLiteral("LCD relay controller");
        case ProfileKind::Wireless: return QStringLiteral("wireless receiver");
    }
    return {};
}

}  // namespace

bool CConfigDlg::NeedsFoundDevice() {
    if (m_session.m_devAddress != 0) return false;
    MessageBox(QStringLiteral("Search the device first."), kProfileCaption, MsgIcon::Question);
    return true;
}

void CConfigDlg::OnSaveProfile() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save profile"),
                                                      QStringLiteral("profile.json"), kProfileFilter);
    if (!path.isEmpty()) SaveProfileTo(path);
}

void CConfigDlg::OnApplyProfile() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Apply profile"), QString(), kProfileFilter);
    if (!path.isEmpty()) ApplyProfileFrom(path);
}

void CConfigDlg::SaveProfileTo(const QString& path) {
    if (NeedsFoundDevice()) return;
    const std::optional<ProfileKind> kind = DetectProfileKind(m_session);
    if (!kind) {
        MessageBox(QStringLiteral("The device did not say what kind it is."), kProfileCaption, MsgIcon::Question);
        return;
    }
    std::string failedSetting;
    const OpResult<Profile> profile = SaveProfile(m_session, *kind, &failedSetting);
    if (!profile.Ok()) {
        MessageBox(QStringLiteral("Reading %1 failed: %2")
                       .arg(QString::fromStdString(failedSetting), QString::fromStdString(profile.outcome.Text())),
                   kProfileCaption, MsgIcon::Question);
        return;
    }
    std::ofstream file(path.toStdString(), std::ios::binary | std::ios::trunc);
    file << ProfileText(profile.value);
    file.close();
    if (!file) {
        MessageBox(QStringLiteral("The profile could not be written to %1").arg(path), kProfileCaption,
                   MsgIcon::Question);
        return;
    }
    MessageBox(QStringLiteral("Profile of the %1 saved").arg(KindWords(*kind)), kProfileCaption);
}

CProfileDlg* CConfigDlg::ApplyProfileFrom(const QString& path, bool modal) {
    if (NeedsFoundDevice()) return nullptr;
    std::ifstream file(path.toStdString(), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    if (!file) {
        MessageBox(QStringLiteral("%1 could not be read").arg(path), kProfileCaption, MsgIcon::Question);
        return nullptr;
    }
    const Checked<Profile> profile = ParseProfile(text.str());
    if (!profile.Ok()) {
        MessageBox(QString::fromStdString(profile.refusal), kProfileCaption, MsgIcon::Question);
        return nullptr;
    }
    const std::optional<ProfileKind> kind = DetectProfileKind(m_session);
    if (kind != profile.value->kind) {
        MessageBox(QStringLiteral("The profile is for a %1, but the device is %2.")
                       .arg(KindWords(profile.value->kind),
                            kind ? QStringLiteral("a ") + KindWords(*kind) : QStringLiteral("of no known kind")),
                   kProfileCaption, MsgIcon::Question);
        return nullptr;
    }
    m_profileDlg = std::make_unique<CProfileDlg>(m_session, *profile.value, QFileInfo(path).fileName(), this);
    m_profileDlg->Compare();
    if (!modal) {
        m_profileDlg->show();
        return m_profileDlg.get();
    }
    m_profileDlg->exec();
    return nullptr;
}
