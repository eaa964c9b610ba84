#pragma once
// The system's message box for a call that no hook took.

#include "widgets/MessageBoxCall.h"

struct HWND__;

// Modal to `owner` (nullptr: to nothing); returns the button pressed (IDOK).
// Ctrl+C in the box copies it, as every Windows box does.
int ShowSystemMessageBox(HWND__* owner, const MessageBoxCall& call);
