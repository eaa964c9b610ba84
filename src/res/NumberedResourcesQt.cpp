// Images, cursors, sounds and menus by number, from the Qt resource system.
// The program itself draws its icons in code (Icons.cpp); a build that links
// a resource file of its own can add numbered resources under :/res:
//
//   :/res/icon/<id>.png      :/res/bitmap/<id>.png     :/res/cursor/<id>.png
//   :/res/sound/<name>.wav   :/res/menu/<id>.txt       :/res/toolbar/<id>.png
//
// (.bmp and .xpm are taken as well as .png). A menu file holds one item a
// line, "<command id> <text>", and "-" for a separator.

#include <QFile>
#include <QImageReader>

#include "Resources.h"

namespace {

QImage ReadImage(const QString& folder, int id) {
    for (const char* extension : {".png", ".bmp", ".xpm"}) {
        const QString path = QStringLiteral(":/res/%1/%2%3").arg(folder).arg(id).arg(QLatin1String(extension));
        if (!QFile::exists(path)) continue;
        QImageReader reader(path);
        const QImage image = reader.read();
        if (!image.isNull()) return image;
    }
    return {};
}

}  // namespace

QImage LoadIconResource(int id, QSize size) {
    QImage image;
    if (const QIcon own = LoadAppIcon(id); !own.isNull()) {
        const QList<QSize> sizes = own.availableSizes();
        const QSize natural = sizes.isEmpty() ? QSize(32, 32) : sizes.first();
        image = own.pixmap(size.isEmpty() ? natural : size).toImage();
    } else {
        image = ReadImage(QStringLiteral("icon"), id);
        if (!image.isNull() && !size.isEmpty()) image = image.scaled(size);
    }
    return image.isNull() ? QImage() : image.convertToFormat(QImage::Format_ARGB32);
}

QImage LoadBitmapResource(int id) { return ReadImage(QStringLiteral("bitmap"), id); }

QImage LoadCursorResource(int id) { return ReadImage(QStringLiteral("cursor"), id); }

QImage LoadToolbarResource(int id) { return ReadImage(QStringLiteral("toolbar"), id); }

QByteArray LoadSoundResource(const QString& name) {
    QFile file(QStringLiteral(":/res/sound/%1.wav").arg(name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

std::optional<std::vector<MenuResourceItem>> LoadMenuResource(int id) {
    QFile file(QStringLiteral(":/res/menu/%1.txt").arg(id));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
    std::vector<MenuResourceItem> items;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty()) continue;
        if (line == QLatin1String("-")) {
            items.push_back({0, {}});
            continue;
        }
        const qsizetype space = line.indexOf(QLatin1Char(' '));
        bool number = false;
        const int command = line.left(space).toInt(&number);
        if (!number || space < 0 || command <= 0) return std::nullopt;  // a damaged menu loads as none
        items.push_back({command, line.mid(space + 1).trimmed()});
    }
    return items;
}
