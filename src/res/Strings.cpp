// The string table.

#include "Resources.h"

QString LoadResString(int id) {
    switch (id) {
        case IDS_ABOUTBOX: return QStringLiteral("关于 Halvane(&A)...");
        default: return {};
    }
}
