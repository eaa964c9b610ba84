#pragma once
// The image button's colour arithmetic, the same on every platform: lightening
// and darkening a colour by one amount on all three channels (so that the
// channels keep their differences: the hot face), and the grey and darker
// pixels of the images it makes from an image.

#include <algorithm>

#include "ColorRef.h"

inline constexpr int kMaxColorShade = 255;

// `color` with `shade` added to each channel (shade > 0 lightens, < 0
// darkens), the shade first cut so that no channel leaves 0..255.
constexpr ColorRef ShiftedColor(ColorRef color, int shade) {
    const int channels[] = {RedOf(color), GreenOf(color), BlueOf(color)};
    int used = shade;
    for (int c : channels) {
        used = shade > 0 ? std::min(used, std::min(shade, 255 - c)) : std::max(used, std::max(shade, -c));
    }
    return RgbColor(static_cast<std::uint8_t>(channels[0] + used), static_cast<std::uint8_t>(channels[1] + used),
                    static_cast<std::uint8_t>(channels[2] + used));
}

static_assert(ShiftedColor(RgbColor(212, 208, 200), 30) == RgbColor(242, 238, 230));
static_assert(ShiftedColor(RgbColor(242, 238, 230), 30) == RgbColor(255, 251, 243));
static_assert(ShiftedColor(RgbColor(10, 100, 200), -50) == RgbColor(0, 90, 190));

// The integer part of c - factor * c for each channel, when 0 < factor <= 1;
// the colour unchanged for any other factor.
constexpr ColorRef DarkenColor(ColorRef color, double factor) {
    if (!(factor > 0.0 && factor <= 1.0)) return color;
    const auto darken = [factor](std::uint8_t c) { return static_cast<std::uint8_t>(c - factor * c); };
    return RgbColor(darken(RedOf(color)), darken(GreenOf(color)), darken(BlueOf(color)));
}

// The darker copies are darker by a quarter.
inline constexpr double kDarkerFactor = 0.25;

// The integer part of 0.299 red + 0.587 green + 0.114 blue, as RGB(g, g, g).
constexpr ColorRef GreyColor(ColorRef color) {
    const auto g = static_cast<std::uint8_t>(0.299 * RedOf(color) + 0.587 * GreenOf(color) + 0.114 * BlueOf(color));
    return RgbColor(g, g, g);
}

static_assert(GreyColor(RgbColor(200, 100, 50)) == RgbColor(124, 124, 124));
static_assert(DarkenColor(RgbColor(200, 100, 50), kDarkerFactor) == RgbColor(150, 75, 37));
