#pragma once
// <windows.h> for the Win32 widget files, without the macros that collide
// with the dialog verbs' names (MessageBox, SetDlgItemText, ...) and with
// the standard library (min, max). Include it in .cpp files only.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#undef MessageBox
#undef SetDlgItemText
#undef GetDlgItemText
#undef DrawText
#undef IDOK
#undef IDCANCEL
