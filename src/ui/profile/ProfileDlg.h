#pragma once
// The profile window of the main window's menu: a profile's settings against
// the connected device, one row each (parameter, on the device, in the
// profile), shown before anything is written; "Apply" writes what differs,
// reads it back and fills in each row's outcome.

#include <optional>
#include <string>

#include "device/ProfileEngine.h"
#include "widgets/DialogBase.h"

// When `left` says the leave from a wireless receiver's configuration mode
// failed, tells the operator over `dlg` as the wireless window does: the
// receiver may still be in the mode until it is powered off and on.
void WarnIfLeaveFailed(CDialogBase& dlg, const LeaveOutcome& left);

class CProfileDlg : public CDialogBase {
public:
    static constexpr int kTemplateId = IDD_PROFILE;
    enum Column { kParameter, kOnDevice, kInProfile, kOutcome, kColumns };

    explicit CProfileDlg(CDeviceSession& session, CDialogBase* owner = nullptr);

    // The profile the next opening compares with the device, and the name of
    // its file for the title.
    void SetProfile(Profile profile, std::string fileName);

    // Writes what differs and reads it back; each row's outcome as it comes.
    void OnApply();

protected:
    // Reads the device's value of every setting into the table.
    bool OnInitDialog() override;

private:
    void Compare();
    int RowOf(const std::string& name) const;
    void FitColumns();

    CDeviceSession& m_session;
    std::optional<Profile> m_profile;
    std::string m_fileName;
};
