// Conversions between colours and pixel values. Inside the platform a colour
// is the 32-bit pixel value 0x00RRGGBB; a pixel value is what a surface of a
// given depth stores (an index, a 5-5-5 word, or the colour itself).
#pragma once

#include <array>
#include <cstdint>

#include "platform/gdi/Surface.h"

namespace korvane::gdi {

constexpr std::uint32_t ColourOf(RGBQUAD q)
{
    return (std::uint32_t{q.rgbRed} << 16) | (std::uint32_t{q.rgbGreen} << 8) | q.rgbBlue;
}

constexpr std::uint32_t ColourOf(COLORREF c)
{
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

constexpr std::uint32_t Pack555(std::uint32_t colour)
{
    return ((colour >> 9) & 0x7C00u) | ((colour >> 6) & 0x03E0u) | ((colour >> 3) & 0x001Fu);
}

// Widens each 5-bit channel so that 31 becomes 255 and 0 stays 0.
constexpr std::uint32_t Unpack555(std::uint32_t v)
{
    const std::uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
    return (((r << 3) | (r >> 2)) << 16) | (((g << 3) | (g >> 2)) << 8) | ((b << 3) | (b >> 2));
}

// The entry equal to the colour, else the nearest by squared RGB distance;
// the lowest index wins ties.
unsigned NearestIndex(const ColourTable& table, std::uint32_t colour);

// The pixel value a surface of depth `bpp` with `table` stores for `colour`.
std::uint32_t PixelValueFor(int bpp, const ColourTable& table, std::uint32_t colour);

// NearestIndex for many pixels: remembers recent answers so photographs do
// not cost a table search per pixel.
class ColourMatcher {
public:
    explicit ColourMatcher(const ColourTable& table) : m_table(table) {}
    unsigned Index(std::uint32_t colour);

private:
    static constexpr std::size_t CacheSize = 4096;
    struct Entry {
        std::uint32_t colour = 0xFFFFFFFFu;  // never a colour: the top byte is always 0
        std::uint32_t index = 0;
    };
    const ColourTable& m_table;
    std::array<Entry, CacheSize> m_cache{};
};

}  // namespace korvane::gdi
