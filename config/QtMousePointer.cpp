#include "config/QtMousePointer.h"

#include <QApplication>
#include <QCursor>
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

}  // namespace

std::int16_t WidgetMousePointer(const QWidget& widget) {
    // Read from the cursor the widget shows, whoever set it. A window keeps
    // WA_SetCursor after unsetCursor and then shows the arrow: that is its default.
    if (!widget.testAttribute(Qt::WA_SetCursor)) return kDefaultPointer;
    const Qt::CursorShape shape = widget.cursor().shape();
    if (shape == Qt::ArrowCursor) return kDefaultPointer;
    for (const auto& [number, s] : kShapes)
        if (s == shape) return number;
    return kDefaultPointer;
}

void SetWidgetMousePointer(QWidget& widget, std::int16_t pointer) {
    if (pointer == kDefaultPointer) {
        widget.unsetCursor();
        return;
    }
    for (const auto& [number, shape] : kShapes) {
        if (number == pointer) {
            widget.setCursor(shape);
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
