#pragma once

#include "device/DeviceSession.h"
#include "widgets/DialogBase.h"

// The light intensity parameter window: upper limit, lower limit and hysteresis.
class CLightParamDlg : public CDialogBase {
public:
    static constexpr int kTemplateId = IDD_LIGHT_PARAM;
    explicit CLightParamDlg(CDeviceSession& session, CDialogBase* owner = nullptr);

    void OnReadUpperLimit();
    void OnWriteUpperLimit();
    void OnReadLowerLimit();
    void OnWriteLowerLimit();
    void OnReadHysteresis();
    void OnWriteHysteresis();

private:
    CDeviceSession& m_session;
};
