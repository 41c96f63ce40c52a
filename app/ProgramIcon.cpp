#include "app/ProgramIcon.h"

#include <QPainter>

// Drawn on a grid of 16 units (packaging/konfidor.svg is the same drawing).
QPixmap programIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 16.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1F, 0x4E, 0x8C));
    painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1.0, size - 1.0), 3 * unit, 3 * unit);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(2 * unit, 5 * unit, 4 * unit, 6 * unit));
    painter.drawRect(QRectF(10 * unit, 5 * unit, 4 * unit, 6 * unit));
    painter.setPen(QPen(QColor(0xF2, 0xB1, 0x34), 1.5 * unit));
    painter.drawLine(QPointF(6 * unit, 8 * unit), QPointF(10 * unit, 8 * unit));
    painter.end();
    return pixmap;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48})
        icon.addPixmap(programIconPixmap(size));
    return icon;
}
