#include "AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace vextor {

namespace {

// Draws the 256 x 256 design scaled to size.
QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x4e, 0x79));
    p.drawRoundedRect(QRectF(16, 16, 224, 224), 36, 36);
    p.setBrush(QColor(0xdf, 0xe9, 0xf3));
    p.drawRoundedRect(QRectF(40, 40, 176, 92), 10, 10);

    QPen trace(QColor(0xc0, 0x39, 0x2b), 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(trace);
    p.setBrush(Qt::NoBrush);
    const QPolygonF line{{52, 104}, {80, 104}, {96, 66}, {120, 118}, {140, 80}, {160, 96}, {204, 96}};
    p.drawPolyline(line);
    p.setPen(QPen(Qt::white, 16, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF{{64, 152}, {96, 216}, {128, 152}});

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2e, 0xcc, 0x71));
    p.drawEllipse(QPointF(164, 184), 14, 14);
    p.setBrush(QColor(0xf1, 0xc4, 0x0f));
    p.drawEllipse(QPointF(204, 184), 14, 14);
    return pixmap;
}

} // namespace

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(drawIcon(size));
    return icon;
}

} // namespace vextor
