#include "StrictValues.h"

#include <algorithm>
#include <array>

#include "BusScan.h"
#include "protocol/FrameCodes.h"
#include "protocol/StrictText.h"

namespace {

// A whole number within [lowest, highest], or the refusal naming `name`.
template <class T>
Checked<T> StrictWhole(std::string_view text, std::string_view name, std::int64_t lowest, std::int64_t highest,
                       const std::string& accepted) {
    std::int64_t value = 0;
    if (!StrictWholeIn(text, lowest, highest, value)) return Checked<T>::Refused(Refusal(name, accepted, text));
    return {static_cast<T>(value), {}};
}

}  // namespace

Checked<std::uint8_t> StrictAddress(std::string_view text) {
    return StrictWhole<std::uint8_t>(text, "the address", 1, 255, WholeRange(1, 255));
}

Checked<std::vector<std::uint8_t>> StrictUnitAddresses(std::string_view text) {
    if (text.empty()) {
        return Checked<std::vector<std::uint8_t>>::Refused(
            "the units take addresses separated by commas (12,13,20), not \"\"");
    }
    return StrictCommaList<std::uint8_t>(
        text,
        [](std::string_view item) {
            return StrictWhole<std::uint8_t>(item, "a unit's address", 1, kHighestUnitAddress,
                                             WholeRange(1, kHighestUnitAddress));
        },
        [](std::string_view item, std::uint8_t) { return "unit " + std::string(item) + " is listed twice"; });
}

Checked<std::uint32_t> StrictBaudRate(std::string_view text) {
    constexpr std::array<std::int64_t, 3> kRates = {2400, 4800, 9600};
    const Decimal number = ParseDecimal(text, 0);
    for (const std::int64_t rate : kRates) {
        if (number.shape == Shape::Number && number.scaled == rate) return {static_cast<std::uint32_t>(rate), {}};
    }
    return Checked<std::uint32_t>::Refused(Refusal("the baud rate", "2400, 4800 or 9600 (bit/s)", text));
}

Checked<std::uint8_t> StrictLcdMode(std::string_view text) {
    return StrictWhole<std::uint8_t>(text, "the LCD work mode", 1, 4, "1, 2, 3 or 4");
}

Checked<std::uint8_t> StrictChannel(std::string_view text) {
    constexpr std::int64_t kLastChannel = kWirelessChannels - 1;
    return StrictWhole<std::uint8_t>(text, "the channel", 0, kLastChannel, WholeRange(0, kLastChannel));
}

Checked<std::uint16_t> StrictSleepTime(std::string_view text) {
    return StrictWhole<std::uint16_t>(text, "the sleep time", 0, 0xFFFF, WholeRange(0, 0xFFFF) + " (seconds)");
}

Checked<std::uint8_t> StrictReceiverIndex(std::string_view text) {
    constexpr std::int64_t kLast = kReceiverAddresses;
    const Checked<std::int64_t> address =
        StrictWhole<std::int64_t>(text, "the receiver address", 1, kLast, WholeRange(1, kLast));
    if (!address.Ok()) return Checked<std::uint8_t>::Refused(address.refusal);
    return {static_cast<std::uint8_t>(*address.value - 1), {}};
}
