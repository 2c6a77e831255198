#include "tests/support/BmpBuilder.h"

#include <algorithm>

namespace korvane::test_support {
namespace {

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

std::size_t PixelBytes(const BmpRecipe& s)
{
    const std::int64_t rows = s.height < 0 ? -std::int64_t{s.height} : s.height;
    return static_cast<std::size_t>(((std::int64_t{s.width} * s.bpp + 31) / 32) * 4 * rows);
}

std::vector<std::uint8_t> BuildBmp(BmpRecipe s)
{
    const bool masksAfterHeader = s.infoBytes == 40 && !s.masks.empty();
    const std::size_t headerBytes = std::min<std::size_t>(s.infoBytes, 124);  // the file never holds more
    const std::size_t tableAt = 14 + headerBytes + (masksAfterHeader ? 12 : 0);
    const std::size_t pixelsAt = tableAt + 4 * s.table.size();
    if (s.pixels.empty()) {
        s.pixels.resize(PixelBytes(s) < 4096 ? PixelBytes(s) : 0);
        for (std::size_t i = 0; i < s.pixels.size(); ++i)
            s.pixels[i] = static_cast<std::uint8_t>(i);
    }
    std::vector<std::uint8_t> b(pixelsAt + s.pixels.size());
    b[0] = static_cast<std::uint8_t>(s.magic[0]);
    b[1] = static_cast<std::uint8_t>(s.magic[1]);
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    Put32(b, 10, static_cast<std::uint32_t>(static_cast<std::int64_t>(pixelsAt) + s.pixelOffsetDelta));
    Put32(b, 14, s.infoBytes);
    Put32(b, 18, static_cast<std::uint32_t>(s.width));
    Put32(b, 22, static_cast<std::uint32_t>(s.height));
    b[26] = static_cast<std::uint8_t>(s.planes);
    b[28] = static_cast<std::uint8_t>(s.bpp);
    Put32(b, 30, s.compression);
    Put32(b, 46, s.coloursUsed);
    for (std::size_t i = 0; i < s.masks.size(); ++i)
        Put32(b, 54 + 4 * i, s.masks[i]);
    for (std::size_t i = 0; i < s.table.size(); ++i) {
        b[tableAt + 4 * i] = s.table[i].rgbBlue;
        b[tableAt + 4 * i + 1] = s.table[i].rgbGreen;
        b[tableAt + 4 * i + 2] = s.table[i].rgbRed;
    }
    std::copy(s.pixels.begin(), s.pixels.end(), b.begin() + static_cast<std::ptrdiff_t>(pixelsAt));
    b.resize(b.size() - s.cut);
    return b;
}

}  // namespace korvane::test_support
