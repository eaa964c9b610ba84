#include "StrictValues.h"

#include <array>

#include "protocol/FrameCodes.h"

namespace {

enum class Shape { Number, Malformed, TooManyDecimals };

struct Decimal {
    Shape shape = Shape::Malformed;
    std::int64_t scaled = 0;  // in units of 10^-decimals
};

// Beyond every range taken here, and far from overflowing on the way.
constexpr std::int64_t kSaturated = 1'000'000'000'000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// [+-] digits [. digits], with at most `decimals` digits after the stop; the
// value scaled to whole units of the last decimal allowed.
Decimal ParseDecimal(std::string_view text, int decimals) {
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    std::int64_t value = 0;
    const std::size_t wholeStart = at;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        if (value < kSaturated) value = value * 10 + (text[at] - '0');
    }
    if (at == wholeStart) return {};
    int fractionDigits = 0;
    if (at < text.size() && text[at] == '.') {
        ++at;
        for (; at < text.size() && IsDigit(text[at]); ++at, ++fractionDigits) {
            if (fractionDigits < decimals && value < kSaturated) value = value * 10 + (text[at] - '0');
        }
        if (fractionDigits == 0) return {};
    }
    if (at != text.size()) return {};
    if (fractionDigits > decimals) return {Shape::TooManyDecimals, 0};
    for (int missing = fractionDigits; missing < decimals; ++missing) {
        if (value < kSaturated) value *= 10;
    }
    return {Shape::Number, negative ? -value : value};
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string Refusal(std::string_view name, const std::string& accepted, std::string_view text) {
    return std::string(name) + " takes " + accepted + ", not " + Quoted(text);
}

// A whole number within [lowest, highest], or the refusal naming `name`.
Checked<std::int64_t> StrictWhole(std::string_view text, std::string_view name, std::int64_t lowest,
                                  std::int64_t highest, const std::string& accepted) {
    const Decimal number = ParseDecimal(text, 0);
    if (number.shape != Shape::Number || number.scaled < lowest || number.scaled > highest) {
        return Checked<std::int64_t>::Refused(Refusal(name, accepted, text));
    }
    return {number.scaled, {}};
}

std::string WholeRange(std::int64_t lowest, std::int64_t highest) {
    return "a whole number from " + std::to_string(lowest) + " to " + std::to_string(highest);
}

// The unit the main window's label gives the setting.
std::string UnitOf(std::string_view name) {
    if (name.starts_with("temperature-")) return " (°C)";
    if (name.starts_with("humidity-")) return " (%RH)";
    return "";
}

// Sign-magnitude holds 15 bits of magnitude.
constexpr std::int64_t kMaxMagnitude = 0x7FFF;
constexpr std::uint16_t kNegativeBit = 0x8000;

std::uint16_t SignMagnitude(std::int64_t value) {
    if (value < 0) return static_cast<std::uint16_t>(kNegativeBit | static_cast<std::uint16_t>(-value));
    return static_cast<std::uint16_t>(value);
}

template <class T>
Checked<T> Narrowed(const Checked<std::int64_t>& checked) {
    if (!checked.Ok()) return Checked<T>::Refused(checked.refusal);
    return {static_cast<T>(*checked.value), {}};
}

}  // namespace

std::string AcceptedValues(Parameter parameter) {
    const ParameterInfo& info = InfoOf(parameter);
    const std::string unit = UnitOf(info.name);
    switch (info.form) {
        case ValueForm::Limit: return WholeRange(-kMaxMagnitude, kMaxMagnitude) + unit;
        case ValueForm::Adjust: return "a number from -3276.7 to 3276.7 with at most one decimal" + unit;
        case ValueForm::Hysteresis: return "a number from 0 to 3276.7 with at most one decimal" + unit;
        case ValueForm::Plain: return WholeRange(0, 0xFFFF) + unit;
        case ValueForm::RemoteSignal: return "0 or open (normally open), 1 or closed (normally closed)";
    }
    return {};
}

Checked<std::uint16_t> StrictParameterWord(Parameter parameter, std::string_view text) {
    const ParameterInfo& info = InfoOf(parameter);
    const auto refused = [&] {
        return Checked<std::uint16_t>::Refused(Refusal(info.name, AcceptedValues(parameter), text));
    };
    switch (info.form) {
        case ValueForm::RemoteSignal:
            if (text == "0" || text == "open") return {0, {}};
            if (text == "1" || text == "closed") return {1, {}};
            return refused();
        case ValueForm::Limit:
        case ValueForm::Plain: {
            const Decimal number = ParseDecimal(text, 0);
            const std::int64_t lowest = info.form == ValueForm::Limit ? -kMaxMagnitude : 0;
            const std::int64_t highest = info.form == ValueForm::Limit ? kMaxMagnitude : 0xFFFF;
            if (number.shape != Shape::Number || number.scaled < lowest || number.scaled > highest) return refused();
            return {info.form == ValueForm::Limit ? SignMagnitude(number.scaled)
                                                  : static_cast<std::uint16_t>(number.scaled),
                    {}};
        }
        case ValueForm::Adjust:
        case ValueForm::Hysteresis: {
            // Tenths: the device holds "-1.5" as 15 tenths, negative.
            const Decimal number = ParseDecimal(text, 1);
            const std::int64_t lowest = info.form == ValueForm::Adjust ? -kMaxMagnitude : 0;
            if (number.shape != Shape::Number || number.scaled < lowest || number.scaled > kMaxMagnitude) {
                return refused();
            }
            return {SignMagnitude(number.scaled), {}};
        }
    }
    return refused();
}

Checked<std::uint8_t> StrictAddress(std::string_view text) {
    return Narrowed<std::uint8_t>(StrictWhole(text, "the address", 1, 255, WholeRange(1, 255)));
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
    return Narrowed<std::uint8_t>(StrictWhole(text, "the LCD work mode", 1, 4, "1, 2, 3 or 4"));
}

Checked<std::uint8_t> StrictChannel(std::string_view text) {
    constexpr std::int64_t kLastChannel = kWirelessChannels - 1;
    return Narrowed<std::uint8_t>(StrictWhole(text, "the channel", 0, kLastChannel, WholeRange(0, kLastChannel)));
}

Checked<std::uint16_t> StrictSleepTime(std::string_view text) {
    return Narrowed<std::uint16_t>(
        StrictWhole(text, "the sleep time", 0, 0xFFFF, WholeRange(0, 0xFFFF) + " (seconds)"));
}

Checked<std::uint8_t> StrictReceiverIndex(std::string_view text) {
    constexpr std::int64_t kLast = kReceiverAddresses;
    const Checked<std::int64_t> address = StrictWhole(text, "the receiver address", 1, kLast, WholeRange(1, kLast));
    if (!address.Ok()) return Checked<std::uint8_t>::Refused(address.refusal);
    return {static_cast<std::uint8_t>(*address.value - 1), {}};
}
