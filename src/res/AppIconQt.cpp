// The application icon: a field transmitter (a box with a reading on its
// display) hanging on the two wires of an RS-485 bus. It is drawn on a
// 16 x 16 grid and scaled by whole pixels, so every edge falls on a pixel at
// 16, 32, 48 and 256 pixels and the small sizes stay sharp.

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "Resources.h"

namespace {

const QColor kTileTop(0x2F, 0x80, 0xD0);
const QColor kTileBottom(0x17, 0x4A, 0x86);
const QColor kTileEdge(0x10, 0x36, 0x63);
const QColor kBody(0xF4, 0xF7, 0xFB);
const QColor kDisplay(0x12, 0x3A, 0x60);
const QColor kReading(0x84, 0xCA, 0x35);
const QColor kKey(0x9A, 0xA9, 0xB8);
const QColor kWireA(0xF5, 0xB8, 0x3D);
const QColor kWireB(0xDD, 0xE8, 0xF3);

// A rectangle of grid cells.
QRectF Cells(qreal x, qreal y, qreal w, qreal h, qreal cell) {
    return {x * cell, y * cell, w * cell, h * cell};
}

}  // namespace

QImage PaintAppIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (size <= 0) return image;

    const qreal cell = size / 16.0;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);

    // Tile with rounded corners; a one-pixel darker rim from 32 pixels up.
    const qreal radius = 3 * cell;
    QLinearGradient shade(0, 0, 0, size);
    shade.setColorAt(0, kTileTop);
    shade.setColorAt(1, kTileBottom);
    if (size >= 32) {
        p.setBrush(kTileEdge);
        p.drawRoundedRect(QRectF(0, 0, size, size), radius, radius);
        p.setBrush(shade);
        const qreal rim = qMax<qreal>(1, size / 64.0);
        p.drawRoundedRect(QRectF(rim, rim, size - 2 * rim, size - 2 * rim), radius - rim, radius - rim);
    } else {
        p.setBrush(shade);
        p.drawRoundedRect(QRectF(0, 0, size, size), radius, radius);
    }

    // The rectangles below are whole cells: no smoothing, so they stay crisp.
    p.setRenderHint(QPainter::Antialiasing, false);

    // Transmitter body: a display with a bar of reading, two status lights
    // and a key.
    p.setBrush(kBody);
    p.drawRect(Cells(3, 1, 10, 8, cell));
    p.setBrush(kDisplay);
    p.drawRect(Cells(4, 2, 8, 3, cell));
    p.setBrush(kReading);
    p.drawRect(Cells(4, 2, 5, 3, cell));
    p.drawRect(Cells(4, 6, 1, 1, cell));
    p.setBrush(kWireA);
    p.drawRect(Cells(6, 6, 1, 1, cell));
    p.setBrush(kKey);
    p.drawRect(Cells(9, 6, 3, 2, cell));
    // Cable down to the bus.
    p.setBrush(kBody);
    p.drawRect(Cells(7, 9, 2, 2, cell));

    // The bus pair, A above B.
    p.setBrush(kWireA);
    p.drawRect(Cells(1, 11, 14, 1, cell));
    p.setBrush(kWireB);
    p.drawRect(Cells(1, 13, 14, 1, cell));
    return image;
}
