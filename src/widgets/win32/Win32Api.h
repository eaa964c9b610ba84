#pragma once
// <windows.h> for the backend's .cpp files, without the macros that would
// rename the dialog verbs (MessageBox, SetDlgItemText, GetDlgItemText) when
// they are defined. Include it after the headers that declare those verbs or
// use IDOK / IDCANCEL (res/ResourceIds.h defines both as constants, which
// <windows.h> would turn into numbers).

#include <windows.h>

#undef MessageBox
#undef SetDlgItemText
#undef GetDlgItemText
