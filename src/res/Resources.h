#pragma once
// The program's icons and string table.

#include <optional>
#include <vector>

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QString>

#include "ResourceIds.h"

// Icon by resource number (IDR_MAINFRAME, IDI_CONFIGURED, IDI_NOT_CONFIGURED);
// a null icon for any other number.
QIcon LoadAppIcon(int id);

// String-table entry by number; empty for a number the table does not have.
QString LoadResString(int id);

// The application icon drawn at `size` pixels square (what LoadAppIcon(IDR_MAINFRAME)
// is made of, at 16, 32, 48 and 256 pixels).
QImage PaintAppIconImage(int size);

// Numbered resources from the Qt resource system (NumberedResources.cpp); a
// null image, empty bytes or no menu for a number that is not there.
// An icon of `size` (the resource's own size when empty); the program's own
// icons (LoadAppIcon) are found here too.
QImage LoadIconResource(int id, QSize size = {});
QImage LoadBitmapResource(int id);
QImage LoadCursorResource(int id);
QImage LoadToolbarResource(int id);  // the images of a toolbar side by side
QByteArray LoadSoundResource(const QString& name);

struct MenuResourceItem {
    int command;  // 0: a separator
    QString text;
};
std::optional<std::vector<MenuResourceItem>> LoadMenuResource(int id);
