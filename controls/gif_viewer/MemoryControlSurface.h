// A control surface in plain memory, for driving the viewer engine without a
// window (tools, benchmarks, tests). The client area is a 32-bit surface of
// the control's size less its border.
#pragma once

#include <cstdint>

#include "controls/gif_viewer/ControlSurface.h"
#include "imaging/dib/cDIB.h"

namespace korvane::controls {

class MemoryControlSurface final : public ControlSurface {
public:
    MemoryControlSurface(std::int32_t width, std::int32_t height);

    // Changes the control's outer size; the client area starts over in the back colour.
    void SetSize(std::int32_t width, std::int32_t height);
    // The client area's pixels.
    const imaging::cDIB& Client() const { return m_Client; }

    std::int32_t ClientWidth() const override;
    std::int32_t ClientHeight() const override;
    gdi::HDC hDC() const override { return m_Client.hDC(); }
    gdi::OLE_COLOR BackColor() const override { return m_BackColor; }
    void SetBackColor(gdi::OLE_COLOR New_BackColor) override { m_BackColor = New_BackColor; }
    std::int16_t BorderStyle() const override { return m_BorderStyle; }
    void SetBorderStyle(std::int16_t New_BorderStyle) override;
    bool Enabled() const override { return m_Enabled; }
    void SetEnabled(bool New_Enabled) override { m_Enabled = New_Enabled; }
    // Nothing is shown: Client() is always current.
    void Refresh() override {}

private:
    void CreateClient();

    std::int32_t m_Width;
    std::int32_t m_Height;
    gdi::OLE_COLOR m_BackColor = 0x8000000F;
    std::int16_t m_BorderStyle = 0;
    bool m_Enabled = true;
    imaging::cDIB m_Client;
};

}  // namespace korvane::controls
