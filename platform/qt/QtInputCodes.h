// Qt's mouse buttons and modifiers as the controls' event arguments carry them.
#pragma once

#include <cstdint>

#include <Qt>

namespace korvane::platform::qt {

// Button: 1 left, 2 right, 4 middle.
std::int16_t ButtonCode(Qt::MouseButtons buttons);
// Shift: 1 shift, 2 control, 4 alt.
std::int16_t ShiftCode(Qt::KeyboardModifiers modifiers);

}  // namespace korvane::platform::qt
