// What the viewer needs of the window surface it lives on. The surface keeps
// what is drawn into it between paints: margins and picture stay until they
// are drawn again, so the viewer only draws when something changed.
#pragma once

#include <cstdint>

#include "platform/gdi/gdi.h"

namespace korvane::controls {

class ControlSurface {
public:
    virtual ~ControlSurface() = default;

    // Size of the client area in pixels (inside any border).
    virtual std::int32_t ClientWidth() const = 0;
    virtual std::int32_t ClientHeight() const = 0;
    // A 32-bit drawing context of the client area's size; none while the area is empty.
    virtual gdi::HDC hDC() const = 0;

    virtual gdi::OLE_COLOR BackColor() const = 0;
    virtual void SetBackColor(gdi::OLE_COLOR New_BackColor) = 0;
    // 0 no border, 1 single line. A border takes room from the client area.
    virtual std::int16_t BorderStyle() const = 0;
    virtual void SetBorderStyle(std::int16_t New_BorderStyle) = 0;
    // A disabled surface receives no mouse or keyboard input.
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool New_Enabled) = 0;

    // Asks for the drawing to reach the screen.
    virtual void Refresh() = 0;
};

}  // namespace korvane::controls
