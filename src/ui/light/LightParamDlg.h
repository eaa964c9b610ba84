#pragma once

#include "app/BusyFlag.h"
#include "device/DeviceSession.h"
#include "widgets/DialogBase.h"

// The light intensity parameter window: upper limit, lower limit and hysteresis.
class CLightParamDlg : public CDialogBase {
public:
    static constexpr int kTemplateId = IDD_LIGHT_PARAM;
    // `busy` is the main window's flag, which guards every operation here.
    CLightParamDlg(CDeviceSession& session, CBusyFlag& busy, CDialogBase* owner = nullptr);

    void OnReadUpperLimit();
    void OnWriteUpperLimit();
    void OnReadLowerLimit();
    void OnWriteLowerLimit();
    void OnReadHysteresis();
    void OnWriteHysteresis();

private:
    CDeviceSession& m_session;
    CBusyFlag& m_busy;
};
