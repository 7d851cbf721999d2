#pragma once
// Mouse pointers by their numbers (0 the default, 11 the hourglass), as the
// windows and clsComPort set them, on Qt widgets; and the pointer host that
// answers for the application's active window.

#include <cstdint>

#include "link/UiHooks.h"

class QWidget;

namespace tavo {

constexpr std::int16_t kDefaultPointer = 0;

// The number of the pointer the widget shows, however it was set: 0 for its
// parent's or the default pointer (the arrow included), a shape without a
// number as 0, and a shape two numbers share as the lower (15 reads as 5).
std::int16_t WidgetMousePointer(const QWidget& widget);
// 0 goes back to the default pointer; an unknown number is ignored.
void SetWidgetMousePointer(QWidget& widget, std::int16_t pointer);

// The pointer of QApplication::activeWindow(); -1 when no window is active.
class QtMousePointerHost : public IMousePointerHost {
  public:
    bool HasActiveWindow() const override;
    std::int16_t MousePointer() const override;
    void SetMousePointer(std::int16_t pointer) override;
};

}  // namespace tavo
