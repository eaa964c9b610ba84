// Icons by resource number. They are drawn in code, so the program carries no
// image files and the icons are sharp at every size the desktop asks for.

#include <QPixmap>

#include "Resources.h"

namespace {

// The grid legend's squares: the colours of a configured and a not configured
// receiver address.
const QColor kConfiguredColor(132, 202, 53);
const QColor kNotConfiguredColor(120, 123, 135);

QIcon SolidSquare(const QColor& colour) {
    QPixmap square(16, 16);
    square.fill(colour);
    return QIcon(square);
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 256}) icon.addPixmap(QPixmap::fromImage(PaintAppIconImage(size)));
    return icon;
}

}  // namespace

QIcon LoadAppIcon(int id) {
    switch (id) {
        case IDR_MAINFRAME: return ApplicationIcon();
        case IDI_CONFIGURED: return SolidSquare(kConfiguredColor);
        case IDI_NOT_CONFIGURED: return SolidSquare(kNotConfiguredColor);
        default: return {};
    }
}
