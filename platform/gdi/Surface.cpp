#include "platform/gdi/Surface.h"

#include <algorithm>
#include <new>

#include "platform/gdi/PixelBlocks.h"

namespace korvane::gdi {

bool IsSupportedDepth(int bpp)
{
    return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

std::int64_t RowBytes(std::int64_t width, int bpp)
{
    return (width * bpp + 31) / 32 * 4;
}

void Surface::FreeWords::operator()(std::uint32_t* words) const
{
    FreePixelBlock(words, bytes);
}

std::shared_ptr<Surface> Surface::Make(int width, int height, int bpp, bool topDown, bool zeroed,
                                       std::span<const RGBQUAD> colours)
{
    if (width < 1 || height < 1 || !IsSupportedDepth(bpp)) return nullptr;
    const std::int64_t stride = RowBytes(width, bpp);
    const std::int64_t bytes = stride * height;
    if (bytes > MaxPixelBytes) return nullptr;
    std::shared_ptr<Surface> surface;
    try {
        surface = std::make_shared<Surface>(MadeByMake{});
        surface->m_words = {AllocatePixelBlock(static_cast<std::size_t>(bytes), zeroed),
                            FreeWords{static_cast<std::size_t>(bytes)}};
        // Filled from `colours` directly: a frame's table is not cleared first.
        const std::size_t count = bpp <= 8 ? std::size_t{1} << bpp : 0;
        surface->colours.entries.reserve(count);
        surface->colours.entries.assign(colours.begin(), colours.begin() + std::min(colours.size(), count));
        surface->colours.entries.resize(count);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (!surface->m_words) return nullptr;
    surface->m_width = width;
    surface->m_height = height;
    surface->m_bpp = bpp;
    surface->m_topDown = topDown;
    surface->m_stride = static_cast<std::size_t>(stride);
    surface->colours.count = bpp <= 8 ? 1u << bpp : 0u;
    return surface;
}

}  // namespace korvane::gdi
