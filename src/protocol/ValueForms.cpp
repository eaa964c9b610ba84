#include "ValueForms.h"

#include <array>
#include <cmath>
#include <limits>

#include "StrictText.h"
#include "TextNumbers.h"

namespace {

constexpr std::uint16_t kNegativeBit = 0x8000;
constexpr std::uint16_t kMagnitudeBits = 0x7FFF;

std::string Plain(std::uint16_t word) { return std::to_string(word); }
double AsIs(std::uint16_t word) { return word; }

std::string TenthsText(unsigned magnitude, bool negative) {
    return (negative ? "-" : "") + std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10);
}

int SignedWord(std::uint16_t word) { return word & kNegativeBit ? static_cast<int>(word) - 65536 : word; }

int SignMagnitude(std::uint16_t word) {
    const int magnitude = word & kMagnitudeBits;
    return word & kNegativeBit ? -magnitude : magnitude;
}

std::uint16_t SignMagnitudeWord(std::int64_t value) {
    if (value < 0) return static_cast<std::uint16_t>(kNegativeBit | static_cast<std::uint16_t>(-value));
    return static_cast<std::uint16_t>(value);
}

// --- the windows' lenient conversions -----------------------------------------

std::uint16_t LowWord(std::int64_t typed) {
    return static_cast<std::uint16_t>(static_cast<std::uint64_t>(typed) & 0xFFFF);
}

// The C conversion of a double to int, made total: NaN counts as 0 and values
// beyond int's range as its nearest end.
std::int64_t TruncateToInt(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
    if (value <= kLowest) return std::numeric_limits<std::int32_t>::min();
    if (value >= kHighest) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int64_t>(value);  // truncates toward zero
}

// The sign comes from the value before truncation: -0.5 goes out as 0x8000.
std::uint16_t LenientSignMagnitude(double value) {
    const std::int64_t whole = TruncateToInt(value);
    if (value < 0) return static_cast<std::uint16_t>(LowWord(-whole) | kNegativeBit);
    return LowWord(whole);
}

std::uint16_t LenientWhole(std::string_view typed) { return LowWord(ParseLeadingInteger(typed)); }

// --- the strict conversions ----------------------------------------------------

// Sign-magnitude holds 15 bits of magnitude.
constexpr std::int64_t kMaxMagnitude = kMagnitudeBits;

std::optional<std::uint16_t> StrictSignMagnitude(std::string_view text, int decimals, std::int64_t lowest) {
    const Decimal number = ParseDecimal(text, decimals);
    if (number.shape != Shape::Number || number.scaled < lowest || number.scaled > kMaxMagnitude) return std::nullopt;
    return SignMagnitudeWord(number.scaled);
}

// --- the codecs, one per form, in the order of ValueForm -------------------------

