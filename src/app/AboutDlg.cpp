#include "AboutDlg.h"

namespace {
constexpr int kIdOk = 1;
}

CAboutDlg::CAboutDlg(CDialogBase* owner) : CDialogBase(kTemplateId, owner) {
    OnCommand(kIdOk, [this] { OnOK(); });
}
