#pragma once
// Helpers for checking what a button shows.

#include <QImage>
#include <QWidget>

namespace tavo::test {

// The control's rendered surface.
inline QImage Shown(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

inline bool SameFace(const QImage& a, const QImage& b) {
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

// A plain face of one colour, told apart from every built-in face.
inline QImage Solid(QRgb colour) {
    QImage face(18, 10, QImage::Format_RGB888);
    face.fill(QColor::fromRgb(colour));
    return face;
}

}  // namespace tavo::test
