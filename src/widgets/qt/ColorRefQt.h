#pragma once
// Colour words to Qt's colours and back.

#include <QColor>

#include "widgets/ColorRef.h"

inline QColor ToQColor(ColorRef color) { return QColor(RedOf(color), GreenOf(color), BlueOf(color)); }
inline ColorRef ToColorRef(const QColor& color) {
    return RgbColor(static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
                    static_cast<std::uint8_t>(color.blue()));
}
