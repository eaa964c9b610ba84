#include "ClearDeviceDlg.h"

#include "res/IdsWireless.h"

CClearDeviceDlg::CClearDeviceDlg(CDialogBase* owner) : CDialogBase(kTemplateId, owner) {
    OnCommand(kIdClearYes, [this] { OnYes(); });
    OnCommand(kIdClearNo, [this] { OnNo(); });
}

void CClearDeviceDlg::OnYes() {
    m_answer = true;
    EndDialog(IDOK);
}

void CClearDeviceDlg::OnNo() {
    m_answer = false;
    EndDialog(IDOK);
}
