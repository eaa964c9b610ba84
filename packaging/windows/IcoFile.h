#pragma once
// Windows icon files (.ico) made from the program's own drawings, for the
// Windows build's resource script: the application icon (128) and the
// wireless grid's legend (140, 141).

#include <vector>

#include <QByteArray>
#include <QImage>

// An icon file holding `images`, each square and at most 256 pixels: images
// below 256 pixels as 32-bit bitmaps with their mask (what every Windows
// reads), a 256-pixel one as PNG (what Windows expects at that size).
QByteArray IcoFileBytes(const std::vector<QImage>& images);

// The sizes each icon is written at: 16, 32, 48 and 256 for the application;
// the legend's squares at 16 (their own size), 32 (the size a static icon
// control takes) and 48 (the same at 150 % scale).
std::vector<int> WindowsIconSizes(int iconId);
// Icon `iconId` (128, 140 or 141) as the Windows build carries it.
QByteArray WindowsIconFile(int iconId);
