#include "FrameWords.h"

#include <array>
#include <cstdio>

#include "BaudCodes.h"
#include "FrameCodes.h"

namespace {

std::string BaudText(std::uint8_t code, std::uint32_t rate) {
    return "baud code " + std::to_string(code) + (rate ? " (" + std::to_string(rate) + " bit/s)" : " (unknown)");
}

}  // namespace

std::string Hex16(std::uint16_t value) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "0x%04X", value);
    return text.data();
}

std::string FbCommandName(std::uint8_t command) {
    switch (command) {
        case kFbEnterConfig: return "enter configuration mode";
        case kFbLeaveConfig: return "exit configuration mode";
        case kFbConfigureReceiver: return "configure address";
        case kFbSleepTime: return "sleep time";
        case kFbTemperatureHumidity: return "T&H";
        case kFbClearReceiver: return "clear address";
        case kFbChannel: return "channel";
        default: return "";
    }
}

std::string FdBaudText(std::uint8_t code) { return BaudText(code, FdBaudRate(code)); }

std::string RegisterBaudText(std::uint8_t code) { return BaudText(code, RegisterBaudRate(code)); }
