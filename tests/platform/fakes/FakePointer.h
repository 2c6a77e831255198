// A pointer the test places, over a window the test names.
#pragma once

#include "platform/Pointer.h"

namespace korvane::platform::fakes {

class FakePointer final : public Pointer {
public:
    ScreenPoint CursorPos() const override { return position; }
    WindowId WindowFromPoint(ScreenPoint) const override { return windowUnderPointer; }

    ScreenPoint position;
    WindowId windowUnderPointer = 0;
};

}  // namespace korvane::platform::fakes
