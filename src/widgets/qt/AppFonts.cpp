#include "AppFonts.h"

#include <QFont>
#include <QStringList>

void InstallDialogFontSubstitutions() {
    // The template faces and the names Windows itself uses for them.
    const QStringList windowsFaces = {
        QStringLiteral("宋体"),   QStringLiteral("SimSun"),       QStringLiteral("新宋体"),
        QStringLiteral("NSimSun"), QStringLiteral("System"),      QStringLiteral("MS Shell Dlg"),
        QStringLiteral("MS Shell Dlg 2"),
    };
    for (const QString& face : windowsFaces)
        QFont::insertSubstitutions(face, {QString::fromUtf8(kDialogFontFamily)});
}
