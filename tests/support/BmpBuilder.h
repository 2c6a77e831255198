// Bitmap files built field by field, for the tests of the bitmap file reader
// and of the surfaces loaded from one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gdi/GdiTypes.h"

namespace korvane::test_support {

// A bitmap file built field by field, so each test states what it varies.
struct BmpRecipe {
    std::int32_t width = 3;
    std::int32_t height = 2;  // negative: top-down
    std::uint16_t bpp = 8;
    std::uint32_t compression = 0;
    std::uint32_t infoBytes = 40;
    std::uint16_t planes = 1;
    std::uint32_t coloursUsed = 0;
    std::vector<gdi::RGBQUAD> table;
    std::vector<std::uint32_t> masks;  // written after a 40-byte header, inside a longer one
    std::vector<std::uint8_t> pixels;  // file order; default: byte i holds i
    std::int64_t pixelOffsetDelta = 0;
    std::size_t cut = 0;  // bytes removed from the end
    char magic[2] = {'B', 'M'};
};

// The bytes of the pixel rows `s` describes, padding included.
std::size_t PixelBytes(const BmpRecipe& s);
std::vector<std::uint8_t> BuildBmp(BmpRecipe s);

}  // namespace korvane::test_support
