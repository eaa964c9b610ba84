#pragma once
// Control ids of the LCD relay controller window (template IDD_LCD_CONTROL).

inline constexpr int kIdModeBox = 1057;      // "模式1" to "模式4"
inline constexpr int kIdSetMode = 1059;      // "Set"
inline constexpr int kIdRelay1Status = 1058;
inline constexpr int kIdQueryRelay1 = 1060;
inline constexpr int kIdRelay2Status = 1063;
inline constexpr int kIdQueryRelay2 = 1064;
inline constexpr int kIdRelay1Close = 1062;
inline constexpr int kIdRelay1Open = 1067;
inline constexpr int kIdRelay2Close = 1065;
inline constexpr int kIdRelay2Open = 1066;
