// The pointer through QCursor and the window at a point through
// QApplication::widgetAt; a window's identity is its QWidget's address.
#pragma once

#include "platform/Pointer.h"

class QWidget;

namespace korvane::platform::qt {

class QtPointer final : public Pointer {
public:
    ScreenPoint CursorPos() const override;
    WindowId WindowFromPoint(ScreenPoint point) const override;
};

// The identity that QtPointer reports for `widget`.
WindowId IdOf(const QWidget* widget);

}  // namespace korvane::platform::qt
