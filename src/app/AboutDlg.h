#pragma once

#include "widgets/DialogBase.h"

// The About box: icon, version line, two lines of text and "Confirm".
class CAboutDlg : public CDialogBase {
public:
    static constexpr int kTemplateId = IDD_ABOUTBOX;
    explicit CAboutDlg(CDialogBase* owner = nullptr);
};
