#pragma once
// The icons of a message box, found once per process instead of once per box.
//
// The desktop's style looks a box's icon and its OK button's icon up in the
// icon theme, file by file, and where the theme lacks them (a desktop without
// an icon theme, a bare X server) it searches again for every box: several
// milliseconds between an operation's verdict and its box on screen. This
// style draws the same icons at the sizes the box shows them and keeps them
// in Qt's pixmap cache; a button icon that the desktop does not show is not
// looked up at all.

#include <QProxyStyle>

class CBoxIconStyle final : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
