#pragma once
// Control ids of the main configuration window (template IDD_CONFIG_DIALOG). A reading's
// field, its Read button; a parameter's field, its Read and Write buttons.

inline constexpr int kIdPortList = 1000;
inline constexpr int kIdSearchDevice = 1001;

inline constexpr int kIdAddressField = 1012;
inline constexpr int kIdReadAddress = 1007;
inline constexpr int kIdWriteAddress = 1003;
inline constexpr int kIdBaudField = 1013;
inline constexpr int kIdReadBaud = 1008;
inline constexpr int kIdWriteBaud = 1004;

inline constexpr int kIdTemperatureField = 1014;
inline constexpr int kIdReadTemperature = 1005;
inline constexpr int kIdHumidityField = 1015;
inline constexpr int kIdReadHumidity = 1009;
inline constexpr int kIdWaterLeakField = 1016;
inline constexpr int kIdReadWaterLeak = 1006;
inline constexpr int kIdPowerFailureField = 1017;
inline constexpr int kIdReadPowerFailure = 1010;
inline constexpr int kIdLightField = 1030;
inline constexpr int kIdReadLight = 1020;
inline constexpr int kIdLightParamSet = 1069;
inline constexpr int kIdCo2Field = 1031;
inline constexpr int kIdReadCo2 = 1021;
// Current and voltage: in the template, never shown.
inline constexpr int kIdCurrentField = 1028;
inline constexpr int kIdReadCurrent = 1018;
inline constexpr int kIdVoltageField = 1029;
inline constexpr int kIdReadVoltage = 1019;

inline constexpr int kIdOutputDelayField = 1063;
inline constexpr int kIdReadOutputDelay = 1064;
inline constexpr int kIdWriteOutputDelay = 1065;
inline constexpr int kIdRemoteSignalBox = 1066;  // "Normally Open", "Normally Close"
inline constexpr int kIdReadRemoteSignal = 1067;
inline constexpr int kIdWriteRemoteSignal = 1068;

inline constexpr int kIdHumidityUpperField = 1032;
inline constexpr int kIdReadHumidityUpper = 1039;
inline constexpr int kIdWriteHumidityUpper = 1022;
inline constexpr int kIdHumidityLowerField = 1033;
inline constexpr int kIdReadHumidityLower = 1040;
inline constexpr int kIdWriteHumidityLower = 1023;
inline constexpr int kIdTemperatureUpperField = 1034;
inline constexpr int kIdReadTemperatureUpper = 1041;
inline constexpr int kIdWriteTemperatureUpper = 1024;
inline constexpr int kIdTemperatureLowerField = 1035;
inline constexpr int kIdReadTemperatureLower = 1042;
inline constexpr int kIdWriteTemperatureLower = 1025;
inline constexpr int kIdHumidityHysteresisField = 1047;
inline constexpr int kIdReadHumidityHysteresis = 1049;
inline constexpr int kIdWriteHumidityHysteresis = 1045;
inline constexpr int kIdTemperatureHysteresisField = 1048;
inline constexpr int kIdReadTemperatureHysteresis = 1050;
inline constexpr int kIdWriteTemperatureHysteresis = 1046;
inline constexpr int kIdHumidityAdjustField = 1036;
inline constexpr int kIdReadHumidityAdjust = 1043;
inline constexpr int kIdWriteHumidityAdjust = 1026;
inline constexpr int kIdTemperatureAdjustField = 1037;
inline constexpr int kIdReadTemperatureAdjust = 1044;
inline constexpr int kIdWriteTemperatureAdjust = 1027;

inline constexpr int kIdLcdControlMode = 1052;
inline constexpr int kIdWirelessParaSet = 1038;
