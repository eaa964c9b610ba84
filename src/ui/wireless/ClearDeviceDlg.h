#pragma once

#include "widgets/DialogBase.h"

// "是否清除本设备？": asked before a configured receiver address is cleared.
// Both buttons close the box the same way; the caller reads m_answer.
class CClearDeviceDlg : public CDialogBase {
public:
    static constexpr int kTemplateId = IDD_CLEAR_DEVICE;
    explicit CClearDeviceDlg(CDialogBase* owner = nullptr);

    // True only after "是". Closing the box any other way (Esc, its close box)
    // is taken as "否", so that nothing is cleared by a stale answer.
    bool m_answer = false;

    void OnYes();
    void OnNo();

protected:
    void OnOK() override { OnNo(); }
    void OnCancel() override { OnNo(); }
};
