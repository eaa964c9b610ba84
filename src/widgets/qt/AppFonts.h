#pragma once
// The dialog templates name Windows fonts (宋体, System) that Linux does not
// have. The program maps them to one font that has the Chinese glyphs and is
// installed everywhere the program runs, so that the windows measure the same
// on every machine.

inline constexpr const char* kDialogFontFamily = "WenQuanYi Zen Hei";

// Call once after the application object exists and before any window is built.
void InstallDialogFontSubstitutions();
