#pragma once
// What a simulated device holds: its line identity, its registers, its FC
// parameters and, for the wireless receiver, its configuration. Everything a
// write changes can be read back, by the tool over the line or by a test.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "protocol/FrameCodes.h"

namespace sim {

using Frame = std::vector<std::uint8_t>;

enum class DeviceKind {
    Th,        // FD transmitter: temperature, humidity and alarm parameters
    Soil,      // register-frame device, answers at address 255
    Wireless,  // wireless receiver, FB frames
    Lcd,       // LCD relay controller
    Light,     // light-intensity transmitter: FC codes 13 to 15, register 0x0006
};

std::optional<DeviceKind> ParseDeviceKind(std::string_view name);  // "th", "soil", ...
std::string_view DeviceKindName(DeviceKind kind);

struct RegisterCell {
    std::uint16_t value = 0;
    bool readable = true;   // by function 03
    bool writable = false;  // by function 06 or 10, whichever the device serves
};

struct WirelessState {
    bool configMode = false;
    std::uint8_t channel = 0;
    std::uint16_t sleepTime = 60;
    std::array<std::uint8_t, kConfigBitmapBytes> configBits{};  // bit i of byte i/8: address i+1
    std::uint16_t temperature = 253;  // tenths of a degree, two's complement
    std::uint16_t humidity = 605;     // tenths of a percent
    // A receiver that acknowledges a configure but keeps its table as it was:
    // its reply's bitmap lacks the address just configured.
    bool ignoresConfigure = false;

    bool IsConfigured(std::size_t index) const {
        return index < kReceiverAddresses && (configBits[index / 8] >> (index % 8) & 1U) != 0;
    }
    void SetConfigured(std::size_t index, bool configured) {
        if (index >= kReceiverAddresses) return;
        const auto mask = static_cast<std::uint8_t>(1U << (index % 8));
        if (configured) {
            configBits[index / 8] |= mask;
        } else {
            configBits[index / 8] &= static_cast<std::uint8_t>(~mask);
        }
    }
};

struct DeviceState {
    DeviceKind kind = DeviceKind::Th;
    // The FD device's bus address. The register-frame device keeps its address
    // in register 0x0200 instead; DeviceAddress() reads the right one.
    std::uint8_t address = 1;
    // The line speed the device listens and answers at.
    std::uint32_t baud = 9600;
    // Only the registers present here exist on the device.
    std::map<std::uint16_t, RegisterCell> registers;
    // Only the FC codes present here are answered.
    std::map<std::uint8_t, std::uint16_t> fcParams;
    WirelessState wireless;
};

// A device of `kind` as it leaves the factory, at `address` and `baud`.
DeviceState MakeDeviceState(DeviceKind kind, std::uint8_t address, std::uint32_t baud);

std::uint8_t DeviceAddress(const DeviceState& state);
void SetDeviceAddress(DeviceState& state, std::uint8_t address);

}  // namespace sim
