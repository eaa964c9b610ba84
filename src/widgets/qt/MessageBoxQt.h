#pragma once
// The Qt message box behind the seam of MessageBoxCall.h. Dialogs reach it
// through CDialogBase::MessageBox; the Qt-only windows (frame log, monitor,
// profiles) call ShowMessageBox with their own widget as owner.

#include <string_view>

#include "widgets/MessageBoxCall.h"

class QWidget;

// An empty caption means the application's name. The hook, when one is set,
// takes the box's place. Returns the button pressed (always OK: 1).
int ShowMessageBox(QWidget* owner, std::string_view text, std::string_view caption = {},
                   MsgIcon icon = MsgIcon::None);
