#include "windows/Shape.h"

#include <QPainter>

namespace tavo {

Shape::Shape(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) { setFixedSize(sizeHint()); }

void Shape::SetFillColor(std::uint32_t bgr) {
    if (fillColor_ == bgr) return;
    fillColor_ = bgr;
    update();
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor fill(static_cast<int>(fillColor_ & 0xFF), static_cast<int>((fillColor_ >> 8) & 0xFF),
                      static_cast<int>((fillColor_ >> 16) & 0xFF));
    p.setPen(Qt::black);
    p.setBrush(fill);
    const QRect r = rect().adjusted(1, 1, -1, -1);
    if (kind_ == Kind::Circle)
        p.drawEllipse(r);
    else
        p.drawRect(r);
}

}  // namespace tavo
