#pragma once
// Control ids of the scan window (template IDD_SCAN).

inline constexpr int kIdScanSpeedFirst = 1700;  // 2400, 4800, 9600: one check box each
inline constexpr int kIdScanSpeedLast = 1702;
inline constexpr int kIdScanFirst = 1710;       // first address asked
inline constexpr int kIdScanLast = 1711;        // last address asked
inline constexpr int kIdScanStart = 1712;
inline constexpr int kIdScanStop = 1713;
inline constexpr int kIdScanProgress = 1714;
inline constexpr int kIdScanStatus = 1715;      // speed and address reached, units found, or why it stopped
inline constexpr int kIdScanUnits = 1716;       // one row per unit that answered
inline constexpr int kIdScanUse = 1717;         // the selected unit becomes the main window's device
