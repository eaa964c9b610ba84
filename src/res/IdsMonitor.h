#pragma once
// Control ids of the monitor window (template IDD_MONITOR).

// A tick box and a last value per reading, in the order of the readings
// (temperature, humidity, water leak, power failure, current, voltage, light,
// CO2): the first id plus the reading's number.
inline constexpr int kIdMonitorReadingFirst = 1500;
inline constexpr int kIdMonitorValueFirst = 1510;
inline constexpr int kIdMonitorInterval = 1520;
inline constexpr int kIdMonitorStart = 1521;
inline constexpr int kIdMonitorClear = 1522;
inline constexpr int kIdMonitorReadLimits = 1523;
inline constexpr int kIdMonitorLogCsv = 1524;
inline constexpr int kIdMonitorSavePicture = 1525;
inline constexpr int kIdMonitorCounters = 1526;
inline constexpr int kIdMonitorCharts = 1530;
