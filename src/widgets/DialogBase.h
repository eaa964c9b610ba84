#pragma once
// The platform's dialog class CDialogBase, with the verbs of DialogVerbs.h:
// a Qt dialog on Linux, a Win32 dialog on Windows.

#if defined(_WIN32)
#include "win32/DialogBaseWin32.h"
#else
#include "qt/DialogBaseQt.h"
#endif
