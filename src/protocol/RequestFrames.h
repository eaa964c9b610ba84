#pragma once
// Builders of every request the tool sends. Each writes one whole frame, CRC
// included, at the start of `tx` (normally the link's RequestBuffer()) and returns its
// length, which is what ExchangeFrame is given. A buffer too small for the
// frame gets nothing written and a length of 0.

#include <cstdint>
#include <span>

using TxBuffer = std::span<std::uint8_t>;

// --- FD frames: FD FD FD, baud code, address, CRC lo, CRC hi ------------------
std::uint16_t BuildFdQuery(TxBuffer tx);                          // FD FD FD 00 00 E9 88
std::uint16_t BuildFdSetAddress(TxBuffer tx, std::uint8_t address);  // FD FD FD 00 aa ..
std::uint16_t BuildFdSetBaud(TxBuffer tx, std::uint8_t fdBaudCode);  // FD FD FD cc 00 ..

// --- Register frames -----------------------------------------------------------
// Fills bytes 1 to 5 of a function-03 read: 03, register hi, register lo, 00,
// count. The caller puts the address in byte 0 and the CRC in bytes 6 and 7.
void BuildReadRequest(TxBuffer tx, std::uint8_t registerHigh, std::uint8_t registerLow,
                      std::uint8_t count);
// The whole 8-byte function-03 read.
std::uint16_t BuildRegisterRead(TxBuffer tx, std::uint8_t address, std::uint16_t firstRegister,
                                std::uint8_t count);
// FF 03 02 00 00 05 91 AF: the five line-setting registers of the register
// device, read at address 255.
std::uint16_t BuildLineSettingsRead(TxBuffer tx);
// The 19-byte function-10 write of the five line-setting registers at address
// 255: new address and baud code, parity and both stop-bit registers 0.
std::uint16_t BuildLineSettingsWrite(TxBuffer tx, std::uint8_t address, std::uint8_t baudCode);
// Function 06: one register, answered by an echo of the 8 bytes.
std::uint16_t BuildRegisterWrite(TxBuffer tx, std::uint8_t address, std::uint16_t reg,
                                 std::uint16_t value);

// --- FC frames: FC FC FC, code, operation, value hi, value lo, CRC -------------
std::uint16_t BuildFcRead(TxBuffer tx, std::uint8_t code);
std::uint16_t BuildFcWrite(TxBuffer tx, std::uint8_t code, std::uint16_t value);

// --- FB frames: FB FB FB, command, operation, payload, CRC ---------------------
std::uint16_t BuildFbEnterConfig(TxBuffer tx);   // FB FB FB 01 01 00 00 00 00 45 ED
std::uint16_t BuildFbLeaveConfig(TxBuffer tx);   // FB FB FB 02 01 00 00 00 00 45 DE
// Receiver address index 0..199 (address N has index N - 1).
std::uint16_t BuildFbConfigureReceiver(TxBuffer tx, std::uint8_t index);
std::uint16_t BuildFbClearReceiver(TxBuffer tx, std::uint8_t index);
std::uint16_t BuildFbSleepTimeRead(TxBuffer tx);
std::uint16_t BuildFbSleepTimeWrite(TxBuffer tx, std::uint16_t seconds);
std::uint16_t BuildFbTemperatureHumidityRead(TxBuffer tx);
std::uint16_t BuildFbChannelRead(TxBuffer tx);
std::uint16_t BuildFbChannelWrite(TxBuffer tx, std::uint8_t channel);
