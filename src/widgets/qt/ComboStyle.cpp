#include "ComboStyle.h"

#include <QStyleOptionComplex>

CComboArrowStyle::CComboArrowStyle(int arrowWidth) : m_arrowWidth(arrowWidth) {}

QRect CComboArrowStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                       SubControl sub, const QWidget* widget) const {
    QRect rect = QProxyStyle::subControlRect(control, option, sub, widget);
    if (control != CC_ComboBox || option->direction != Qt::LeftToRight) return rect;
    if (sub != SC_ComboBoxArrow && sub != SC_ComboBoxEditField) return rect;

    const QRect arrow = QProxyStyle::subControlRect(control, option, SC_ComboBoxArrow, widget);
    const int spare = arrow.width() - m_arrowWidth;
    if (spare <= 0) return rect;
    if (sub == SC_ComboBoxArrow) rect.setLeft(rect.left() + spare);
    else if (rect.right() < arrow.left()) rect.setRight(rect.right() + spare);
    return rect;
}
