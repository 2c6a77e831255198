#include "controls/gif_viewer/MemoryControlSurface.h"

#include <algorithm>

namespace korvane::controls {

MemoryControlSurface::MemoryControlSurface(std::int32_t width, std::int32_t height) : m_Width(width), m_Height(height)
{
    CreateClient();
}

void MemoryControlSurface::SetSize(std::int32_t width, std::int32_t height)
{
    m_Width = width;
    m_Height = height;
    CreateClient();
}

std::int32_t MemoryControlSurface::ClientWidth() const
{
    return std::max(0, m_Width - 2 * m_BorderStyle);
}

std::int32_t MemoryControlSurface::ClientHeight() const
{
    return std::max(0, m_Height - 2 * m_BorderStyle);
}

void MemoryControlSurface::SetBorderStyle(std::int16_t New_BorderStyle)
{
    m_BorderStyle = New_BorderStyle;
    CreateClient();
}

void MemoryControlSurface::CreateClient()
{
    // An empty client area (Create fails) leaves no drawing context: drawing into it does nothing.
    if (m_Client.Create(ClientWidth(), ClientHeight(), 32)) m_Client.Cls(m_BackColor);
}

}  // namespace korvane::controls
