#include "platform/qt/QtPointer.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

namespace korvane::platform::qt {

ScreenPoint QtPointer::CursorPos() const
{
    const QPoint pos = QCursor::pos();
    return {pos.x(), pos.y()};
}

WindowId QtPointer::WindowFromPoint(ScreenPoint point) const
{
    return IdOf(QApplication::widgetAt(point.x, point.y));
}

WindowId IdOf(const QWidget* widget)
{
    return reinterpret_cast<WindowId>(widget);
}

}  // namespace korvane::platform::qt
