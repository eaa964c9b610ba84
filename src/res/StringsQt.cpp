// The string table for the Qt code.

#include "Resources.h"
#include "StringTable.h"

QString LoadResString(int id) { return QString::fromStdString(ResString(id)); }
