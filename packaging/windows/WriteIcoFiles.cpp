// Writes the Windows build's icon files from the program's drawings:
//
//   sentrabus-ico-files DIR     writes DIR/128.ico, DIR/140.ico, DIR/141.ico
//
// The files are kept in the sources (packaging/windows/icons), so that the
// Windows build needs no Qt; a test says when they no longer match the
// drawings.

#include <cstdio>

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include "IcoFile.h"
#include "res/ResourceIds.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: sentrabus-ico-files DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int id : {IDR_MAINFRAME, IDI_NOT_CONFIGURED, IDI_CONFIGURED}) {
        QFile file(out.filePath(QString::number(id) + ".ico"));
        if (!file.open(QIODevice::WriteOnly) || file.write(WindowsIconFile(id)) <= 0 || !file.flush()) {
            std::fprintf(stderr, "sentrabus-ico-files: cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
