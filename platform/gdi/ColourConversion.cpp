#include "platform/gdi/ColourConversion.h"

namespace korvane::gdi {

unsigned NearestIndex(const ColourTable& table, std::uint32_t colour)
{
    const int r = static_cast<int>((colour >> 16) & 0xFF), g = static_cast<int>((colour >> 8) & 0xFF),
              b = static_cast<int>(colour & 0xFF);
    unsigned best = 0;
    int bestDistance = 0x7FFFFFFF;
    for (unsigned i = 0; i < table.Count(); ++i) {
        const RGBQUAD& e = table[i];
        const int dr = e.rgbRed - r, dg = e.rgbGreen - g, db = e.rgbBlue - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
            if (distance == 0) break;
        }
    }
    return best;
}

std::uint32_t PixelValueFor(int bpp, const ColourTable& table, std::uint32_t colour)
{
    if (bpp <= 8) return NearestIndex(table, colour);
    if (bpp == 16) return Pack555(colour);
    return colour;
}

unsigned ColourMatcher::Index(std::uint32_t colour)
{
    Entry& e = m_cache[(colour ^ (colour >> 12) ^ (colour >> 20)) % CacheSize];
    if (e.colour != colour) {
        e.colour = colour;
        e.index = NearestIndex(m_table, colour);
    }
    return e.index;
}

}  // namespace korvane::gdi
