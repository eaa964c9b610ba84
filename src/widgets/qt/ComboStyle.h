#pragma once
// The drop-down button of a Windows combo box is narrow (a scroll bar's
// width), and the templates leave the edit part just room for its texts
// ("COM30" in a 40-unit box). This style narrows the button of whatever style
// the desktop uses to that width and gives the room to the edit part.

#include <QProxyStyle>

class CComboArrowStyle final : public QProxyStyle {
public:
    // `arrowWidth` in pixels.
    explicit CComboArrowStyle(int arrowWidth);

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget = nullptr) const override;

private:
    int m_arrowWidth;
};
