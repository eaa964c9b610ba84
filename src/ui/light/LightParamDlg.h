#pragma once

#include "device/DeviceSession.h"
#include "widgets/DialogBase.h"

// The light intensity parameter window: upper limit, lower limit and hysteresis.
class CLightParamDlg : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 144;
    explicit CLightParamDlg(CDeviceSession& session, QWidget* parent = nullptr);

    void OnReadUpperLimit();
    void OnWriteUpperLimit();
    void OnReadLowerLimit();
    void OnWriteLowerLimit();
    void OnReadHysteresis();
    void OnWriteHysteresis();

private:
    CDeviceSession& m_session;
};
