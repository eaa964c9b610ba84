#pragma once
// Codes, registers and fixed sizes of the four frame families on the bus.
//
// Every 16-bit field inside a frame travels high byte first; the CRC alone
// travels low byte first, as the last two bytes of the frame.

#include <cstddef>
#include <cstdint>

// --- Frame marks --------------------------------------------------------------
// FD, FC and FB frames carry no device address: three repeated mark bytes open
// them instead, so that any device of the family on the line takes the frame.
inline constexpr std::uint8_t kFdMark = 0xFD;  // address and baud query and set
inline constexpr std::uint8_t kFcMark = 0xFC;  // parameter read and write by code
inline constexpr std::uint8_t kFbMark = 0xFB;  // wireless receiver configuration
inline constexpr std::size_t kMarkBytes = 3;

inline constexpr std::size_t kCrcBytes = 2;

// --- FD frames ----------------------------------------------------------------
inline constexpr std::size_t kFdFrameBytes = 7;     // both directions
inline constexpr std::uint8_t kFdLeaveUnchanged = 0;  // in the baud or address byte

inline constexpr std::uint8_t kFdBaudCode2400 = 1;
inline constexpr std::uint8_t kFdBaudCode4800 = 2;
inline constexpr std::uint8_t kFdBaudCode9600 = 3;

// --- Register frames (Modbus RTU) ---------------------------------------------
inline constexpr std::uint8_t kFuncReadRegisters = 0x03;
inline constexpr std::uint8_t kFuncWriteRegister = 0x06;
inline constexpr std::uint8_t kFuncWriteRegisters = 0x10;
inline constexpr std::uint8_t kExceptionFlag = 0x80;  // set in the function byte of an exception reply

inline constexpr std::uint8_t kExceptionIllegalFunction = 0x01;
inline constexpr std::uint8_t kExceptionIllegalAddress = 0x02;
inline constexpr std::uint8_t kExceptionIllegalValue = 0x03;

// The register-frame device found by the search answers at this address,
// whatever bus address its registers hold.
inline constexpr std::uint8_t kRegisterModeAddress = 0xFF;

inline constexpr std::size_t kReadRequestBytes = 8;
inline constexpr std::size_t kWriteRegisterBytes = 8;

// Measurement registers, read with function 03. 0x0000 and 0x0001 are read
// together: humidity first, then temperature.
inline constexpr std::uint16_t kRegHumidity = 0x0000;
inline constexpr std::uint16_t kRegTemperature = 0x0001;
inline constexpr std::uint16_t kRegWaterLeak = 0x0002;  // CO2 on a CO2 sensor
inline constexpr std::uint16_t kRegCo2 = 0x0002;
inline constexpr std::uint16_t kRegPowerFailure = 0x0003;
inline constexpr std::uint16_t kRegCurrent = 0x0004;
inline constexpr std::uint16_t kRegVoltage = 0x0005;
inline constexpr std::uint16_t kRegLightIntensity = 0x0006;
inline constexpr std::uint16_t kMeasurementRegisters = 7;

// Line settings of the register-frame device, read and written together;
// only the low byte of each is used.
inline constexpr std::uint16_t kRegLineSettings = 0x0200;
inline constexpr std::uint16_t kRegLineAddress = 0x0200;
inline constexpr std::uint16_t kRegLineBaud = 0x0201;    // register baud code
inline constexpr std::uint16_t kRegLineParity = 0x0202;  // 0 none, 1 odd, 2 even
inline constexpr std::uint16_t kRegLineStop1 = 0x0203;   // 0 = normal
inline constexpr std::uint16_t kRegLineStop2 = 0x0204;   // 0 = normal
inline constexpr std::uint8_t kLineSettingsCount = 5;
inline constexpr std::size_t kLineSettingsReplyBytes = 3 + 2 * kLineSettingsCount + kCrcBytes;  // 15
inline constexpr std::size_t kLineSettingsWriteBytes = 7 + 2 * kLineSettingsCount + kCrcBytes;  // 19

inline constexpr std::uint8_t kParityNone = 0;
inline constexpr std::uint8_t kParityOdd = 1;
inline constexpr std::uint8_t kParityEven = 2;

// LCD relay controller.
inline constexpr std::uint16_t kRegLcdWorkMode = 0x002D;  // 1 to 4
inline constexpr std::uint16_t kRegLcdRelay1 = 0x002F;    // 1 = closed, 0 = open
inline constexpr std::uint16_t kRegLcdRelay2 = 0x0030;

// --- FC frames ----------------------------------------------------------------
inline constexpr std::size_t kFcRequestBytes = 9;
inline constexpr std::size_t kFcReplyBytes = 11;  // two values

inline constexpr std::uint8_t kOpRead = 0x00;   // FC and FB operation byte
inline constexpr std::uint8_t kOpWrite = 0x01;  // write, or act for FB commands

// Parameter codes. Limits and adjusts are sign-magnitude words, the others
// plain words. 9 and 10 are not used.
inline constexpr std::uint8_t kFcTemperatureAdjust = 1;
inline constexpr std::uint8_t kFcHumidityAdjust = 2;
inline constexpr std::uint8_t kFcTemperatureUpper = 3;
inline constexpr std::uint8_t kFcTemperatureLower = 4;
inline constexpr std::uint8_t kFcHumidityUpper = 5;
inline constexpr std::uint8_t kFcHumidityLower = 6;
inline constexpr std::uint8_t kFcTemperatureHysteresis = 7;
inline constexpr std::uint8_t kFcHumidityHysteresis = 8;
inline constexpr std::uint8_t kFcOutputDelay = 11;
inline constexpr std::uint8_t kFcRemoteSignal = 12;
inline constexpr std::uint8_t kFcLightUpper = 13;
inline constexpr std::uint8_t kFcLightLower = 14;
inline constexpr std::uint8_t kFcLightHysteresis = 15;

// --- FB frames ----------------------------------------------------------------
inline constexpr std::uint8_t kFbEnterConfig = 1;
inline constexpr std::uint8_t kFbLeaveConfig = 2;
inline constexpr std::uint8_t kFbConfigureReceiver = 3;
inline constexpr std::uint8_t kFbSleepTime = 4;
inline constexpr std::uint8_t kFbTemperatureHumidity = 5;
inline constexpr std::uint8_t kFbClearReceiver = 6;
inline constexpr std::uint8_t kFbChannel = 7;

inline constexpr std::size_t kFbValueReplyBytes = 11;  // two values
inline constexpr std::size_t kConfigBitmapBytes = 25;  // one bit per receiver address
inline constexpr std::size_t kReceiverAddresses = 200;
// FB FB FB, command, one byte, sleep time (2), bitmap (25), CRC (2).
inline constexpr std::size_t kFbConfigReplyBytes = 5 + 2 + kConfigBitmapBytes + kCrcBytes;  // 34
inline constexpr std::size_t kWirelessChannels = 64;

// Request length of an FB command, CRC included; 0 for a command the tool
// never sends. The sleep-time read pads its payload to three bytes, its write
// carries just the word.
constexpr std::size_t FbRequestLength(std::uint8_t command, std::uint8_t operation) {
    switch (command) {
        case kFbEnterConfig:
        case kFbLeaveConfig: return 11;
        case kFbConfigureReceiver:
        case kFbClearReceiver: return 9;
        case kFbSleepTime: return operation == kOpWrite ? 9 : 10;
        case kFbTemperatureHumidity: return 10;
        case kFbChannel: return 8;
        default: return 0;
    }
}
