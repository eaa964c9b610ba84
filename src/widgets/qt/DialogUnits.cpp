#include "DialogUnits.h"

#include <cmath>
#include <cstdint>

#include <QFontInfo>
#include <QFontMetrics>

#include "res/DialogTemplate.h"

int MulDiv(int a, int b, int c) {
    if (c == 0) return 0;
    const std::int64_t product = std::int64_t{a} * b;
    const std::int64_t half = std::llabs(c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(c);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

CDialogUnits MeasureDialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabetWidth =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // The template fonts (宋体, System) have no leading: their character cell is
    // as high as the em. The font that stands in for them on Linux carries a
    // third more line height, which would stretch every window by as much;
    // the em keeps the templates' proportions. Static texts get the extra
    // height they need where they are placed.
    const int em = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    return {(alphabetWidth / 26 + 1) / 2, qMin(em, metrics.height())};
}

QFont DialogFont(const DlgTemplate& tmpl, qreal logicalDpi) {
    QFont font(QString::fromUtf8(tmpl.fontFace));
    const int dpi = static_cast<int>(std::lround(logicalDpi > 0 ? logicalDpi : 96.0));
    font.setPixelSize(qMax(1, MulDiv(tmpl.pointSize, dpi, 72)));
    return font;
}
