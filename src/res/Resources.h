#pragma once
// The program's icons and string table.

#include <QIcon>
#include <QString>

#include "ResourceIds.h"

// Icon by resource number (IDR_MAINFRAME, IDI_CONFIGURED, IDI_NOT_CONFIGURED);
// a null icon for any other number.
QIcon LoadAppIcon(int id);

// String-table entry by number; empty for a number the table does not have.
QString LoadResString(int id);

// The application icon drawn at `size` pixels square (what LoadAppIcon(128)
// is made of, at 16, 32, 48 and 256 pixels).
QImage PaintAppIconImage(int size);
