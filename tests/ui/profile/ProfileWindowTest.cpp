// The profile entries of the main window's menu against a simulated
// transmitter: the table shows the device beside the profile before anything
// is written, Apply writes what differs and says how each row fared, and a
// file that cannot be used is refused with a box.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>

#include "device/Profile.h"
#include "support/MainWindowFixture.h"
#include "ui/profile/ProfileDlg.h"

namespace {

class ProfileWindow : public MainWindowFixture {
protected:
    std::string WriteFile(const std::string& text) {
        const std::string path = m_dir.filePath(QStringLiteral("p%1.json").arg(++m_files)).toStdString();
        std::ofstream(path) << text;
        return path;
    }
    static QString Cell(CProfileDlg& dlg, int row, int column) { return dlg.Table()->item(row, column)->text(); }

    QTemporaryDir m_dir;
    int m_files = 0;
};

TEST_F(ProfileWindow, ShowsTheDeviceBesideTheProfileThenAppliesWhatDiffers) {
    OpenOnFoundDevice({.kind = sim::DeviceKind::Th, .address = 5, .baud = 4800});
    Device().SetFcParam(kFcTemperatureAdjust, 0x800F);  // -1.5
    const std::string path = WriteFile(R"({"format": "sentrabus-profile", "version": 1, "kind": "th",
        "parameters": {"temperature-upper": 45, "temperature-adjust": -1.5}})");
    CProfileDlg* dlg = Dlg().ApplyProfileFrom(path, /*modal=*/false);
    ASSERT_NE(dlg, nullptr);
    ASSERT_EQ(dlg->Table()->rowCount(), 2);
    EXPECT_EQ(Cell(*dlg, 0, CProfileDlg::kParameter), "temperature-upper");
    EXPECT_EQ(Cell(*dlg, 0, CProfileDlg::kOnDevice), "35");
    EXPECT_EQ(Cell(*dlg, 0, CProfileDlg::kInProfile), "45");
    EXPECT_EQ(Cell(*dlg, 0, CProfileDlg::kOutcome), "to write");
    EXPECT_EQ(Cell(*dlg, 1, CProfileDlg::kOutcome), "same");
    EXPECT_EQ(Device().FcParam(kFcTemperatureUpper), 35);  // nothing written yet

    dlg->ApplyButton()->click();
    EXPECT_EQ(Device().FcParam(kFcTemperatureUpper), 45);
    EXPECT_EQ(Cell(*dlg, 0, CProfileDlg::kOutcome), "written and verified");
    EXPECT_EQ(Cell(*dlg, 0, CProfileDlg::kOnDevice), "45");
    EXPECT_EQ(Cell(*dlg, 1, CProfileDlg::kOutcome), "unchanged");
    EXPECT_EQ(dlg->Summary()->text(), "The device now holds the profile.");
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(ProfileWindow, SavesTheDevicesSettingsAndRefusesFilesItCannotUse) {
    OpenOnFoundDevice({.kind = sim::DeviceKind::Th, .address = 5, .baud = 4800});
    Device().SetFcParam(kFcHumidityLower, 0x8005);  // -5
    const std::string saved = m_dir.filePath(QStringLiteral("saved.json")).toStdString();
    Dlg().SaveProfileTo(saved);
    EXPECT_EQ(OnlyBox().text, "Profile of the temperature/humidity transmitter saved");
    std::ifstream file(saved);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const Checked<Profile> profile = ParseProfile(text);
    ASSERT_TRUE(profile.Ok()) << profile.refusal;
    EXPECT_NE(text.find("\"humidity-lower\": -5"), std::string::npos) << text;

    const struct {
        std::string file;
        std::string box;
    } refused[] = {
        {"{", "not a profile: the file is not JSON"},
        {R"({"format": "sentrabus-profile", "version": 1, "kind": "light", "parameters": {}})",
         "The profile is for a light intensity sensor, but the device is a temperature/humidity transmitter."},
    };
    for (const auto& c : refused) {
        ClearBoxes();
        ClearRequests();
        EXPECT_EQ(Dlg().ApplyProfileFrom(WriteFile(c.file), false), nullptr);
        EXPECT_EQ(OnlyBox().text, c.box);
        for (const sim::Frame& f : Requests()) EXPECT_NE(f[4], kOpWrite) << "nothing is written";
    }
}

}  // namespace

namespace {

// Not a check: with SENTRABUS_SCREENSHOTS=DIR, the profile window before and
// after Apply on a simulated transmitter, saved as
// DIR/profile-before.png and DIR/profile-after.png to look at.
TEST_F(ProfileWindow, Screenshot) {
    const char* directory = std::getenv("SENTRABUS_SCREENSHOTS");
    if (directory == nullptr) GTEST_SKIP() << "set SENTRABUS_SCREENSHOTS=DIR to save them";
    OpenOnFoundDevice({.kind = sim::DeviceKind::Th, .address = 5, .baud = 4800});
    const std::string path = WriteFile(R"({"format": "sentrabus-profile", "version": 1, "kind": "th",
        "parameters": {"temperature-upper": 45, "temperature-lower": -10, "humidity-upper": 80,
                       "humidity-hysteresis": 2.5, "temperature-adjust": -1.5, "remote-signal": "closed"}})");
    CProfileDlg* dlg = Dlg().ApplyProfileFrom(path, /*modal=*/false);
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(dlg->grab().save(QString::fromLocal8Bit(directory) + "/profile-before.png"));
    dlg->ApplyButton()->click();
    EXPECT_TRUE(dlg->grab().save(QString::fromLocal8Bit(directory) + "/profile-after.png"));
}

}  // namespace
