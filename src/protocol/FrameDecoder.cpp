// The words of requests and replies. Every read goes through CFrameView, which
// gives 0 for a byte beyond the frame, and every field is looked at only after
// the frame was found long enough to hold it; a frame too short for its
// family's fields is said to be cut short.

#include "FrameDecoder.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>

#include "Crc16.h"
#include "FrameCodes.h"
#include "FrameView.h"
#include "Catalogue.h"
#include "FrameWords.h"

namespace {

// How many bytes of an unknown frame its words repeat.
constexpr std::size_t kUnknownBytesShown = 8;
// Shortest frames whose fields can be named: mark, code, operation (FC, FB),
// or address, function, two words (register frames).
constexpr std::size_t kMarkedFieldsBytes = 5;
constexpr std::size_t kRegisterFieldsBytes = 6;
constexpr std::size_t kShortestFrameBytes = kFdFrameBytes;

std::string Num(unsigned value) { return std::to_string(value); }

std::string UnknownFrame(FrameBytes f) {
    std::string words = "unknown family: " + HexText(f.first(std::min(f.size(), kUnknownBytesShown)));
    if (f.size() > kUnknownBytesShown) words += " ...";
    return words;
}

std::string CutShort(const char* family, FrameBytes f) {
    return std::string(family) + " frame cut short (" + Num(static_cast<unsigned>(f.size())) + " bytes)";
}

std::string FcLabel(std::uint8_t code) {
    const std::string name = FcParameterName(code);
    if (name.empty()) return "unknown code " + Num(code);
    return name + " (code " + Num(code) + ")";
}

std::string OperationWord(std::uint8_t op) {
    if (op == kOpRead) return "read";
    if (op == kOpWrite) return "write";
    return "operation " + Num(op);
}

// "humidity, temperature" for the registers a read names; "" when it names
// none the tool knows.
std::string RegisterList(std::uint16_t first, unsigned count) {
    if (first == kRegLineSettings && count == kLineSettingsCount) return "line settings";
    std::string list;
    for (unsigned i = 0; i < count && i < kLineSettingsCount; ++i) {
        const std::string name = RegisterName(static_cast<std::uint16_t>(first + i));
        if (name.empty()) continue;
        if (!list.empty()) list += ", ";
        list += name;
    }
    return list;
}

std::string ConfiguredAddresses(FrameBytes bitmap) {
    std::string list;
    unsigned count = 0;
    const auto configured = [&](unsigned index) {
        return index < bitmap.size() * 8 && (bitmap[index / 8] >> (index % 8) & 1) != 0;
    };
    for (unsigned i = 0; i < kReceiverAddresses; ++i) {
        if (!configured(i)) continue;
        unsigned last = i;
        while (last + 1 < kReceiverAddresses && configured(last + 1)) ++last;
        if (!list.empty()) list += ", ";
        list += Num(i + 1);
        if (last > i) list += "-" + Num(last + 1);
        count += last - i + 1;
        i = last;
    }
    if (count == 0) return "no address configured";
    return Num(count) + (count == 1 ? " address configured: " : " addresses configured: ") + list;
}

// --- requests ------------------------------------------------------------------

std::string FdRequest(const CFrameView& f) {
    if (!f.Has(kMarkedFieldsBytes)) return CutShort("FD", f.Bytes());
    const std::uint8_t code = f.Byte(3);
    const std::uint8_t address = f.Byte(4);
    if (code == kFdLeaveUnchanged && address == kFdLeaveUnchanged) return "FD query";
    if (code == kFdLeaveUnchanged) return "FD set address " + Num(address);
    if (address == kFdLeaveUnchanged) return "FD set " + FdBaudText(code);
    return "FD set " + FdBaudText(code) + " and address " + Num(address);
}

std::string FcRequest(const CFrameView& f) {
    if (!f.Has(kMarkedFieldsBytes)) return CutShort("FC", f.Bytes());
    const std::uint8_t code = f.Byte(3);
    const std::uint8_t op = f.Byte(4);
    std::string words = "FC " + OperationWord(op) + " " + FcLabel(code);
    if (op != kOpRead && f.HasFields(7)) words += " = " + FcValueText(code, f.Word(5));
    return words;
}

std::string FbRequest(const CFrameView& f) {
    if (!f.Has(kMarkedFieldsBytes)) return CutShort("FB", f.Bytes());
    const std::uint8_t command = f.Byte(3);
    const bool write = f.Byte(4) == kOpWrite;
    switch (command) {
        case kFbEnterConfig:
        case kFbLeaveConfig:
        case kFbTemperatureHumidity: return "FB " + std::string(command == kFbTemperatureHumidity ? "read " : "") +
                                            FbCommandName(command);
        case kFbConfigureReceiver:
        case kFbClearReceiver:
            // The address index goes twice; address N has index N - 1.
            if (!f.HasFields(6)) break;
            return "FB " + FbCommandName(command) + " " + Num(f.Byte(5) + 1u);
        case kFbSleepTime:
            if (!write) return "FB read sleep time";
            if (!f.HasFields(7)) break;
            return "FB write sleep time " + Num(f.Word(5)) + " s";
        case kFbChannel:
            if (!write) return "FB read channel";
            if (!f.HasFields(6)) break;
            return "FB write channel " + Num(f.Byte(5));
        default: break;
    }
    return "FB command " + Num(command) + (FbCommandName(command).empty() ? " (unknown)" : "") + ", " +
           OperationWord(f.Byte(4)) + ", payload " + HexText(f.FieldSlice(kMarkedFieldsBytes));
}

std::string LineSettingsWords(const CFrameView& f, std::size_t first) {
    // Each register's low byte is the one that counts.
    return "address " + Num(f.Byte(first + 1)) + ", " + RegisterBaudText(f.Byte(first + 3)) + ", parity " +
           Num(f.Byte(first + 5)) + ", stop bits " + Num(f.Byte(first + 7)) + " " + Num(f.Byte(first + 9));
}

std::string RegisterRequest(const CFrameView& f) {
    if (!f.Has(kRegisterFieldsBytes)) return CutShort("register", f.Bytes());
    const std::string at = " at address " + Num(f.Byte(0));
    const std::uint16_t reg = f.Word(2);
    const std::uint16_t second = f.Word(4);
    switch (f.Byte(1)) {
        case kFuncReadRegisters: {
            const std::string names = RegisterList(reg, second);
            std::string words = second == 1 ? "register read of " + Hex16(reg)
                                            : "register read of " + Num(second) + " registers from " + Hex16(reg);
            return words + at + (names.empty() ? "" : " (" + names + ")");
        }
        case kFuncWriteRegister: {
            const std::string name = RegisterName(reg);
            return "register write of " + Hex16(reg) + " = " + Num(second) + at + (name.empty() ? "" : " (" + name + ")");
        }
        case kFuncWriteRegisters:
            if (reg == kRegLineSettings && second == kLineSettingsCount && f.HasFields(7 + 2 * kLineSettingsCount)) {
                return "register write of the line settings" + at + ": " + LineSettingsWords(f, 7);
            }
            return "register write of " + Num(second) + " registers from " + Hex16(reg) + at;
        default: return UnknownFrame(f.Bytes());
    }
}

// --- replies -------------------------------------------------------------------

std::string FcReply(const CFrameView& f) {
    if (!f.HasFields(7)) return CutShort("FC", f.Bytes());
    const std::uint8_t code = f.Byte(3);
    const std::string name = FcParameterName(code);
    if (name.empty()) return "FC reply: unknown code " + Num(code) + ", value " + Hex16(f.Word(5));
    return "FC reply: " + name + " = " + FcValueText(code, f.Word(5));
}

std::string FbConfigReply(const CFrameView& f) {
    constexpr std::size_t kBitmapOffset = 7;
    if (!f.HasFields(kBitmapOffset + kConfigBitmapBytes)) return CutShort("FB configuration", f.Bytes());
    return "FB configuration reply: sleep time " + Num(f.Word(5)) + " s, " +
           ConfiguredAddresses(f.FieldSlice(kBitmapOffset, kConfigBitmapBytes));
}

std::string ThWords(std::uint16_t t, std::uint16_t h) {
    // The wireless window's text: the temperature two's complement, the
    // humidity unsigned, both in tenths.
    return ValueText(ValueForm::SignedTenths, t) + "\u2103  " + ValueText(ValueForm::UnsignedTenths, h) + " %RH";
}

std::string FbReply(const CFrameView& f, FrameBytes request) {
    const CFrameView asked(request);
    const bool askedFb = asked.HasMark(kFbMark) && asked.Has(4);
    const std::uint8_t command = askedFb ? asked.Byte(3) : f.Byte(3);
    const bool configShaped = command == kFbEnterConfig || command == kFbConfigureReceiver ||
                              (!askedFb && f.Size() == kFbConfigReplyBytes);
    if (configShaped) return FbConfigReply(f);
    if (!f.HasFields(7)) return CutShort("FB", f.Bytes());
    switch (command) {
        case kFbSleepTime: return "FB reply: sleep time " + Num(f.Word(5)) + " s";
        case kFbChannel: return "FB reply: channel " + Num(f.Byte(5));
        case kFbTemperatureHumidity:
            if (f.HasFields(9)) return "FB reply: " + ThWords(f.Word(5), f.Word(7));
            break;
        default: break;
    }
    std::string words = "FB reply: value " + Hex16(f.Word(5));
    if (f.HasFields(9)) words += ", " + Hex16(f.Word(7));
    return words;
}

std::string ExceptionName(std::uint8_t code) {
    switch (code) {
        case kExceptionIllegalFunction: return " (illegal function)";
        case kExceptionIllegalAddress: return " (illegal data address)";
        case kExceptionIllegalValue: return " (illegal data value)";
        default: return "";
    }
}

std::string ReadReplyValues(const CFrameView& f, FrameBytes request) {
    const CFrameView asked(request);
    const bool askedRead = asked.Has(kRegisterFieldsBytes) && asked.Byte(1) == kFuncReadRegisters;
    const std::uint16_t first = askedRead ? asked.Word(2) : 0;
    // The byte count is not trusted beyond the bytes that came.
    const std::size_t dataBytes = std::min<std::size_t>(f.Byte(2), f.Fields().size() > 3 ? f.Fields().size() - 3 : 0);
    if (askedRead && first == kRegLineSettings && dataBytes >= 2 * kLineSettingsCount) {
        return LineSettingsWords(f, 3);
    }
    std::string words;
    for (std::size_t i = 0; i + 1 < dataBytes; i += 2) {
        const std::uint16_t word = f.Word(3 + i);
        if (!words.empty()) words += ", ";
        if (!askedRead) {
            words += Hex16(word);
            continue;
        }
        const auto reg = static_cast<std::uint16_t>(first + i / 2);
        const std::string name = RegisterName(reg);
        words += name.empty() ? Hex16(reg) + " = " + Num(word) : name + " " + RegisterValueText(reg, word);
    }
    return words.empty() ? "no values" : words;
}

std::string RegisterReply(const CFrameView& f, FrameBytes request) {
    if (!f.Has(4)) return CutShort("register", f.Bytes());
    const std::string from = "register reply from address " + Num(f.Byte(0)) + ": ";
    const std::uint8_t function = f.Byte(1);
    if (function & kExceptionFlag) {
        const std::uint8_t code = f.Byte(2);
        const std::uint8_t plain = function & ~kExceptionFlag & 0xFF;
        // A refused write changed nothing on the device: the operation failed.
        const bool write = plain == kFuncWriteRegister || plain == kFuncWriteRegisters;
        return "register exception from address " + Num(f.Byte(0)) + ": function " + Num(plain) + ", code " +
               Num(code) + ExceptionName(code) + (write ? ": the write failed, nothing was changed" : "");
    }
    switch (function) {
        case kFuncReadRegisters: return from + ReadReplyValues(f, request);
        case kFuncWriteRegister:
            if (!f.HasFields(kRegisterFieldsBytes)) break;
            return from + Hex16(f.Word(2)) + " = " + Num(f.Word(4));
        case kFuncWriteRegisters:
            if (!f.HasFields(kRegisterFieldsBytes)) break;
            return from + "wrote " + Num(f.Word(4)) + " registers from " + Hex16(f.Word(2));
        default: return UnknownFrame(f.Bytes());
    }
    return CutShort("register", f.Bytes());
}

bool IsRegisterFunction(std::uint8_t function) {
    const std::uint8_t plain = function & ~kExceptionFlag & 0xFF;
    return plain == kFuncReadRegisters || plain == kFuncWriteRegister || plain == kFuncWriteRegisters;
}

}  // namespace

