#include "BoxIconStyle.h"

#include <QApplication>
#include <QPixmapCache>
#include <QWidget>

namespace {

bool IsBoxIcon(QStyle::StandardPixmap which) {
    return which == QStyle::SP_MessageBoxInformation || which == QStyle::SP_MessageBoxWarning ||
           which == QStyle::SP_MessageBoxCritical || which == QStyle::SP_MessageBoxQuestion;
}

bool IsButtonIcon(QStyle::StandardPixmap which) {
    return which >= QStyle::SP_DialogOkButton && which <= QStyle::SP_DialogNoButton;
}

}  // namespace

QIcon CBoxIconStyle::standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const {
    const bool button = IsButtonIcon(which);
    if (!button && !IsBoxIcon(which)) return QProxyStyle::standardIcon(which, option, widget);
    if (button && !styleHint(SH_DialogButtonBox_ButtonsHaveIcons, nullptr, widget)) return {};

    // Drawn at the size the box or its button shows it, for the screen's pixel ratio.
    const int size = pixelMetric(button ? PM_ButtonIconSize : PM_MessageBoxIconSize, option, widget);
    const qreal ratio = widget ? widget->devicePixelRatio() : qApp->devicePixelRatio();
    const QString key = QStringLiteral("sentrabus/standard-icon/%1/%2/%3").arg(which).arg(size).arg(ratio);
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = QProxyStyle::standardIcon(which, option, widget).pixmap(QSize(size, size), ratio);
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}
