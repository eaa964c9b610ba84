#pragma once
// Control ids of the light intensity limits window (template IDD_LIGHT_PARAM).

inline constexpr int kIdLightUpperField = 1070;
inline constexpr int kIdReadLightUpper = 1073;
inline constexpr int kIdWriteLightUpper = 1074;
inline constexpr int kIdLightLowerField = 1071;
inline constexpr int kIdReadLightLower = 1075;
inline constexpr int kIdWriteLightLower = 1076;
inline constexpr int kIdLightHysteresisField = 1072;
inline constexpr int kIdReadLightHysteresis = 1077;
inline constexpr int kIdWriteLightHysteresis = 1078;
