#include "ToolVerdict.h"

#include "protocol/FrameCodes.h"
#include "protocol/FrameView.h"

namespace sim {

ReplyExpectation ToolExpectation(std::span<const std::uint8_t> request) {
    const CFrameView f(request);
    if (f.HasMark(kFdMark)) return {ReplyCheck::Fd};
    if (f.HasMark(kFcMark)) {
        const std::uint8_t code = f.Byte(3);
        const bool write = f.Byte(4) == kOpWrite;
        // The light window's writes are answered by an echo; the main
        // window's by any FC reply.
        if (write && code >= kFcLightUpper && code <= kFcLightHysteresis) return {ReplyCheck::Echo};
        return {ReplyCheck::Fc, write ? ValuesUsed::None : ValuesUsed::First};
    }
    if (f.HasMark(kFbMark)) {
        switch (f.Byte(3)) {
            case kFbEnterConfig:
            case kFbConfigureReceiver: return {ReplyCheck::FbConfig};
            case kFbTemperatureHumidity: return {ReplyCheck::Fb, ValuesUsed::Both};
            case kFbSleepTime:
            case kFbChannel:
                return {ReplyCheck::Fb, f.Byte(4) == kOpRead ? ValuesUsed::First : ValuesUsed::None};
            default: return {ReplyCheck::Fb};
        }
    }
    switch (f.Byte(1)) {
        case kFuncReadRegisters:
            if (f.Byte(0) == kRegisterModeAddress && f.Word(2) == kRegLineSettings &&
                f.Word(4) == kLineSettingsCount) {
                return {ReplyCheck::LineSettings};
            }
            return {ReplyCheck::Read, f.Word(4) == 1 ? ValuesUsed::First : ValuesUsed::Both, f.Byte(0)};
        case kFuncWriteRegister: return {ReplyCheck::Echo};
        default: return {ReplyCheck::WriteRegisters};
    }
}

}  // namespace sim
