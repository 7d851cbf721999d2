#include "config/QtMousePointer.h"

#include <QApplication>
#include <QCursor>
#include <QVariant>
#include <QWidget>
#include <array>
#include <utility>

namespace tavo {

namespace {

// The numbered pointers that have a Qt shape.
constexpr std::array<std::pair<std::int16_t, Qt::CursorShape>, 14> kShapes{{
    {1, Qt::ArrowCursor},
    {2, Qt::CrossCursor},
    {3, Qt::IBeamCursor},
    {5, Qt::SizeAllCursor},
    {6, Qt::SizeBDiagCursor},
    {7, Qt::SizeVerCursor},
    {8, Qt::SizeFDiagCursor},
    {9, Qt::SizeHorCursor},
    {10, Qt::UpArrowCursor},
    {kHourglassPointer, Qt::WaitCursor},
    {12, Qt::ForbiddenCursor},
    {13, Qt::BusyCursor},
    {14, Qt::WhatsThisCursor},
    {15, Qt::SizeAllCursor},
}};

// The number last set, kept with the widget: a window whose cursor was unset
// still reports the arrow, so the shape alone cannot tell 0 from 1.
constexpr const char* kPointerProperty = "tavoMousePointer";

}  // namespace

std::int16_t WidgetMousePointer(const QWidget& widget) {
    const QVariant stored = widget.property(kPointerProperty);
    if (stored.isValid()) return static_cast<std::int16_t>(stored.toInt());
    if (!widget.testAttribute(Qt::WA_SetCursor) || widget.isWindow()) return kDefaultPointer;
    const Qt::CursorShape shape = widget.cursor().shape();
    for (const auto& [number, s] : kShapes)
        if (s == shape) return number;
    return kDefaultPointer;
}

void SetWidgetMousePointer(QWidget& widget, std::int16_t pointer) {
    if (pointer == kDefaultPointer) {
        widget.unsetCursor();
        widget.setProperty(kPointerProperty, int{kDefaultPointer});
        return;
    }
    for (const auto& [number, shape] : kShapes) {
        if (number == pointer) {
            widget.setCursor(shape);
            widget.setProperty(kPointerProperty, int{pointer});
            return;
        }
    }
}

bool QtMousePointerHost::HasActiveWindow() const { return QApplication::activeWindow() != nullptr; }

std::int16_t QtMousePointerHost::MousePointer() const {
    QWidget* window = QApplication::activeWindow();
    return window ? WidgetMousePointer(*window) : std::int16_t{-1};
}

void QtMousePointerHost::SetMousePointer(std::int16_t pointer) {
    if (QWidget* window = QApplication::activeWindow()) SetWidgetMousePointer(*window, pointer);
}

}  // namespace tavo