constexpr std::array<FormCodec, 10> kCodecs{{
    // SignedTenths
    {[](std::uint16_t w) { return w & kNegativeBit ? TenthsText(65536u - w, true) : TenthsText(w, false); },
     [](std::uint16_t w) { return SignedWord(w) / 10.0; }, true,
     [](std::uint16_t w) { return CodecOf(ValueForm::SignedTenths).text(w); }, nullptr, nullptr, ""},
    // UnsignedTenths
    {[](std::uint16_t w) { return TenthsText(w, false); }, [](std::uint16_t w) { return w / 10.0; }, true,
     [](std::uint16_t w) { return TenthsText(w, false); }, nullptr, nullptr, ""},
    // Whole
    {Plain, AsIs, false, Plain, LenientWhole,
     [](std::string_view text) -> std::optional<std::uint16_t> {
         std::int64_t value = 0;
         if (!StrictWholeIn(text, 0, 0xFFFF, value)) return std::nullopt;
         return static_cast<std::uint16_t>(value);
     },
     "a whole number from 0 to 65535"},
    // WaterLeak: the window leaves a code it has no word for blank. The frame
    // log cannot tell a leak detector from a CO2 sensor, whose level the same
    // register holds.
    {[](std::uint16_t w) -> std::string { return w == 1 ? "Normal" : w == 2 ? "Warning" : " "; }, AsIs, false,
     [](std::uint16_t w) {
         return Plain(w) + (w == 1 ? " (Normal as a leak)" : w == 2 ? " (Warning as a leak)" : "");
     },
     nullptr, nullptr, ""},
    // PowerFailure
    {[](std::uint16_t w) -> std::string { return w == 0 ? "Normal" : w == 1 ? "Warning" : "  "; }, AsIs, false,
     [](std::uint16_t w) { return Plain(w) + (w == 0 ? " (Normal)" : w == 1 ? " (Warning)" : " (unknown status)"); },
     nullptr, nullptr, ""},
    // Relay
    {Plain, AsIs, false, [](std::uint16_t w) { return Plain(w) + (w ? " (closed)" : " (open)"); }, nullptr, nullptr,
     ""},
    // Limit
    {[](std::uint16_t w) { return (w & kNegativeBit ? "-" : "") + Plain(w & kMagnitudeBits); },
     [](std::uint16_t w) -> double { return SignMagnitude(w); }, false,
     [](std::uint16_t w) { return CodecOf(ValueForm::Limit).text(w); },
     [](std::string_view typed) { return LenientSignMagnitude(ParseLeadingDouble(typed)); },
     [](std::string_view text) { return StrictSignMagnitude(text, 0, -kMaxMagnitude); },
     "a whole number from -32767 to 32767"},
    // Adjust
    {[](std::uint16_t w) { return TenthsText(w & kMagnitudeBits, (w & kNegativeBit) != 0); },
     [](std::uint16_t w) { return SignMagnitude(w) / 10.0; }, true,
     [](std::uint16_t w) { return CodecOf(ValueForm::Adjust).text(w); },
     [](std::string_view typed) { return LenientSignMagnitude(ParseLeadingDouble(typed) * 10); },
     [](std::string_view text) { return StrictSignMagnitude(text, 1, -kMaxMagnitude); },
     "a number from -3276.7 to 3276.7 with at most one decimal"},
    // Hysteresis goes out as a plain non-negative word but is shown with the
    // adjusts' sign rule, so a device's 0x8005 reads as -0.5.
    {[](std::uint16_t w) { return CodecOf(ValueForm::Adjust).text(w); },
     [](std::uint16_t w) { return SignMagnitude(w) / 10.0; }, true,
     [](std::uint16_t w) { return CodecOf(ValueForm::Adjust).text(w); },
     [](std::string_view typed) {
         const double tenths = ParseLeadingDouble(typed) * 10;
         return tenths < 0 ? std::uint16_t{0} : LowWord(TruncateToInt(tenths));
     },
     [](std::string_view text) { return StrictSignMagnitude(text, 1, 0); },
     "a number from 0 to 3276.7 with at most one decimal"},
    // RemoteSignal: the items of the window's box; a word the box has no item
    // for shows as its number.
    {[](std::uint16_t w) -> std::string { return w == 0 ? "Normally Open" : w == 1 ? "Normally Close" : Plain(w); },
     AsIs, false,
     [](std::uint16_t w) {
         return w <= 1 ? CodecOf(ValueForm::RemoteSignal).text(w) : Plain(w) + " (no such item)";
     },
     [](std::string_view typed) -> std::uint16_t {
         if (typed == "Normally Open") return 0;
         if (typed == "Normally Close") return 1;
         return LenientWhole(typed);
     },
     [](std::string_view text) -> std::optional<std::uint16_t> {
         if (text == "0" || text == "open") return 0;
         if (text == "1" || text == "closed") return 1;
         return std::nullopt;
     },
     "0 or open (normally open), 1 or closed (normally closed)"},
}};

}  // namespace

const FormCodec& CodecOf(ValueForm form) { return kCodecs[static_cast<std::size_t>(form)]; }
