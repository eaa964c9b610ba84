#pragma once
// Dialog units to pixels, as the Windows dialog manager converts them: the
// base units come from the dialog's font (average width of the Latin letters,
// font height); x counts quarters of the base width and y eighths of the base
// height.

#include <QFont>
#include <QRect>

struct DlgTemplate;

// a * b / c rounded to the nearest integer, halves away from zero; 0 when c is 0.
int MulDiv(int a, int b, int c);

struct CDialogUnits {
    int baseX = 0;  // average character width in pixels
    int baseY = 0;  // character height in pixels

    int X(int du) const { return MulDiv(du, baseX, 4); }
    int Y(int du) const { return MulDiv(du, baseY, 8); }
    QRect Rect(int x, int y, int cx, int cy) const { return {X(x), Y(y), X(cx), Y(cy)}; }
};

// Base units of `font`: ((width of "A".."Z" "a".."z") / 26 + 1) / 2 and the
// height of the font's character cell without leading (its em).
CDialogUnits MeasureDialogUnits(const QFont& font);

// The template's font with its point size turned into whole pixels at
// `logicalDpi` (as Windows rounds the font height), so that the whole window
// scales with the screen's DPI.
QFont DialogFont(const DlgTemplate& tmpl, qreal logicalDpi);
