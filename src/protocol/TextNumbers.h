#pragma once
// The lenient text-to-number conversions of the windows' edit fields: the
// leading number of the text counts, the rest is ignored, and text without a
// leading number gives 0. They follow the C library's strtod and strtoll as
// they behave in the "C" locale, whatever locale the process runs in (Qt sets
// the user's locale at start-up, and a German locale would make strtod read
// "1,5" and stop at "1.5").
//
// Accepted, in order: leading blanks (space, \t, \n, \v, \f, \r), an optional
// sign, then
//   - ParseLeadingDouble: digits with an optional full stop and at least one
//     digit on either side of it, then an optional exponent (e or E, optional
//     sign, at least one digit). Only decimal numbers: "inf", "nan" and hex
//     floats read as 0. Overflow gives +-HUGE_VAL, underflow +-0 or the nearest
//     subnormal.
//   - ParseLeadingInteger: decimal digits; values beyond the 64-bit range
//     saturate at its ends.

#include <cstdint>
#include <string_view>

double ParseLeadingDouble(std::string_view text);
std::int64_t ParseLeadingInteger(std::string_view text);
