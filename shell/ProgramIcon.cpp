#include "shell/ProgramIcon.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);

    // Bubble with a tail at the lower left.
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(1.5, 2.5, 29, 21), 5, 5);
    QPainterPath tail;
    tail.moveTo(6, 22);
    tail.lineTo(5, 30);
    tail.lineTo(14, 22);
    tail.closeSubpath();
    bubble = bubble.united(tail);
    p.setPen(QPen(QColor(20, 60, 120), 1.5));
    p.setBrush(QColor(70, 130, 210));
    p.drawPath(bubble);

    // "[B]" in white.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(1.5, 2.5, 29, 21), Qt::AlignCenter, QStringLiteral("[B]"));
    return pixmap;
}

} // namespace

QIcon programIcon() {
    static const QIcon icon = [] {
        QIcon i;
        for (int size : {16, 32, 48, 128})
            i.addPixmap(drawIcon(size));
        return i;
    }();
    return icon;
}
