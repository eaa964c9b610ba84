#pragma once
// Control ids of the profile window (template IDD_PROFILE).

inline constexpr int kIdProfileSummary = 1600;  // what the table shows, or what Apply did
inline constexpr int kIdProfileTable = 1601;    // one row per setting of the profile
inline constexpr int kIdProfileApply = 1602;
