#pragma once

#include "app/BusyFlag.h"
#include "device/DeviceSession.h"
#include "widgets/DialogBase.h"

// The LCD relay controller window: work mode, relay queries and relay switches.
class CLcdControlDlg : public CDialogBase {
public:
    static constexpr int kTemplateId = IDD_LCD_CONTROL;
    // `busy` is the main window's flag, which guards every operation here.
    CLcdControlDlg(CDeviceSession& session, CBusyFlag& busy, CDialogBase* owner = nullptr);

    void EnableRelayControls(bool enable);

    void OnQueryRelay1();
    void OnModeSelChange();
    void OnSetWorkMode();
    void OnQueryRelay2();
    void OnRelay1Close();
    void OnRelay1Open();
    void OnRelay2Close();
    void OnRelay2Open();

protected:
    bool OnInitDialog() override;

private:
    CDeviceSession& m_session;
    CBusyFlag& m_busy;
};
