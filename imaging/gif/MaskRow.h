// One row of a frame's 1-bit mask from its 8-bit indices.
#pragma once

#include <cstdint>

namespace korvane::imaging {

// Sets bit 1 (leftmost pixel in the top bit of the first byte) where the
// index is t and 0 elsewhere, past the width too, up to the next multiple of
// four bytes: a mask row with its padding. `readable` bytes from `indices`
// may be read, at least the width: bytes past the row (its padding, the next
// rows) are read where there are enough to compare a whole block, and ignored.
void PackMaskRow(const std::uint8_t* indices, std::uint8_t* mask, std::int32_t width, std::uint8_t t,
                 std::int64_t readable);

// The ways PackMaskRow has, apart so that each can be tested wherever it runs.
namespace mask_row {
// SSE2 where the compiler targets it, eight-byte words otherwise.
void Portable(const std::uint8_t* indices, std::uint8_t* mask, std::int32_t width, std::uint8_t t,
              std::int64_t readable);
// True when the processor runs Avx2, which PackMaskRow then takes.
bool HaveAvx2();
void Avx2(const std::uint8_t* indices, std::uint8_t* mask, std::int32_t width, std::uint8_t t, std::int64_t readable);
}  // namespace mask_row

}  // namespace korvane::imaging
