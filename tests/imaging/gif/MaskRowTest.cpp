// Each way of packing a mask row against a pixel-by-pixel packing, reading
// exactly the row or well past it.
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/gif/MaskRow.h"

namespace korvane::imaging {
namespace {

using Packer = void (*)(const std::uint8_t*, std::uint8_t*, std::int32_t, std::uint8_t, std::int64_t);

std::vector<std::uint8_t> Expected(const std::vector<std::uint8_t>& indices, std::int32_t width, std::uint8_t t)
{
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(width + 7) / 8, 0);
    for (std::int32_t x = 0; x < width; ++x) {
        if (indices[static_cast<std::size_t>(x)] == t) mask[static_cast<std::size_t>(x / 8)] |= 0x80 >> (x % 8);
    }
    return mask;
}

void CheckPacker(Packer pack)
{
    constexpr std::uint8_t kCanary = 0xC3;
    std::mt19937 random(7);
    for (std::int32_t width = 1; width <= 70; ++width) {
        for (const std::int64_t spare : {0, 40}) {
            for (const std::uint8_t t : {0, 5}) {
                // Bytes past the width match t too, so reading them must not show.
                std::vector<std::uint8_t> indices(static_cast<std::size_t>(width + spare), t);
                for (std::int32_t x = 0; x < width; ++x)
                    indices[static_cast<std::size_t>(x)] = random() % 3 == 0 ? t : static_cast<std::uint8_t>(9);
                // The row with its padding to four bytes, then bytes that stay.
                const std::size_t rowBytes = static_cast<std::size_t>(width + 31) / 32 * 4;
                std::vector<std::uint8_t> mask(rowBytes + 4, kCanary);
                pack(indices.data(), mask.data(), width, t, width + spare);
                std::vector<std::uint8_t> expected = Expected(indices, width, t);
                expected.resize(rowBytes, 0);
                expected.insert(expected.end(), 4, kCanary);
                ASSERT_EQ(mask, expected) << "width " << width << " spare " << spare << " index " << int{t};
            }
        }
    }
}

TEST(MaskRow, PortableMatchesPixelByPixel)
{
    CheckPacker(mask_row::Portable);
}

TEST(MaskRow, Avx2MatchesPixelByPixel)
{
    if (!mask_row::HaveAvx2()) GTEST_SKIP() << "no AVX2 here";
    CheckPacker(mask_row::Avx2);
}

}  // namespace
}  // namespace korvane::imaging