std::string HexText(FrameBytes bytes) {
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::uint8_t b : bytes) {
        std::array<char, 4> hex{};
        std::snprintf(hex.data(), hex.size(), "%02X", b);
        if (!text.empty()) text += ' ';
        text += hex.data();
    }
    return text;
}

std::string DescribeRequest(FrameBytes request) {
    const CFrameView f(request);
    if (f.Size() == 0) return "nothing";
    std::string words;
    if (f.HasMark(kFdMark)) {
        words = FdRequest(f);
    } else if (f.HasMark(kFcMark)) {
        words = FcRequest(f);
    } else if (f.HasMark(kFbMark)) {
        words = FbRequest(f);
    } else if (f.Has(2) && IsRegisterFunction(f.Byte(1))) {
        words = RegisterRequest(f);
    } else {
        return UnknownFrame(request);
    }
    // A frame cut short has said so already.
    if (f.Has(kShortestFrameBytes) && !HasValidCrc(request)) words += " (bad CRC)";
    return words;
}

std::string DescribeReply(FrameBytes reply, FrameBytes request) {
    const CFrameView f(reply);
    if (f.Size() == 0) return "nothing";
    if (f.HasMark(kFdMark)) {
        if (!f.HasFields(kMarkedFieldsBytes)) return CutShort("FD", reply);
        return "FD reply: address " + Num(f.Byte(4)) + ", " + FdBaudText(f.Byte(3));
    }
    if (f.HasMark(kFcMark)) return FcReply(f);
    if (f.HasMark(kFbMark)) return FbReply(f, request);
    if (f.Has(2) && IsRegisterFunction(f.Byte(1))) return RegisterReply(f, request);
    return UnknownFrame(reply);
}
