#pragma once

#include "widgets/DialogBase.h"

// The About box: icon, version line, two lines of text and "Confirm".
class CAboutDlg : public CDialogBase {
public:
    static constexpr int kTemplateId = 100;
    explicit CAboutDlg(CDialogBase* owner = nullptr);
};
