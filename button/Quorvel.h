#pragma once
// The remote command button: a small picture button with three faces (normal,
// pressed, disabled) that follows the mouse and the space bar and raises Click.
// Its size is fixed at 18 x 10 pixels whatever the host asks.
//
// The faces are not public properties: a host sets them up once, by calling
// InitProperties for a new instance or ReadProperties to restore a stored one,
// and keeps them with WriteProperties. Until then the faces are unset, and an
// unset face is never shown.

#include <QImage>
#include <QWidget>

namespace tavo {

class PropertyBag;

class Quorvel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)

  public:
    static constexpr int kWidth = 18;
    static constexpr int kHeight = 10;

    explicit Quorvel(QWidget* parent = nullptr);

    // The built-in faces: normal, pressed and disabled.
    static QImage picUp();
    static QImage picDn();
    static QImage picDis();

    // The control's own enabled state (not that of its parents).
    bool Enabled() const;
    // Sets the enabled state, shows the normal or disabled face when it is set,
    // and reports the change with PropertyChanged("Enabled").
    void SetEnabled(bool enabled);

    // A new instance: the faces become the built-in ones.
    void InitProperties();
    // A stored instance: restores the enabled state (without changing the shown
    // face) and the three faces; an entry without a picture gives the built-in face.
    void ReadProperties(const PropertyBag& bag);
    // Stores "Enabled" (left out when true) and the three faces (always).
    void WriteProperties(PropertyBag& bag) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    // A press and release of a mouse button over the control, or of the space bar.
    void Click();
    // A stored property changed; the host marks its stored properties as changed.
    void PropertyChanged(const QString& name);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // Shows face unless it is unset.
    void ShowFace(const QImage& face);

    QImage Picture;
    QImage PictureDown;
    QImage PictureDisabled;
    QImage shown_;
    // A press that its release may turn into a Click.
    bool mouseArmed_ = false;
    bool spaceArmed_ = false;
};

}  // namespace tavo
