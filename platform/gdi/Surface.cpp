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
    // The frames of an animation mostly hold a few palettes (one palette with
    // a few transparent entries blackened): a table recently made of this
    // size is shared when it holds the same colours.
    using Recent = std::array<std::shared_ptr<const std::vector<RGBQUAD>>, 8>;  // the latest first
    thread_local std::array<Recent, 9> t_RecentlyMade;                          // by bits per pixel
    Recent& recent = t_RecentlyMade[static_cast<std::size_t>(std::countr_zero(count))];
    const auto same = std::find_if(recent.begin(), recent.end(), [&](const auto& table) {
        return table && table->size() == count &&
               std::memcmp(table->data(), entries.data(), count * sizeof(RGBQUAD)) == 0;
    });
    if (same == recent.end()) {
        std::move_backward(recent.begin(), recent.end() - 1, recent.end());
        recent.front() = std::make_shared<const std::vector<RGBQUAD>>(entries.begin(), entries.begin() + count);
    } else {
        std::rotate(recent.begin(), same, same + 1);
    }
    m_entries = recent.front();
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
