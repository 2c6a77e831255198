#include "platform/gdi/Surface.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
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

ColourTable::ColourTable(unsigned count, std::span<const RGBQUAD> first)
{
    if (count == 0) return;
    std::array<RGBQUAD, 256> entries;  // NOLINT(cppcoreguidelines-pro-type-member-init): the first count are set
    count = std::min<unsigned>(count, entries.size());
    const std::size_t given = std::min<std::size_t>(first.size(), count);
    std::copy_n(first.begin(), given, entries.begin());
    std::fill(entries.begin() + static_cast<std::ptrdiff_t>(given), entries.begin() + count, RGBQUAD{});
    // The frames of an animation mostly hold one palette: the table last made
    // of this size is shared when it holds the same colours.
    thread_local std::array<std::shared_ptr<const std::vector<RGBQUAD>>, 9> t_LastMade;  // by bits per pixel
    auto& last = t_LastMade[static_cast<std::size_t>(std::countr_zero(count))];
    if (!last || last->size() != count || std::memcmp(last->data(), entries.data(), count * sizeof(RGBQUAD)) != 0) {
        last = std::make_shared<const std::vector<RGBQUAD>>(entries.begin(), entries.begin() + count);
    }
    m_entries = last;
}

void ColourTable::Replace(unsigned start, std::span<const RGBQUAD> entries)
{
    if (start >= Count()) return;
    auto replaced = std::make_shared<std::vector<RGBQUAD>>(*m_entries);
    const std::size_t n = std::min<std::size_t>(entries.size(), replaced->size() - start);
    std::copy_n(entries.begin(), n, replaced->begin() + start);
    m_entries = std::move(replaced);
}

bool operator==(const ColourTable& a, const ColourTable& b)
{
    if (a.m_entries == b.m_entries) return true;
    const std::span<const RGBQUAD> x = a.Entries(), y = b.Entries();
    return x.size() == y.size() && (x.empty() || std::memcmp(x.data(), y.data(), x.size_bytes()) == 0);
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
        surface->colours = ColourTable(bpp <= 8 ? 1u << bpp : 0u, colours);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (!surface->m_words) return nullptr;
    surface->m_width = width;
    surface->m_height = height;
    surface->m_bpp = bpp;
    surface->m_topDown = topDown;
    surface->m_stride = static_cast<std::size_t>(stride);
    return surface;
}

}  // namespace korvane::gdi
