#include "AboutDlg.h"

namespace {
constexpr int kIdOk = 1;
}

CAboutDlg::CAboutDlg(QWidget* parent) : CDialogBase(kTemplateId, parent) {
    OnCommand(kIdOk, [this] { OnOK(); });
}
