#include "RequestFrames.h"

#include "FrameCodes.h"
#include "FrameWriter.h"

// ---------------------------------------------------------------------------
// FD frames, 7 bytes. 0 in the baud or address byte leaves that setting alone,
// so a frame with both 0 is a pure query; the device answers every FD frame
// with its (new) baud code and address.
//
//   offset  0  1  2  3          4        5    6
//           FD FD FD baud-code  address  CRC  CRC
// ---------------------------------------------------------------------------

namespace {

std::uint16_t BuildFdFrame(TxBuffer tx, std::uint8_t baudCode, std::uint8_t address) {
    return CFrameWriter(tx).Mark(kFdMark).Byte(baudCode).Byte(address).Seal();
}

}  // namespace

std::uint16_t BuildFdQuery(TxBuffer tx) {
    return BuildFdFrame(tx, kFdLeaveUnchanged, kFdLeaveUnchanged);
}

std::uint16_t BuildFdSetAddress(TxBuffer tx, std::uint8_t address) {
    return BuildFdFrame(tx, kFdLeaveUnchanged, address);
}

std::uint16_t BuildFdSetBaud(TxBuffer tx, std::uint8_t fdBaudCode) {
    return BuildFdFrame(tx, fdBaudCode, kFdLeaveUnchanged);
}

// ---------------------------------------------------------------------------
// Function 03, 8 bytes:
//
//   offset  0        1   2       3       4   5      6    7
//           address  03  reg hi  reg lo  00  count  CRC  CRC
// ---------------------------------------------------------------------------

void BuildReadRequest(TxBuffer tx, std::uint8_t registerHigh, std::uint8_t registerLow,
                      std::uint8_t count) {
    if (tx.size() < kReadRequestBytes) return;
    tx[1] = kFuncReadRegisters;
    tx[2] = registerHigh;
    tx[3] = registerLow;
    tx[4] = 0x00;
    tx[5] = count;
}

std::uint16_t BuildRegisterRead(TxBuffer tx, std::uint8_t address, std::uint16_t firstRegister,
                                std::uint8_t count) {
    if (tx.size() < kReadRequestBytes) return 0;
    tx[0] = address;
    BuildReadRequest(tx, static_cast<std::uint8_t>(firstRegister >> 8),
                     static_cast<std::uint8_t>(firstRegister & 0xFF), count);
    return static_cast<std::uint16_t>(AppendCrc16(tx, kReadRequestBytes - kCrcBytes));
}

std::uint16_t BuildLineSettingsRead(TxBuffer tx) {
    return BuildRegisterRead(tx, kRegisterModeAddress, kRegLineSettings, kLineSettingsCount);
}

// ---------------------------------------------------------------------------
// Function 10 of the five line-setting registers, 19 bytes:
//
//   offset  0   1   2  3   4  5   6   7  8        9  10     11..16     17   18
//           FF  10  02 00  00 05  0A  00 address  00 baud   six 00     CRC  CRC
//           addr fn first  count  bytes  0x0200   0x0201    0x0202..0x0204
// ---------------------------------------------------------------------------

std::uint16_t BuildLineSettingsWrite(TxBuffer tx, std::uint8_t address, std::uint8_t baudCode) {
    return CFrameWriter(tx)
        .Byte(kRegisterModeAddress)
        .Byte(kFuncWriteRegisters)
        .Word(kRegLineSettings)
        .Word(kLineSettingsCount)
        .Byte(2 * kLineSettingsCount)
        .Word(address)   // 0x0200 bus address
        .Word(baudCode)  // 0x0201 register baud code
        .Word(kParityNone)
        .Word(0)  // 0x0203 first stop-bit status
        .Word(0)  // 0x0204 second stop-bit status
        .Seal();
}

