#include "button/Quorvel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include "button/PropertyBag.h"

namespace tavo {

namespace {

// Declared defaults of the stored faces. They name files that are never read:
// an entry without a picture gives the built-in face instead.
const QString kPictureDefault = QStringLiteral("remote_button_up.bmp");
const QString kPictureDownDefault = QStringLiteral("remote_button_dn.bmp");
const QString kPictureDisabledDefault = QStringLiteral("remote_button_dis.bmp");

// A one-pixel frame with dark corners around an inner area.
QImage MakeFace(QRgb topLeft, QRgb bottomRight, QRgb inner) {
    const int w = Quorvel::kWidth;
    const int h = Quorvel::kHeight;
    QImage face(w, h, QImage::Format_RGB888);
    face.fill(QColor::fromRgb(inner));
    for (int x = 0; x < w; ++x) {
        face.setPixel(x, 0, topLeft);
        face.setPixel(x, h - 1, bottomRight);
    }
    for (int y = 0; y < h; ++y) {
        face.setPixel(0, y, topLeft);
        face.setPixel(w - 1, y, bottomRight);
    }
    const QRgb corner = qRgb(0x40, 0x40, 0x40);
    face.setPixel(0, 0, corner);
    face.setPixel(w - 1, 0, corner);
    face.setPixel(0, h - 1, corner);
    face.setPixel(w - 1, h - 1, corner);
    return face;
}

const QRgb kLight = qRgb(0xC0, 0xC0, 0xC0);
const QRgb kShadow = qRgb(0x80, 0x80, 0x80);
const QRgb kBlack = qRgb(0x00, 0x00, 0x00);

QImage ReadFace(const PropertyBag& bag, const QString& name, const QString& defaultValue,
                const QImage& builtIn) {
    const QVariant v = bag.ReadProperty(name, defaultValue);
    if (v.metaType() == QMetaType::fromType<QImage>()) {
        QImage face = v.value<QImage>();
        if (!face.isNull()) return face;
    }
    return builtIn;
}

}  // namespace

Quorvel::Quorvel(QWidget* parent) : QWidget(parent), shown_(picUp()) {
    setFixedSize(kWidth, kHeight);
    setFocusPolicy(Qt::StrongFocus);
}

QImage Quorvel::picUp() { return MakeFace(kLight, kShadow, kBlack); }
QImage Quorvel::picDn() { return MakeFace(kShadow, kLight, kBlack); }
QImage Quorvel::picDis() { return MakeFace(kLight, kBlack, kShadow); }

bool Quorvel::Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }

void Quorvel::SetEnabled(bool enabled) {
    setEnabled(enabled);
    ShowFace(enabled ? Picture : PictureDisabled);
    emit PropertyChanged(QStringLiteral("Enabled"));
}

void Quorvel::InitProperties() {
    Picture = picUp();
    PictureDown = picDn();
    PictureDisabled = picDis();
}

void Quorvel::ReadProperties(const PropertyBag& bag) {
    const QVariant enabled = bag.ReadProperty(QStringLiteral("Enabled"), true);
    // Only a stored boolean counts; anything else leaves the declared default.
    setEnabled(enabled.metaType() == QMetaType::fromType<bool>() ? enabled.toBool() : true);
    Picture = ReadFace(bag, QStringLiteral("Picture"), kPictureDefault, picUp());
    PictureDown = ReadFace(bag, QStringLiteral("PictureDown"), kPictureDownDefault, picDn());
    PictureDisabled = ReadFace(bag, QStringLiteral("PictureDisabled"), kPictureDisabledDefault, picDis());
}

void Quorvel::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("Enabled"), Enabled(), true);
    bag.WriteProperty(QStringLiteral("Picture"), Picture, kPictureDefault);
    bag.WriteProperty(QStringLiteral("PictureDown"), PictureDown, kPictureDownDefault);
    bag.WriteProperty(QStringLiteral("PictureDisabled"), PictureDisabled, kPictureDisabledDefault);
}

QSize Quorvel::sizeHint() const { return QSize(kWidth, kHeight); }
QSize Quorvel::minimumSizeHint() const { return sizeHint(); }

void Quorvel::ShowFace(const QImage& face) {
    if (face.isNull()) return;
    shown_ = face;
    update();
}

void Quorvel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, shown_);
}

void Quorvel::mousePressEvent(QMouseEvent*) {
    mouseArmed_ = true;
    ShowFace(PictureDown);
}

void Quorvel::mouseReleaseEvent(QMouseEvent* event) {
    ShowFace(Picture);
    // One Click per gesture: when the last held button comes up over the control.
    if (!mouseArmed_ || event->buttons() != Qt::NoButton) return;
    mouseArmed_ = false;
    if (rect().contains(event->position().toPoint())) emit Click();
}

void Quorvel::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space) {
        QWidget::keyPressEvent(event);
        return;
    }
    spaceArmed_ = true;
    ShowFace(PictureDown);
}

void Quorvel::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    // A held space bar repeats press and release; only the real release counts.
    if (event->isAutoRepeat()) return;
    ShowFace(Picture);
    if (!spaceArmed_) return;
    spaceArmed_ = false;
    emit Click();
}

void Quorvel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A host may have lifted the fixed size; put it back.
    if (size() != QSize(kWidth, kHeight)) setFixedSize(kWidth, kHeight);
}

void Quorvel::changeEvent(QEvent* event) {
    // No events reach a disabled control, so a pending press can never complete.
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        mouseArmed_ = false;
        spaceArmed_ = false;
    }
    QWidget::changeEvent(event);
}

}  // namespace tavo
