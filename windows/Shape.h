#pragma once
// A filled shape of the device windows' front-panel pictures (LEDs and the
// routing display). Colours are 0x00BBGGRR values, as the windows name them.

#include <QWidget>
#include <cstdint>

namespace tavo {

class Shape : public QWidget {
    Q_OBJECT

  public:
    enum class Kind { Circle, Rectangle };

    explicit Shape(Kind kind, QWidget* parent = nullptr);

    std::uint32_t FillColor() const { return fillColor_; }
    void SetFillColor(std::uint32_t bgr);

    QSize sizeHint() const override { return {12, 12}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Kind kind_;
    std::uint32_t fillColor_ = 0x808080;
};

// The LED colours of the windows.
inline constexpr std::uint32_t kLedGreen = 0x00FF00;
inline constexpr std::uint32_t kLedGrey = 0x808080;
inline constexpr std::uint32_t kLedBlack = 0x000000;

}  // namespace tavo
