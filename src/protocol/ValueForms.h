#pragma once
// The forms in which the devices' 16-bit words carry values, and one codec per
// form: every text and number a value takes, both ways, for the windows, the
// command line, profiles, the monitor and the frame log.
//
// Measurement registers carry two's-complement or unsigned words, in tenths or
// whole units. The FC limits and adjustments are sign-magnitude: bit 15 set
// means negative, bits 0-14 hold the magnitude (-10 is 0x800A). Tenths are
// shown as whole part, full stop, one digit: 0xFFFB as "-0.5".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class ValueForm {
    SignedTenths,    // two's complement tenths: 0xFF38 is -20.0
    UnsignedTenths,  // 0xFFFF is 6553.5
    Whole,           // 0 to 65535
    WaterLeak,       // 1 normal, 2 warning; the same register holds a CO2 sensor's level
    PowerFailure,    // 0 normal, 1 warning
    Relay,           // 1 closed, 0 open
    Limit,           // whole units, sign-magnitude
    Adjust,          // tenths, sign-magnitude
    Hysteresis,      // tenths, written non-negative, read sign-magnitude
    RemoteSignal,    // 0 normally open, 1 normally closed
};

struct FormCodec {
    // The text the windows show: "-20.0", "Normal", " " (a status without a
    // word), "-1.5", "Normally Close".
    std::string (*text)(std::uint16_t word);
    // The value as a number, for machine-readable output and the charts:
    // -20.0, 1 (a status code).
    double (*number)(std::uint16_t word);
    // The number has tenths (25.0), else it is whole.
    bool tenths;
    // The frame log's words: "1 (Normal as a leak)", "2 (no such item)".
    std::string (*logText)(std::uint16_t word);

    // The forms a setting is written in have the two conversions from text;
    // the forms only read have none (null).
    //
    // The windows' lenient conversion: the leading number of the typed text,
    // truncated toward zero; the bits above the 16-bit word are lost (a limit
    // of 40000 goes out as 0x9C40). Numbers with a fraction count beyond the
    // 32-bit integer range as its nearest end.
    std::uint16_t (*lenientWord)(std::string_view typed);
    // The strict conversion of the command line and profiles: nothing for a
    // text the form cannot hold exactly.
    std::optional<std::uint16_t> (*strictWord)(std::string_view text);
    // What strictWord takes: "a whole number from -32767 to 32767".
    const char* accepted;
};

const FormCodec& CodecOf(ValueForm form);

inline std::string ValueText(ValueForm form, std::uint16_t word) { return CodecOf(form).text(word); }
inline double ValueNumber(ValueForm form, std::uint16_t word) { return CodecOf(form).number(word); }
