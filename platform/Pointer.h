// The mouse pointer and the window that lies under it.
#pragma once

#include <cstdint>

namespace korvane::platform {

struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(ScreenPoint, ScreenPoint) = default;
};

// A window's identity; 0 is no window.
using WindowId = std::uintptr_t;

class Pointer {
public:
    virtual ~Pointer() = default;
    virtual ScreenPoint CursorPos() const = 0;
    // The topmost window accepting mouse input at `point`, 0 for none.
    virtual WindowId WindowFromPoint(ScreenPoint point) const = 0;
};

}  // namespace korvane::platform
