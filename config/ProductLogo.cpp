#include "config/ProductLogo.h"

#include <QColor>
#include <QPainter>

namespace tavo {

QPixmap ProductLogo() {
    // Eight lines into one device: the relay controller's outputs, the
    // switch's inputs.
    QPixmap logo(48, 48);
    logo.fill(QColor(0x00, 0x33, 0x66));
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 2));
    for (int i = 0; i < 8; ++i) p.drawLine(4, 6 + i * 5, 20, 24);
    p.setBrush(QColor(0x33, 0x99, 0x33));
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    p.drawRoundedRect(20, 14, 24, 20, 3, 3);
    p.setBrush(QColor(0xFF, 0x33, 0x33));
    p.drawEllipse(QPointF(38, 19), 2.5, 2.5);
    return logo;
}

}  // namespace tavo
