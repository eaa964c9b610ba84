#pragma once
// The application object of a benchmark: offscreen unless a platform is
// named, the program's name for the boxes, and the dialog fonts.

#include <QApplication>

#include "widgets/qt/AppFonts.h"

namespace bench {

// Runs before QApplication reads the platform.
inline int& OffscreenUnlessNamed(int& argc) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}

class CBenchApp : public QApplication {
public:
    CBenchApp(int& argc, char** argv) : QApplication(OffscreenUnlessNamed(argc), argv) {
        setApplicationName(QStringLiteral("Sentrabus"));
        InstallDialogFontSubstitutions();
    }
};

}  // namespace bench
