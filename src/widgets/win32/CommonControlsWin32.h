#pragma once
// <windows.h> with the common controls (subclassing, the list view) and the
// message-cracking helpers, for the image button's and the frame log's .cpp
// files: without the macros that collide with the dialog verbs' names
// (MessageBox, SetDlgItemText, ...) and with the standard library (min, max).

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
