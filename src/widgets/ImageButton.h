#pragma once
// The owner-drawn image button of the platform: Qt on Linux, GDI on Windows.
// Both take the same calls from the windows, with the codes of
// ImageButtonCodes.h.

#if defined(_WIN32)
#include "win32/ImageButtonWin32.h"
#else
#include "qt/ImageButtonQt.h"
#endif
