#pragma once
// Control ids of the wireless parameters window (template IDD_WIRELESS_PARAM) and of the
// clear-device question (template IDD_CLEAR_DEVICE).

inline constexpr int kIdChannelBox = 1049;      // "通道0" .. "通道63"
inline constexpr int kIdReadChannel = 1090;
inline constexpr int kIdWriteChannel = 1092;
inline constexpr int kIdSleepTime = 1048;       // seconds, 0..65535
inline constexpr int kIdReadSleepTime = 1091;
inline constexpr int kIdWriteSleepTime = 1093;
inline constexpr int kIdReadTh = 1051;
inline constexpr int kIdThValue = 1052;         // read-only

// The receiver grid: address N is control 1139 + N - 1.
inline constexpr int kIdFirstGridButton = 1139;
inline constexpr int kIdLastGridButton = 1338;

inline constexpr int kIdClearYes = 1050;        // "是"
inline constexpr int kIdClearNo = 1051;         // "否"
