// Renders the application icon into the PNG files of the icon theme, at the
// sizes given, from the same painter the windows' icon comes from.
//
//   sentrabus-render-icons OUTDIR 16 32 48 ...    writes OUTDIR/<size>.png

#include <cstdio>
#include <cstdlib>

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include "res/Resources.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: sentrabus-render-icons OUTDIR SIZE...\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "sentrabus-render-icons: cannot make %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString path = out.filePath(QString::number(size) + ".png");
        if (size <= 0 || !PaintAppIconImage(size).save(path, "PNG")) {
            std::fprintf(stderr, "sentrabus-render-icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
