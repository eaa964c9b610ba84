#pragma once
// Typed values checked strictly, for the command line and device profiles.
// The windows convert leniently (the leading number, truncated, its high bits
// lost); here a text that the device cannot hold exactly is refused, with
// words that name the setting and what it accepts, so that the caller sends
// nothing. The FC parameters' strict texts are the catalogue's
// (StrictParameterWord); these are the device's other settings.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/Catalogue.h"

// The device's bus address, 1 to 255.
Checked<std::uint8_t> StrictAddress(std::string_view text);
// The units of a bus, "12,13,20": each 1 to 247 (the addresses a scan asks),
// none twice, in the order given.
Checked<std::vector<std::uint8_t>> StrictUnitAddresses(std::string_view text);
// A line speed the devices are set to: 2400, 4800 or 9600 bit/s.
Checked<std::uint32_t> StrictBaudRate(std::string_view text);
// A list separated by commas, "12,13,20": each item read by `read` (giving a
// Checked<T>), none twice, in the order given; the first refusal, or
// `twice(item, value)` for an item given again.
template <class T, class Read, class Twice>
Checked<std::vector<T>> StrictCommaList(std::string_view text, Read read, Twice twice) {
    std::vector<T> items;
    for (std::size_t from = 0; from <= text.size();) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::string_view item = text.substr(from, comma - from);
        const Checked<T> value = read(item);
        if (!value.Ok()) return Checked<std::vector<T>>::Refused(value.refusal);
        if (std::find(items.begin(), items.end(), *value.value) != items.end()) {
            return Checked<std::vector<T>>::Refused(twice(item, *value.value));
        }
        items.push_back(*value.value);
        from = comma + 1;
    }
    return {std::move(items), {}};
}
// The LCD relay controller's work mode, 1 to 4.
Checked<std::uint8_t> StrictLcdMode(std::string_view text);
// The wireless receiver's channel, 0 to 63.
Checked<std::uint8_t> StrictChannel(std::string_view text);
// The wireless receiver's sleep time, 0 to 65535 s.
Checked<std::uint16_t> StrictSleepTime(std::string_view text);
// A receiver address 1 to 200, as its index 0 to 199 in the receiver's table.
Checked<std::uint8_t> StrictReceiverIndex(std::string_view text);
