#include "controls/WindowIcon.h"

#include <QPainter>
#include <QPixmap>

namespace {

void paintCart(QPainter& painter)
{
    // Cart body with its notched top edge.
    painter.setPen(QColor(0, 0, 0));
    painter.setBrush(QColor(128, 128, 128));
    painter.drawRect(4, 6, 23, 23);
    painter.fillRect(4, 4, 18, 3, QColor(128, 128, 128));
    painter.drawLine(4, 4, 21, 4);
    // Label.
    painter.setBrush(QColor(0, 0, 128));
    painter.drawRect(8, 9, 15, 11);
    painter.fillRect(10, 12, 11, 2, QColor(255, 255, 0));
    painter.fillRect(10, 16, 7, 2, QColor(0, 255, 255));
    // Contacts.
    for (int x = 8; x < 24; x += 3)
        painter.fillRect(x, 24, 2, 5, QColor(255, 255, 0));
    // A flash, for what Vellmore does to it.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 0, 0));
    const QPoint bolt[] = {{26, 0}, {31, 0}, {28, 5}, {31, 5}, {24, 14}, {26, 7}, {23, 7}};
    painter.drawPolygon(bolt, 7);
}

} // namespace

QPixmap drawVellmoreIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, size % 32 != 0);
    painter.scale(size / 32.0, size / 32.0);
    paintCart(painter);
    painter.end();
    return pixmap;
}

QIcon vellmoreIcon()
{
    static const QIcon icon = [] {
        QIcon drawn;
        // Drawn at each density a screen may have, so that it stays sharp at 150% and 200%.
        for (const int size : {32, 48, 64})
            drawn.addPixmap(drawVellmoreIcon(size));
        return drawn;
    }();
    return icon;
}
