#pragma once
// Lightening and darkening a colour by one amount on all three channels, so
// that the channels keep their differences: the image button's hot face.

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
