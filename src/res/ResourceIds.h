#pragma once
// Numbers of the program's resources: dialog templates, icons and strings.

inline constexpr int IDD_ABOUTBOX = 100;        // About box
inline constexpr int IDS_ABOUTBOX = 101;        // "About" entry of the main window's menu
inline constexpr int IDD_CONFIG_DIALOG = 102;   // main configuration window
inline constexpr int IDR_MAINFRAME = 128;       // application icon
inline constexpr int IDD_WIRELESS_PARAM = 132;  // wireless receiver's parameters window
inline constexpr int IDD_CLEAR_DEVICE = 138;    // "clear this device?" box of the receiver grid
inline constexpr int IDI_NOT_CONFIGURED = 140;  // grid legend: address not configured
inline constexpr int IDI_CONFIGURED = 141;      // grid legend: address configured
inline constexpr int IDD_LCD_CONTROL = 142;     // LCD relay controller window
inline constexpr int IDD_LIGHT_PARAM = 144;     // light intensity limits window
inline constexpr int IDD_MONITOR = 150;         // monitor window (controls 1500-1599)
inline constexpr int IDD_PROFILE = 152;         // profile table before and after Apply (controls 1600-1699)
inline constexpr int IDD_SCAN = 154;            // scan of a bus of units (controls 1700-1799)

// The dialog manager's command ids of the OK and Cancel actions.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