// ---------------------------------------------------------------------------
// Function 06, 8 bytes; the device answers with the same 8 bytes:
//
//   offset  0        1   2       3       4         5         6    7
//           address  06  reg hi  reg lo  value hi  value lo  CRC  CRC
// ---------------------------------------------------------------------------

std::uint16_t BuildRegisterWrite(TxBuffer tx, std::uint8_t address, std::uint16_t reg,
                                 std::uint16_t value) {
    return CFrameWriter(tx).Byte(address).Byte(kFuncWriteRegister).Word(reg).Word(value).Seal();
}

// ---------------------------------------------------------------------------
// FC frames, 9 bytes; a read carries 00 00 as its value:
//
//   offset  0  1  2  3     4               5         6         7    8
//           FC FC FC code  00 read/01 write value hi  value lo  CRC  CRC
// ---------------------------------------------------------------------------

std::uint16_t BuildFcRead(TxBuffer tx, std::uint8_t code) {
    return CFrameWriter(tx).Mark(kFcMark).Byte(code).Byte(kOpRead).Word(0).Seal();
}

std::uint16_t BuildFcWrite(TxBuffer tx, std::uint8_t code, std::uint16_t value) {
    return CFrameWriter(tx).Mark(kFcMark).Byte(code).Byte(kOpWrite).Word(value).Seal();
}

// ---------------------------------------------------------------------------
// FB frames, 8 to 11 bytes by command:
//
//   command                 op  payload          length
//   01 enter configuration  01  00 00 00 00        11
//   02 leave configuration  01  00 00 00 00        11
//   03 configure receiver   01  index index         9
//   04 sleep time, read     00  00 00 00           10
//   04 sleep time, write    01  hi lo               9
//   05 temperature/humidity 01  00 00 00           10
//   06 clear receiver       01  index index         9
//   07 channel, read        00  00                  8
//   07 channel, write       01  channel             8
//
// The receiver index goes twice: the receiver takes the two bytes as a pair.
// ---------------------------------------------------------------------------

namespace {

CFrameWriter FbHead(TxBuffer tx, std::uint8_t command, std::uint8_t operation) {
    CFrameWriter writer(tx);
    writer.Mark(kFbMark).Byte(command).Byte(operation);
    return writer;
}

}  // namespace

std::uint16_t BuildFbEnterConfig(TxBuffer tx) {
    return FbHead(tx, kFbEnterConfig, kOpWrite).Zeros(4).Seal();
}

std::uint16_t BuildFbLeaveConfig(TxBuffer tx) {
    return FbHead(tx, kFbLeaveConfig, kOpWrite).Zeros(4).Seal();
}

std::uint16_t BuildFbConfigureReceiver(TxBuffer tx, std::uint8_t index) {
    return FbHead(tx, kFbConfigureReceiver, kOpWrite).Byte(index).Byte(index).Seal();
}

std::uint16_t BuildFbClearReceiver(TxBuffer tx, std::uint8_t index) {
    return FbHead(tx, kFbClearReceiver, kOpWrite).Byte(index).Byte(index).Seal();
}

std::uint16_t BuildFbSleepTimeRead(TxBuffer tx) {
    return FbHead(tx, kFbSleepTime, kOpRead).Zeros(3).Seal();
}

std::uint16_t BuildFbSleepTimeWrite(TxBuffer tx, std::uint16_t seconds) {
    return FbHead(tx, kFbSleepTime, kOpWrite).Word(seconds).Seal();
}

std::uint16_t BuildFbTemperatureHumidityRead(TxBuffer tx) {
    return FbHead(tx, kFbTemperatureHumidity, kOpWrite).Zeros(3).Seal();
}

std::uint16_t BuildFbChannelRead(TxBuffer tx) {
    return FbHead(tx, kFbChannel, kOpRead).Zeros(1).Seal();
}

std::uint16_t BuildFbChannelWrite(TxBuffer tx, std::uint8_t channel) {
    return FbHead(tx, kFbChannel, kOpWrite).Byte(channel).Seal();
}
