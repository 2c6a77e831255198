// One row of a frame's 1-bit mask from its 8-bit indices.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvane::imaging {

// Rows of 8-bit indices and the 1-bit mask rows made of them.
struct MaskRows {
    const std::uint8_t* Indices;
    std::ptrdiff_t IndexStride;
    std::uint8_t* Mask;
    std::ptrdiff_t MaskStride;
    std::int32_t Width;
    std::int32_t Count;
    // Bytes that may be read from Indices on, at least up to the last row's end.
    std::int64_t Readable;
};

// Sets each mask row's bit 1 (leftmost pixel in the top bit of the first
// byte) where the index is t and 0 elsewhere, past the width too, up to the
// next multiple of four bytes: mask rows with their padding. Bytes past a row
// (its padding, the next rows) are read where there are enough to compare a
// whole block, and ignored.
void PackMaskRows(const MaskRows& rows, std::uint8_t t);

// The ways of making one row, apart so that each can be tested wherever it
// runs; `readable` bytes from `indices` may be read, at least the width.
namespace mask_row {
// SSE2 where the compiler targets it, eight-byte words otherwise.
void Portable(const std::uint8_t* indices, std::uint8_t* mask, std::int32_t width, std::uint8_t t,
              std::int64_t readable);
// True when the processor runs Avx2, which PackMaskRows then takes.
bool HaveAvx2();
void Avx2(const std::uint8_t* indices, std::uint8_t* mask, std::int32_t width, std::uint8_t t, std::int64_t readable);
}  // namespace mask_row

}  // namespace korvane::imaging
